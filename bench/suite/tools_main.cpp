// The suite's own tools:
//   report --log FILE --notes behind.md --out results.md   the results table from the samples
//   launch --key K --runs R --probe-dir D [--class C] [--scratch DIR] -- PROGRAM ARGS...
//                                                          start-up time and peak memory

#include "Launch.h"
#include "Report.h"
#include "SampleLog.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <vector>

using namespace morvex::bench;

int main(int argc, char *argv[])
{
    try {
        int split = argc;
        for (int i = 1; i < argc; ++i) {
            if (std::strcmp(argv[i], "--") == 0) {
                split = i;
                break;
            }
        }
        const Options options(split, argv);
        if (options.command() == "report") {
            const RunLog log = RunLog::read(options.text("log"));
            const std::string text = writeReport(log, readNotes(options.text("notes")));
            std::ofstream out(options.text("out"), std::ios::trunc);
            out << text;
            return out ? 0 : 1;
        }
        if (options.command() == "launch") {
            LaunchOptions launch;
            launch.key = options.text("key");
            launch.runs = int(options.number("runs", 7));
            launch.probeDir = options.text("probe-dir");
            launch.windowClass = options.text("class");
            launch.timeoutSeconds = int(options.number("timeout", 60));
            launch.scratchDir = options.text("scratch", "/tmp");
            for (int i = split + 1; i < argc; ++i)
                launch.command.emplace_back(argv[i]);
            if (launch.key.empty() || launch.command.empty())
                throw std::invalid_argument("launch needs --key and a program after --");
            launchAndTime(launch);
            return 0;
        }
        std::fprintf(stderr, "usage: bench_suite_tools report|launch ...\n");
        return 2;
    } catch (const std::exception &e) {
        std::fprintf(stderr, "bench_suite_tools: %s\n", e.what());
        return 1;
    }
}
