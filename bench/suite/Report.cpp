#include "Report.h"

#include "Figures.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <set>
#include <sstream>

namespace morvex::bench {

namespace {

    std::string number(double v)
    {
        char buffer[64];
        const double a = std::fabs(v);
        const char *format = a >= 100 ? "%.0f" : a >= 10 ? "%.1f" : a >= 1 ? "%.2f" : "%.3f";
        std::snprintf(buffer, sizeof buffer, format, v);
        return buffer;
    }

    std::string ratio(double v)
    {
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, v >= 10 ? "%.0f" : v >= 0.1 ? "%.2f" : "%.3f", v);
        return buffer;
    }

    std::string cell(const RunLog &log, const std::string &key)
    {
        if (const auto s = log.stats(key))
            return number(s->median) + " | " + number(s->min) + " | " + number(s->max) + " | " + s->unit;
        if (const auto reason = log.missingReason(key))
            return "not measured: " + *reason + " | | |";
        return "not measured | | |";
    }

    std::optional<double> anchorValue(const RunLog &log, const AnchorRef &anchor)
    {
        if (anchor.key.empty())
            return anchor.constant;
        if (const auto s = log.stats(anchor.key))
            return s->median;
        return std::nullopt;
    }

    std::optional<double> ratioTo(
        const RunLog &log, const std::string &key, const AnchorRef &anchor, bool worst = false)
    {
        const auto s = log.stats(key);
        const auto a = anchorValue(log, anchor);
        if (!s || !a || *a == 0)
            return std::nullopt;
        return (worst ? s->max : s->median) / *a;
    }

    std::string ratios(const RunLog &log, const MeasureRow &row)
    {
        std::string out;
        for (const AnchorRef &anchor : row.anchors) {
            if (const auto r = ratioTo(log, row.key, anchor)) {
                if (!out.empty())
                    out += " · ";
                out += ratio(*r);
                out += " × ";
                out += anchor.name;
            }
        }
        return out;
    }

    enum class GoalState { Met, Behind, NotMeasured };

    GoalState goalState(const RunLog &log, const Goal &goal, std::optional<double> &measured)
    {
        measured = ratioTo(log, goal.subject, goal.anchor, goal.worst);
        if (!measured)
            return GoalState::NotMeasured;
        const bool met = goal.strict ? *measured < goal.maxRatio : *measured <= goal.maxRatio;
        return met ? GoalState::Met : GoalState::Behind;
    }

    std::string whyNotMeasured(const RunLog &log, const Goal &goal)
    {
        for (const std::string &key : { goal.subject, goal.anchor.key }) {
            if (key.empty() || log.stats(key))
                continue;
            if (const auto reason = log.missingReason(key))
                return key + ": " + *reason;
            return key + ": no samples";
        }
        return {};
    }

    void facts(std::ostringstream &out, const RunLog &log, const std::string &prefix)
    {
        const std::vector<std::string> keys = log.infoKeys(prefix);
        for (const std::string &key : keys)
            out << "- " << *log.info(key) << "\n";
        if (!keys.empty())
            out << "\n";
    }

    void goalsOf(std::ostringstream &out, const RunLog &log, const FigureSpec &figure,
        const std::map<std::string, std::string> &notes)
    {
        for (const Goal &goal : figure.goals) {
            std::optional<double> measured;
            switch (goalState(log, goal, measured)) {
            case GoalState::Met:
                out << "Goal, " << goal.text << ": **met** (" << ratio(*measured) << " × " << goal.anchor.name
                    << ").\n\n";
                break;
            case GoalState::Behind: {
                out << "Goal, " << goal.text << ": **behind** (" << ratio(*measured) << " × "
                    << goal.anchor.name << ").\n\n";
                const auto note = notes.find(goal.id);
                out << (note != notes.end() ? note->second
                                            : std::string("Why, and what would close it: not written yet.\n"))
                    << "\n";
                break;
            }
            case GoalState::NotMeasured:
                out << "Goal, " << goal.text << ": **not measured** (" << whyNotMeasured(log, goal)
                    << ").\n\n";
                break;
            }
        }
    }

    void figureTable(std::ostringstream &out, const RunLog &log, const FigureSpec &figure,
        const std::map<std::string, std::string> &notes)
    {
        out << "## " << figure.number << ". " << figure.title << "\n\n" << figure.about << "\n\n";
        out << "| Measure | median | min | max | unit | ratio (medians) |\n|---|---:|---:|---:|---|---|\n";
        for (const MeasureRow &row : figure.rows)
            out << "| " << row.label << " | " << cell(log, row.key) << " | " << ratios(log, row) << " |\n";
        out << "\n";
        std::string prefix = "f";
        prefix += std::to_string(figure.number);
        prefix += '.';
        facts(out, log, prefix);
        goalsOf(out, log, figure, notes);
    }

