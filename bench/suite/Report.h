#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

// Reads the lines the suite's programs printed and writes the results table.
namespace morvex::bench {

struct Stats
{
    int runs = 0;
    double median = 0;
    double min = 0;
    double max = 0;
    std::string unit;
};

class RunLog
{
public:
    // Lines other than sample/info/missing are skipped.
    static RunLog read(const std::string &path);

    std::optional<Stats> stats(const std::string &key) const;
    std::optional<std::string> info(const std::string &key) const;
    std::optional<std::string> missingReason(const std::string &key) const;
    // Keys of samples, infos and missing figures that start with `prefix`, sorted.
    std::vector<std::string> sampleKeys(const std::string &prefix) const;
    std::vector<std::string> infoKeys(const std::string &prefix) const;

private:
    std::map<std::string, std::vector<double>> m_samples;
    std::map<std::string, std::string> m_units;
    std::map<std::string, std::string> m_infos;
    std::map<std::string, std::string> m_missing;
};

Stats statsOf(std::vector<double> values, std::string unit);

// The whole of bench/results.md. `notes` holds the "## <goal id>" sections of behind.md that
// explain a goal that was not met.
std::string writeReport(const RunLog &log, const std::map<std::string, std::string> &notes);
std::map<std::string, std::string> readNotes(const std::string &path);

} // namespace morvex::bench
