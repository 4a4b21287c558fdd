#pragma once

#include <chrono>
#include <string>
#include <string_view>
#include <vector>

// The line protocol every suite program speaks on standard output, one line each:
//     sample <key> <value> <unit>     one run's figure (several runs per key)
//     info <key> <text>               a fact the report quotes (byte counts, row counts)
//     missing <key> <text>            a figure that could not be measured, and why
// bench_suite_tools reads them back and writes the results table.
namespace morvex::bench {

void sample(std::string_view key, double value, std::string_view unit);
void info(std::string_view key, std::string_view text);
void missing(std::string_view key, std::string_view reason);

using Clock = std::chrono::steady_clock;

inline double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

inline double microsecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::micro>(Clock::now() - start).count();
}

// Command-line options of the form --name value.
class Options
{
public:
    Options(int argc, char *argv[]);
    std::string text(std::string_view name, std::string_view fallback = {}) const;
    long long number(std::string_view name, long long fallback) const;
    std::vector<int> numbers(std::string_view name, std::string_view fallback) const;
    bool has(std::string_view name) const;
    // The first argument (the sub-command); empty when there is none.
    const std::string &command() const { return m_command; }

private:
    std::string m_command;
    std::vector<std::pair<std::string, std::string>> m_values;
};

// Minor page faults of this process so far: first touches of fresh pages.
long long minorFaults();

// Peak resident memory of this process so far (VmHWM) and its current size (VmRSS), in KiB.
long long peakResidentKiB();
long long residentKiB();

} // namespace morvex::bench
