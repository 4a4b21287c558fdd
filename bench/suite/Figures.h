#pragma once

#include <string>
#include <vector>

// What the results table shows, as data: each figure's measures, the anchors its ratios are
// taken against and the goals. Figures 3 (throughput) and 6 (huge pages) are laid out from
// whatever keys the run produced.
namespace morvex::bench {

struct AnchorRef
{
    std::string key; // a sample key, or empty for a constant
    std::string name; // how the ratio column names it ("libpq", "floor", "frame")
    double constant = 0;
};

struct MeasureRow
{
    std::string key;
    std::string label;
    std::vector<AnchorRef> anchors;
};

struct Goal
{
    std::string id; // the section of behind.md quoted when the goal is missed
    std::string subject; // sample key
    AnchorRef anchor;
    double maxRatio;
    bool strict; // "under" rather than "at most"
    std::string text; // as the results list it
    bool worst = false; // judged on the worst run rather than the median (a "never" goal)
};

struct FigureSpec
{
    int number;
    std::string title;
    std::string about; // one paragraph: what is measured and how
    std::vector<MeasureRow> rows;
    std::vector<Goal> goals;
};

const std::vector<FigureSpec> &figureSpecs();

} // namespace morvex::bench
