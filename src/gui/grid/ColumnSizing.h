#pragma once

#include <optional>
#include <span>
#include <vector>

// Column widths as pure functions of the grid's width and its visible columns. The grid widget
// measures what it needs (its width, the scroll-bar metric, the screen, content widths) and
// hands the numbers in; nothing here touches a widget.
namespace morvex::sizing {

// The screens below this width fit columns to their content instead of sharing by weight.
inline constexpr int kWideScreenMinimum = 1153;

enum class Rule {
    Manual, // widths stay as set
    WeightsLessScrollBar, // unit = (width - scroll-bar height - 10) div sum of weights
    WeightsOnWideScreen, // unit = (width - 30) div sum on wide screens, else fit to content
    WeightsTruncated, // unit = trunc((width - 30) / sum), divided in floating point
    Stretch, // current widths scaled to fill the viewport exactly
    FitContent, // every column as wide as its widest text
};

// What a rule may read. Each vector holds one entry per visible column, in display order.
struct Input
{
    int gridWidth = 0; // the whole grid, frame and scroll bars included
    int scrollBarHeight = 0; // the system's horizontal scroll-bar height
    int screenWidth = 0;
    int viewportWidth = 0; // the width the columns can fill (Stretch)
    std::vector<int> weights;
    std::vector<int> currentWidths; // Stretch
    std::vector<int> contentWidths; // FitContent, and WeightsOnWideScreen on narrow screens
};

// The whole part of usable / weightSum, never below 0; nullopt when weightSum is not positive
// (no visible column, or only weight-0 columns: nothing is sized then).
std::optional<int> weightUnit(int usableWidth, int weightSum);
// The same unit computed as trunc(usable / weightSum) in floating point.
std::optional<int> truncatedWeightUnit(int usableWidth, int weightSum);

std::optional<std::vector<int>> byWeightsLessScrollBar(
    int gridWidth, int scrollBarHeight, std::span<const int> weights);
std::optional<std::vector<int>> byWeightsLess30(int gridWidth, std::span<const int> weights);
std::optional<std::vector<int>> byWeightsTruncated(int gridWidth, std::span<const int> weights);

// Scales the widths in proportion so that they add up to `available` exactly; equal shares
// when every width is 0. Empty input gives empty output.
std::vector<int> stretchToFill(std::span<const int> widths, int available);

// True when the rule needs content widths for this screen.
bool needsContentWidths(Rule rule, int screenWidth);

// The widths the rule gives, or nullopt when the columns keep their widths.
std::optional<std::vector<int>> columnWidths(Rule rule, const Input &input);

} // namespace morvex::sizing