    // Figure 3: f3.<method>.c<clients>.{rate,p50,p99}.
    void throughputTable(std::ostringstream &out, const RunLog &log)
    {
        out << "## 3. Server throughput (`morvex-server`, SQLite backend)\n\n"
               "Each client is a thread of its own with its own connection and proxy, calling as fast as the "
               "answers come back for 2 s per run. Basket: every client works on a customer account of its "
               "own "
               "(as a staff user may) and repeats a dealer's cycle: four items put in with `SepetEkle`, the "
               "basket "
               "read back with `SepetVer` for their line numbers, each quantity changed with "
               "`SepetGuncelle`, two "
               "of the four (all four once twenty lines stay) taken out with `SepetSatirSil`. After every "
               "run each "
               "account's stored basket is read back and compared line by line (stock item and quantity) "
               "with what "
               "the calls left. Search: `StokAraOrvex` as a dealer, every client the same text. Calls per "
               "second: "
               "all clients together; latencies per call over all clients of a run (median over the runs of "
               "each "
               "run's p50 and p99).\n\n";
        std::vector<std::pair<std::string, int>> series; // (method, clients)
        for (const std::string &key : log.sampleKeys("f3.")) {
            const std::size_t c = key.find(".c", 3);
            const std::size_t end = key.rfind('.');
            if (c == std::string::npos || key.compare(end, std::string::npos, ".rate") != 0)
                continue;
            series.emplace_back(key.substr(3, c - 3), std::atoi(key.substr(c + 2, end - c - 2).c_str()));
        }
        // The whole basket workload first, then its methods, then the search.
        auto rank = [](const std::string &method) {
            return method == "basket" ? 0 : method == "StokAraOrvex" ? 2 : 1;
        };
        std::stable_sort(series.begin(), series.end(), [&](const auto &a, const auto &b) {
            if (rank(a.first) != rank(b.first))
                return rank(a.first) < rank(b.first);
            return a.first != b.first ? a.first < b.first : a.second < b.second;
        });
        if (series.empty()) {
            const auto reason = log.missingReason("f3");
            out << "Not measured" << (reason ? ": " + *reason : std::string()) << ".\n\n";
            return;
        }
        out << "| Method | clients | calls/s median | min | max | × 1 client | p50 µs | p99 µs |\n"
               "|---|---:|---:|---:|---:|---:|---:|---:|\n";
        for (const auto &[method, clients] : series) {
            const std::string base = "f3." + method + ".c" + std::to_string(clients);
            const auto rate = log.stats(base + ".rate");
            const auto one = log.stats("f3." + method + ".c1.rate");
            const auto p50 = log.stats(base + ".p50");
            const auto p99 = log.stats(base + ".p99");
            out << "| " << (method == "basket" ? std::string("all basket calls") : method) << " | " << clients
                << " | " << number(rate->median) << " | " << number(rate->min) << " | " << number(rate->max)
                << " | " << (one ? ratio(rate->median / one->median) : "") << " | "
                << (p50 ? number(p50->median) : "") << " | " << (p99 ? number(p99->median) : "") << " |\n";
        }
        out << "\n";
        facts(out, log, "f3.");
    }

    // Figure 6: every key measured again as <key>.huge with GLIBC_TUNABLES=glibc.malloc.hugetlb=1.
    void hugePagesTable(std::ostringstream &out, const RunLog &log)
    {
        out << "## 6. Fresh pages and GLIBC_TUNABLES=glibc.malloc.hugetlb=1\n\n"
               "On this kind of virtual machine the first touch of a fresh memory page is slow, so the "
               "figures "
               "above are measured as they are, page faults included. The allocation-heavy ones also ran "
               "with "
               "`GLIBC_TUNABLES=glibc.malloc.hugetlb=1` (malloc asks for transparent huge pages with "
               "madvise) in the "
               "measuring process, in the same rounds as the plain runs. A figure \"changes much\" when the "
               "medians "
               "differ by more than 15 % and the ranges of the two sets of runs do not overlap.\n\n";
        std::vector<std::string> keys;
        for (const std::string &key : log.sampleKeys("f")) {
            if (key.size() > 5 && key.compare(key.size() - 5, 5, ".huge") == 0)
                keys.push_back(key.substr(0, key.size() - 5));
        }
        if (keys.empty()) {
            out << "Not measured.\n\n";
            return;
        }
        out << "| Measure | as measured: median (min–max) | hugetlb=1: median (min–max) | ratio | verdict |\n"
               "|---|---:|---:|---:|---|\n";
        for (const std::string &key : keys) {
            const auto plain = log.stats(key);
            const auto huge = log.stats(key + ".huge");
            if (!plain || !huge)
                continue;
            const double r = huge->median / plain->median;
            const bool apart = huge->max < plain->min || huge->min > plain->max;
            const bool much = apart && (r < 0.85 || r > 1.15);
            out << "| " << key << " (" << plain->unit << ") | " << number(plain->median) << " ("
                << number(plain->min) << "–" << number(plain->max) << ") | " << number(huge->median) << " ("
                << number(huge->min) << "–" << number(huge->max) << ") | " << ratio(r) << " | "
                << (much ? "changes much" : "no clear change") << " |\n";
        }
        out << "\n";
        facts(out, log, "f6.");
    }

} // namespace

