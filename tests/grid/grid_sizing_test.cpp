// Column sizing rules on plain numbers.
#include "gui/grid/ColumnSizing.h"

#include <QTest>

#include <optional>
#include <vector>

using namespace morvex;
using Widths = std::optional<std::vector<int>>;

Q_DECLARE_METATYPE(Widths)
Q_DECLARE_METATYPE(std::vector<int>)
Q_DECLARE_METATYPE(sizing::Rule)

class GridSizingTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void rules_data();
    void rules();
    void stretchAddsUpExactly_data();
    void stretchAddsUpExactly();
    void truncatedUnitMatchesWholePart();
};

namespace {
// The basket's fourteen columns shown at start.
const std::vector<int> basketWeights { 1, 2, 2, 3, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1 };
// Fifteen columns whose weights add up to 25, with a 3 and a 0 among them.
const std::vector<int> weights25 { 2, 2, 3, 2, 2, 2, 2, 2, 2, 1, 1, 0, 2, 1, 1 };
const std::vector<int> content { 80, 120, 45 };

std::vector<int> times(const std::vector<int> &weights, int unit)
{
    std::vector<int> widths;
    for (int weight : weights)
        widths.push_back(weight * unit);
    return widths;
}
} // namespace

void GridSizingTest::rules_data()
{
    QTest::addColumn<sizing::Rule>("rule");
    QTest::addColumn<int>("gridWidth");
    QTest::addColumn<int>("scrollBar");
    QTest::addColumn<int>("screen");
    QTest::addColumn<std::vector<int>>("weights");
    QTest::addColumn<Widths>("expected");

    using R = sizing::Rule;
    // 1000 - 17 - 10 = 973; 973 / 25 = 38.92 -> 38; weight 3 -> 114, weight 0 -> 0.
    QTest::newRow("scroll bar rule, 1000 px, weights 25")
        << R::WeightsLessScrollBar << 1000 << 17 << 1920 << weights25 << Widths(times(weights25, 38));
    QTest::newRow("scroll bar rule, exact division")
        << R::WeightsLessScrollBar << 127 << 17 << 1920 << std::vector<int> { 1, 2, 1 }
        << Widths({ { 25, 50, 25 } });
    QTest::newRow("scroll bar rule, one pixel short")
        << R::WeightsLessScrollBar << 126 << 17 << 1920 << std::vector<int> { 1, 2, 1 }
        << Widths({ { 24, 48, 24 } });
    QTest::newRow("scroll bar rule, no visible column")
        << R::WeightsLessScrollBar << 1000 << 17 << 1920 << std::vector<int> {} << Widths();
    QTest::newRow("scroll bar rule, only weight-0 columns")
        << R::WeightsLessScrollBar << 1000 << 17 << 1920 << std::vector<int> { 0, 0 } << Widths();
    QTest::newRow("scroll bar rule, grid narrower than the margin")
        << R::WeightsLessScrollBar << 20 << 17 << 1920 << std::vector<int> { 1, 3 } << Widths({ { 0, 0 } });

    // 1290 - 30 = 1260; 1260 / 18 = 70; "Stok Açıklama" (weight 3) 210.
    QTest::newRow("wide screen rule, basket at 1290 px")
        << R::WeightsOnWideScreen << 1290 << 17 << 1920 << basketWeights << Widths(times(basketWeights, 70));
    QTest::newRow("wide screen rule, screen 1153 shares by weight")
        << R::WeightsOnWideScreen << 1290 << 17 << 1153 << basketWeights << Widths(times(basketWeights, 70));
    QTest::newRow("wide screen rule, screen 1152 fits to content")
        << R::WeightsOnWideScreen << 1290 << 17 << 1152 << std::vector<int> { 1, 2, 1 } << Widths(content);
    QTest::newRow("wide screen rule, scroll bar does not count")
        << R::WeightsOnWideScreen << 1000 << 40 << 1920 << std::vector<int> { 1, 1 }
        << Widths({ { 485, 485 } });
    QTest::newRow("wide screen rule, no visible column")
        << R::WeightsOnWideScreen << 1290 << 17 << 1920 << std::vector<int> {} << Widths();

    // trunc((1000 - 30) / 16) = trunc(60.625) = 60.
    QTest::newRow("truncated rule") << R::WeightsTruncated << 1000 << 17 << 800
                                    << std::vector<int> { 1, 3, 2, 0, 10 }
                                    << Widths({ { 60, 180, 120, 0, 600 } });
    QTest::newRow("truncated rule ignores the screen")
        << R::WeightsTruncated << 1290 << 17 << 1024 << basketWeights << Widths(times(basketWeights, 70));
    QTest::newRow("truncated rule, no weight at all")
        << R::WeightsTruncated << 1000 << 17 << 1920 << std::vector<int> { 0 } << Widths();
    QTest::newRow("truncated rule, grid narrower than the margin")
        << R::WeightsTruncated << 10 << 17 << 1920 << std::vector<int> { 1 } << Widths({ { 0 } });

    QTest::newRow("fit to content") << R::FitContent << 1000 << 17 << 1920 << std::vector<int> { 1, 1, 1 }
                                    << Widths(content);
    QTest::newRow("manual keeps widths")
        << R::Manual << 1000 << 17 << 1920 << std::vector<int> { 1 } << Widths();
}

