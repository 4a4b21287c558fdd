#include "Launch.h"

#include "SampleLog.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <map>
#include <stdexcept>
#include <thread>

extern char **environ;

namespace morvex::bench {

namespace {

    long long monotonicNs()
    {
        timespec now {};
        clock_gettime(CLOCK_MONOTONIC, &now);
        return (long long)now.tv_sec * 1000000000LL + now.tv_nsec;
    }

    std::vector<std::string> probeEnvironment(const LaunchOptions &options, const std::string &report)
    {
        std::map<std::string, std::string> env;
        for (char **e = environ; *e; ++e) {
            const char *eq = std::strchr(*e, '=');
            if (eq)
                env[std::string(*e, std::size_t(eq - *e))] = eq + 1;
        }
        const auto path = env.find("QT_PLUGIN_PATH");
        env["QT_PLUGIN_PATH"]
            = options.probeDir + (path != env.end() && !path->second.empty() ? ":" + path->second : "");
        env["QT_QPA_GENERIC_PLUGINS"]
            = "morvexpaintprobe:" + report + (options.windowClass.empty() ? "" : ";" + options.windowClass);
        if (env.find("QT_QPA_PLATFORM") == env.end())
            env["QT_QPA_PLATFORM"] = "offscreen";
        std::vector<std::string> out;
        for (const auto &[name, value] : env)
            out.push_back(name + "=" + value);
        return out;
    }

    struct Outcome
    {
        bool painted = false;
        double startupMs = 0;
        double initMs = 0;
        double peakMiB = 0;
        std::string problem;
    };

    Outcome runOnce(const LaunchOptions &options, int run)
    {
        const std::string report
            = options.scratchDir + "/probe-" + options.key + "-" + std::to_string(run) + ".txt";
        std::remove(report.c_str());
        const std::vector<std::string> envStrings = probeEnvironment(options, report);
        std::vector<char *> env, argv;
        for (const std::string &s : envStrings)
            env.push_back(const_cast<char *>(s.c_str()));
        env.push_back(nullptr);
        for (const std::string &s : options.command)
            argv.push_back(const_cast<char *>(s.c_str()));
        argv.push_back(nullptr);

        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        const std::string log = options.scratchDir + "/launch-" + options.key + ".log";
        posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
        posix_spawn_file_actions_addopen(&actions, 2, log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
        pid_t pid = 0;
        const long long start = monotonicNs();
        const int error = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), env.data());
        posix_spawn_file_actions_destroy(&actions);
        Outcome outcome;
        if (error != 0) {
            outcome.problem = std::string("cannot start ") + argv[0] + ": " + std::strerror(error);
            return outcome;
        }
        int status = 0;
        const long long deadline = start + (long long)options.timeoutSeconds * 1000000000LL;
        while (waitpid(pid, &status, WNOHANG) == 0) {
            if (monotonicNs() > deadline) {
                kill(pid, SIGKILL);
                waitpid(pid, &status, 0);
                outcome.problem = "no window painted within " + std::to_string(options.timeoutSeconds) + " s";
                return outcome;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        std::ifstream in(report);
        std::string name;
        long long value = 0, paintNs = 0, initNs = 0, hwm = 0;
        while (in >> name >> value) {
            if (name == "init_ns")
                initNs = value;
            else if (name == "paint_ns")
                paintNs = value;
            else if (name == "hwm_kib")
                hwm = value;
        }
        if (paintNs == 0) {
            outcome.problem = "the program ended without painting a window (exit status "
                + std::to_string(WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status))
                + ", output in " + log + ")";
            return outcome;
        }
        outcome.painted = true;
        outcome.startupMs = double(paintNs - start) / 1e6;
        outcome.initMs = double(initNs - start) / 1e6;
        outcome.peakMiB = double(hwm) / 1024.0;
        return outcome;
    }

} // namespace

bool launchAndTime(const LaunchOptions &options)
{
    std::string problem;
    int painted = 0;
    for (int run = -1; run < options.runs; ++run) { // run -1 fills the page cache
        const Outcome outcome = runOnce(options, run);
        if (!outcome.painted) {
            problem = outcome.problem;
            continue;
        }
        if (run >= 0) {
            ++painted;
            sample(options.key + ".startup", outcome.startupMs, "ms");
            sample(options.key + ".init", outcome.initMs, "ms");
            sample(options.key + ".peak", outcome.peakMiB, "MiB");
        }
    }
    if (painted == 0) {
        missing(options.key + ".startup", problem);
        missing(options.key + ".peak", problem);
    }
    return painted > 0;
}

} // namespace morvex::bench
