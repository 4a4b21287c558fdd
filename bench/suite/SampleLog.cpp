#include "SampleLog.h"

#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <stdexcept>

namespace morvex::bench {

namespace {

    // Keys and units are single words; texts lose their line breaks so one fact stays one line.
    std::string oneLine(std::string_view text)
    {
        std::string s(text);
        for (char &c : s) {
            if (c == '\n' || c == '\r')
                c = ' ';
        }
        return s;
    }

    long long statusField(const char *name)
    {
        std::ifstream in("/proc/self/status");
        std::string line;
        const std::size_t length = std::strlen(name);
        while (std::getline(in, line)) {
            if (line.compare(0, length, name) == 0 && line.size() > length && line[length] == ':')
                return std::atoll(line.c_str() + length + 1);
        }
        return -1;
    }

} // namespace

void sample(std::string_view key, double value, std::string_view unit)
{
    std::printf("sample %.*s %.6g %.*s\n", int(key.size()), key.data(), value, int(unit.size()), unit.data());
    std::fflush(stdout);
}

void info(std::string_view key, std::string_view text)
{
    const std::string t = oneLine(text);
    std::printf("info %.*s %s\n", int(key.size()), key.data(), t.c_str());
    std::fflush(stdout);
}

void missing(std::string_view key, std::string_view reason)
{
    const std::string t = oneLine(reason);
    std::printf("missing %.*s %s\n", int(key.size()), key.data(), t.c_str());
    std::fflush(stdout);
}

Options::Options(int argc, char *argv[])
{
    int i = 1;
    if (i < argc && std::strncmp(argv[i], "--", 2) != 0)
        m_command = argv[i++];
    for (; i < argc; ++i) {
        if (std::strncmp(argv[i], "--", 2) != 0)
            throw std::invalid_argument(std::string("unexpected argument ") + argv[i]);
        std::string name = argv[i] + 2;
        std::string value;
        if (i + 1 < argc && std::strncmp(argv[i + 1], "--", 2) != 0)
            value = argv[++i];
        m_values.emplace_back(std::move(name), std::move(value));
    }
}

std::string Options::text(std::string_view name, std::string_view fallback) const
{
    for (const auto &[n, v] : m_values) {
        if (n == name)
            return v;
    }
    return std::string(fallback);
}

long long Options::number(std::string_view name, long long fallback) const
{
    const std::string v = text(name);
    if (v.empty())
        return fallback;
    char *end = nullptr;
    const long long n = std::strtoll(v.c_str(), &end, 10);
    if (*end != '\0')
        throw std::invalid_argument("--" + std::string(name) + " takes a number, not " + v);
    return n;
}

std::vector<int> Options::numbers(std::string_view name, std::string_view fallback) const
{
    std::string v = text(name, fallback);
    std::vector<int> out;
    std::size_t start = 0;
    while (start <= v.size()) {
        const std::size_t comma = std::min(v.find(',', start), v.size());
        if (comma > start)
            out.push_back(std::atoi(v.substr(start, comma - start).c_str()));
        start = comma + 1;
    }
    return out;
}

bool Options::has(std::string_view name) const
{
    for (const auto &[n, v] : m_values) {
        if (n == name)
            return true;
    }
    return false;
}

long long minorFaults()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_minflt;
}

long long peakResidentKiB()
{
    return statusField("VmHWM");
}

long long residentKiB()
{
    return statusField("VmRSS");
}

} // namespace morvex::bench