void GridSizingTest::rules()
{
    QFETCH(sizing::Rule, rule);
    QFETCH(int, gridWidth);
    QFETCH(int, scrollBar);
    QFETCH(int, screen);
    QFETCH(std::vector<int>, weights);
    QFETCH(Widths, expected);

    sizing::Input input;
    input.gridWidth = gridWidth;
    input.scrollBarHeight = scrollBar;
    input.screenWidth = screen;
    input.weights = weights;
    if (sizing::needsContentWidths(rule, screen))
        input.contentWidths = content;
    QCOMPARE(sizing::columnWidths(rule, input), expected);
}

void GridSizingTest::stretchAddsUpExactly_data()
{
    QTest::addColumn<std::vector<int>>("widths");
    QTest::addColumn<int>("available");
    QTest::addColumn<std::vector<int>>("expected");

    QTest::newRow("doubles") << std::vector<int> { 100, 200, 100 } << 800
                             << std::vector<int> { 200, 400, 200 };
    QTest::newRow("halves") << std::vector<int> { 100, 200, 100 } << 200 << std::vector<int> { 50, 100, 50 };
    QTest::newRow("remainder spread") << std::vector<int> { 1, 1, 1 } << 10 << std::vector<int> { 3, 4, 3 };
    QTest::newRow("all zero share equally") << std::vector<int> { 0, 0 } << 9 << std::vector<int> { 5, 4 };
    QTest::newRow("zero width stays zero")
        << std::vector<int> { 0, 50 } << 120 << std::vector<int> { 0, 120 };
    QTest::newRow("nothing available") << std::vector<int> { 40, 60 } << -5 << std::vector<int> { 0, 0 };
    QTest::newRow("no columns") << std::vector<int> {} << 500 << std::vector<int> {};
}

void GridSizingTest::stretchAddsUpExactly()
{
    QFETCH(std::vector<int>, widths);
    QFETCH(int, available);
    QFETCH(std::vector<int>, expected);

    sizing::Input input;
    input.currentWidths = widths;
    input.viewportWidth = available;
    const Widths result = sizing::columnWidths(sizing::Rule::Stretch, input);
    QVERIFY(result.has_value());
    QCOMPARE(*result, expected);
}

void GridSizingTest::truncatedUnitMatchesWholePart()
{
    // The floating-point variant and the integer one agree for every width a grid can have,
    // negative margins included (both end at 0).
    for (int width = -40; width <= 4000; ++width) {
        for (int sum : { 1, 7, 18, 25, 31 }) {
            QCOMPARE(sizing::truncatedWeightUnit(width, sum), sizing::weightUnit(width, sum));
        }
    }
}

QTEST_APPLESS_MAIN(GridSizingTest)
#include "grid_sizing_test.moc"