Stats statsOf(std::vector<double> values, std::string unit)
{
    Stats s;
    s.unit = std::move(unit);
    s.runs = int(values.size());
    if (values.empty())
        return s;
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    s.median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
    s.min = values.front();
    s.max = values.back();
    return s;
}

RunLog RunLog::read(const std::string &path)
{
    RunLog log;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string kind, key;
        words >> kind >> key;
        if (kind == "sample") {
            double value = 0;
            std::string unit;
            if (words >> value >> unit) {
                log.m_samples[key].push_back(value);
                log.m_units[key] = unit;
            }
        } else if (kind == "info" || kind == "missing") {
            std::string text;
            std::getline(words >> std::ws, text);
            (kind == "info" ? log.m_infos : log.m_missing)[key] = text;
        }
    }
    return log;
}

std::optional<Stats> RunLog::stats(const std::string &key) const
{
    const auto it = m_samples.find(key);
    if (it == m_samples.end() || it->second.empty())
        return std::nullopt;
    return statsOf(it->second, m_units.at(key));
}

std::optional<std::string> RunLog::info(const std::string &key) const
{
    const auto it = m_infos.find(key);
    return it == m_infos.end() ? std::nullopt : std::optional(it->second);
}

std::optional<std::string> RunLog::missingReason(const std::string &key) const
{
    const auto it = m_missing.find(key);
    return it == m_missing.end() ? std::nullopt : std::optional(it->second);
}

std::vector<std::string> RunLog::sampleKeys(const std::string &prefix) const
{
    std::vector<std::string> keys;
    for (const auto &[key, values] : m_samples) {
        if (key.compare(0, prefix.size(), prefix) == 0)
            keys.push_back(key);
    }
    return keys;
}

std::vector<std::string> RunLog::infoKeys(const std::string &prefix) const
{
    std::vector<std::string> keys;
    for (const auto &[key, text] : m_infos) {
        if (key.compare(0, prefix.size(), prefix) == 0)
            keys.push_back(key);
    }
    return keys;
}

std::map<std::string, std::string> readNotes(const std::string &path)
{
    std::map<std::string, std::string> notes;
    std::ifstream in(path);
    std::string line, current;
    while (std::getline(in, line)) {
        if (line.compare(0, 3, "## ") == 0) {
            current = line.substr(3);
            continue;
        }
        if (!current.empty())
            notes[current] += line + "\n";
    }
    for (auto &[id, text] : notes) {
        while (!text.empty() && (text.back() == '\n' || text.back() == ' '))
            text.pop_back();
        while (!text.empty() && text.front() == '\n')
            text.erase(0, 1);
        text += "\n";
    }
    return notes;
}

std::string writeReport(const RunLog &log, const std::map<std::string, std::string> &notes)
{
    std::ostringstream out;
    auto infoOr = [&](const char *key) { return log.info(key).value_or("unknown"); };
    out << "# Benchmark results\n\n"
        << "<!-- Written by bench/run (bench_suite_tools report); do not edit by hand. -->\n\n"
        << "- Machine: " << infoOr("machine.cpu") << "; " << infoOr("machine.cores") << " cores; "
        << infoOr("machine.memory") << " memory; " << infoOr("machine.os") << "\n"
        << "- Date: " << infoOr("run.date") << "\n"
        << "- Command: `" << infoOr("run.command") << "` (" << infoOr("run.build") << ", commit "
        << infoOr("run.commit") << "; " << infoOr("run.duration") << ")\n"
        << "- Each figure is the median, min and max of " << infoOr("run.rounds")
        << " runs; figures 1, 2 and 4 run round by round (one run of every contender per round), so that "
           "the ratios, taken between medians, compare runs made side by side. On these shared 2-core "
           "virtual "
           "machines absolute times are noise: the ratios are the result.\n\n";

    out << "## Goals\n\n| Goal | measured | status |\n|---|---:|---|\n";
    for (const FigureSpec &figure : figureSpecs()) {
        for (const Goal &goal : figure.goals) {
            std::optional<double> measured;
            const GoalState state = goalState(log, goal, measured);
            out << "| " << figure.number << ". " << goal.text << " | "
                << (measured ? ratio(*measured) + " × " + goal.anchor.name : std::string("–")) << " | "
                << (state == GoalState::Met             ? "met"
                           : state == GoalState::Behind ? "**behind**"
                                                        : "not measured")
                << " |\n";
        }
    }
    const auto check = log.info("f3.check");
    out << "| 3. nothing lost under concurrent basket calls | " << (check ? *check : std::string("–"))
        << " | " << (check ? (check->rfind("nothing lost", 0) == 0 ? "met" : "**behind**") : "not measured")
        << " |\n\n";

    for (const FigureSpec &figure : figureSpecs()) {
        if (figure.number == 4)
            throughputTable(out, log);
        figureTable(out, log, figure, notes);
    }
    hugePagesTable(out, log);
    return out.str();
}

} // namespace morvex::bench
