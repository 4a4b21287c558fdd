#include "gui/grid/ColumnSizing.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace morvex::sizing {

namespace {

    int sumOf(std::span<const int> weights)
    {
        // A negative weight is a programming slip; it must not shrink the others' share.
        return std::accumulate(
            weights.begin(), weights.end(), 0, [](int sum, int weight) { return sum + std::max(weight, 0); });
    }

    std::vector<int> timesUnit(std::span<const int> weights, int unit)
    {
        std::vector<int> widths;
        widths.reserve(weights.size());
        for (int weight : weights)
            widths.push_back(std::max(weight, 0) * unit);
        return widths;
    }

    std::optional<std::vector<int>> byUnit(std::optional<int> unit, std::span<const int> weights)
    {
        if (!unit)
            return std::nullopt;
        return timesUnit(weights, *unit);
    }

} // namespace

std::optional<int> weightUnit(int usableWidth, int weightSum)
{
    if (weightSum <= 0)
        return std::nullopt;
    // A grid narrower than the margin would give negative widths; they mean nothing.
    return std::max(usableWidth, 0) / weightSum;
}

std::optional<int> truncatedWeightUnit(int usableWidth, int weightSum)
{
    if (weightSum <= 0)
        return std::nullopt;
    const double unit = std::trunc(static_cast<double>(usableWidth) / static_cast<double>(weightSum));
    return std::max(static_cast<int>(unit), 0);
}

std::optional<std::vector<int>> byWeightsLessScrollBar(
    int gridWidth, int scrollBarHeight, std::span<const int> weights)
{
    return byUnit(weightUnit(gridWidth - scrollBarHeight - 10, sumOf(weights)), weights);
}

std::optional<std::vector<int>> byWeightsLess30(int gridWidth, std::span<const int> weights)
{
    return byUnit(weightUnit(gridWidth - 30, sumOf(weights)), weights);
}

std::optional<std::vector<int>> byWeightsTruncated(int gridWidth, std::span<const int> weights)
{
    return byUnit(truncatedWeightUnit(gridWidth - 30, sumOf(weights)), weights);
}

std::vector<int> stretchToFill(std::span<const int> widths, int available)
{
    std::vector<int> result(widths.size(), 0);
    if (widths.empty())
        return result;
    available = std::max(available, 0);
    std::vector<long long> shares(widths.begin(), widths.end());
    for (auto &share : shares)
        share = std::max(share, 0LL);
    long long total = std::accumulate(shares.begin(), shares.end(), 0LL);
    if (total == 0) {
        std::fill(shares.begin(), shares.end(), 1);
        total = static_cast<long long>(shares.size());
    }
    // Cumulative rounding: every column's right edge lands where exact scaling would put it,
    // so the widths add up to `available` without piling the remainder onto one column.
    long long before = 0;
    long long edgeBefore = 0;
    for (std::size_t i = 0; i < shares.size(); ++i) {
        before += shares[i];
        const long long edge = (before * available + total / 2) / total;
        result[i] = static_cast<int>(edge - edgeBefore);
        edgeBefore = edge;
    }
    return result;
}

bool needsContentWidths(Rule rule, int screenWidth)
{
    return rule == Rule::FitContent
        || (rule == Rule::WeightsOnWideScreen && screenWidth < kWideScreenMinimum);
}

std::optional<std::vector<int>> columnWidths(Rule rule, const Input &input)
{
    switch (rule) {
    case Rule::Manual:
        return std::nullopt;
    case Rule::WeightsLessScrollBar:
        return byWeightsLessScrollBar(input.gridWidth, input.scrollBarHeight, input.weights);
    case Rule::WeightsOnWideScreen:
        if (input.screenWidth >= kWideScreenMinimum)
            return byWeightsLess30(input.gridWidth, input.weights);
        return input.contentWidths;
    case Rule::WeightsTruncated:
        return byWeightsTruncated(input.gridWidth, input.weights);
    case Rule::Stretch:
        return stretchToFill(input.currentWidths, input.viewportWidth);
    case Rule::FitContent:
        return input.contentWidths;
    }
    return std::nullopt;
}

} // namespace morvex::sizing
