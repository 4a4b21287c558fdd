#include "core/data/NumberFormat.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;
using morvex::NumberFormat;

namespace {

const QLocale turkish(QLocale::Turkish, QLocale::Turkey);
const QLocale english(QLocale::English, QLocale::UnitedStates);

struct FormatCase
{
    const char *pattern;
    double value;
    const QLocale *locale;
    const char *expected;
};

class NumberFormatCases : public testing::TestWithParam<FormatCase>
{
};

TEST_P(NumberFormatCases, FormatsWithLocaleSeparators)
{
    const FormatCase &c = GetParam();
    const NumberFormat f = NumberFormat::parse(QString::fromUtf8(c.pattern));
    EXPECT_EQ(f.format(c.value, *c.locale), QString::fromUtf8(c.expected)) << c.pattern << " " << c.value;
}

INSTANTIATE_TEST_SUITE_P(Patterns, NumberFormatCases,
    testing::Values(FormatCase { "#,###,##0.00", 1234567.5, &turkish, "1.234.567,50" },
        FormatCase { "#,###,##0.00", 0.004, &turkish, "0,00" },
        FormatCase { "#,###,##0.00", -0.004, &turkish, "0,00" },
        FormatCase { "#,###,##0.00", 0.0, &turkish, "0,00" },
        FormatCase { "#,###,##0.00", -0.0, &turkish, "0,00" },
        FormatCase { "#,###,##0.00", 1.005, &turkish, "1,01" },
        FormatCase { "#,###,##0.00", -1.005, &turkish, "-1,01" },
        FormatCase { "#,###,##0.00", 2.675, &turkish, "2,68" },
        FormatCase { "#,###,##0.00", -1234.5, &turkish, "-1.234,50" },
        FormatCase { "#,###,##0.00", 999.995, &turkish, "1.000,00" },
        FormatCase { "#,###,##0.00", 999999.999, &turkish, "1.000.000,00" },
        FormatCase { "#,###,##0.00", 100.0, &turkish, "100,00" },
        FormatCase { "#,###,##0.00", 1e15, &turkish, "1.000.000.000.000.000,00" },
        FormatCase { "#,###,##0.00", 1234567.891, &english, "1,234,567.89" },
        FormatCase { "#,###,##00.00", 5.0, &turkish, "05,00" },
        FormatCase { "#,###,##00.00", 0.0, &turkish, "00,00" },
        FormatCase { "#,###,##00.00", 1234.0, &turkish, "1.234,00" },
        FormatCase { "#,###,##00.00", -5.0, &turkish, "-05,00" }, FormatCase { "0", 2.5, &turkish, "3" },
        FormatCase { "0", -2.5, &turkish, "-3" }, FormatCase { "#,##0", 1234.4, &turkish, "1.234" },
        FormatCase { "0.000", 1.0005, &turkish, "1,001" }, FormatCase { "#.00", 0.5, &turkish, ",50" },
        FormatCase { "#", 0.0, &turkish, "0" },
        FormatCase { "#,###,##0.00", std::numeric_limits<double>::quiet_NaN(), &turkish, "NAN" },
        FormatCase { "#,###,##0.00", -std::numeric_limits<double>::infinity(), &turkish, "-INF" }));

TEST(NumberFormat, DescribesTheFloatPattern)
{
    const NumberFormat f = NumberFormat::parse(morvex::floatDisplayPattern());
    EXPECT_EQ(f.pattern(), u"#,###,##0.00"_s);
    EXPECT_TRUE(f.grouping());
    EXPECT_EQ(f.minIntegerDigits(), 1);
    EXPECT_EQ(f.decimals(), 2);
    EXPECT_EQ(NumberFormat::parse(u"#,###,##00.00").minIntegerDigits(), 2);
}

TEST(NumberFormat, RejectsPatternsOutsideTheFamily)
{
    for (const char *pattern : { "", "0.0#", "#,##0.00;(#,##0.00)", "$#,##0", "0.00E+00", "0%", "0#", ",##0",
             "#,,##0", "0.", "#,##0,", "0..0", "0.00 TL", ".00", "0.0000000000000000000" }) {
        QString error;
        EXPECT_FALSE(NumberFormat::tryParse(QString::fromUtf8(pattern), &error).has_value()) << pattern;
        EXPECT_TRUE(error.startsWith(u"Unsupported number pattern"_s)) << pattern;
        EXPECT_THROW(NumberFormat::parse(QString::fromUtf8(pattern)), morvex::NumberFormatError) << pattern;
    }
}

struct RoundCase
{
    double value;
    double expected;
};

class Round2Cases : public testing::TestWithParam<RoundCase>
{
};

TEST_P(Round2Cases, RoundsHalfAwayFromZeroOnTheDecimalForm)
{
    const RoundCase &c = GetParam();
    const double r = morvex::round2(c.value);
    EXPECT_EQ(r, c.expected) << c.value;
    EXPECT_FALSE(std::signbit(r) && r == 0.0) << "negative zero for " << c.value;
}

INSTANTIATE_TEST_SUITE_P(Money, Round2Cases,
    testing::Values(RoundCase { 1.005, 1.01 }, RoundCase { 2.675, 2.68 }, RoundCase { -1.005, -1.01 },
        RoundCase { -2.675, -2.68 }, RoundCase { 0.285, 0.29 }, RoundCase { 0.125, 0.13 },
        RoundCase { 1.00499, 1.0 }, RoundCase { 1234.5678, 1234.57 }, RoundCase { -0.004, 0.0 },
        RoundCase { -0.005, -0.01 }, RoundCase { 0.0, 0.0 }, RoundCase { -0.0, 0.0 },
        RoundCase { 999.995, 1000.0 }, RoundCase { 123456789.125, 123456789.13 }, RoundCase { 1e16, 1e16 },
        RoundCase { 1e-300, 0.0 }, RoundCase { 0.1 + 0.2, 0.3 }, RoundCase { 100.0 * 1.18, 118.0 },
        RoundCase { 19.99 * 3, 59.97 }));

TEST(Round, OtherPrecisionsAndNonFiniteValues)
{
    EXPECT_EQ(morvex::roundTo(2.5, 0), 3.0);
    EXPECT_EQ(morvex::roundTo(-2.5, 0), -3.0);
    EXPECT_EQ(morvex::roundTo(1.0005, 3), 1.001);
    EXPECT_EQ(morvex::roundTo(1234.5, 0), 1235.0);
    EXPECT_TRUE(std::isnan(morvex::round2(std::numeric_limits<double>::quiet_NaN())));
    EXPECT_EQ(
        morvex::round2(std::numeric_limits<double>::infinity()), std::numeric_limits<double>::infinity());
    EXPECT_THROW(morvex::roundTo(1.0, -1), morvex::NumberFormatError);
    EXPECT_THROW(morvex::roundTo(1.0, 19), morvex::NumberFormatError);
}

// The text of an amount and the amount used in totals must never disagree.
TEST(Round, DisplayAgreesWithRound2)
{
    const NumberFormat f = NumberFormat::parse(morvex::floatDisplayPattern());
    for (int k = -20000; k <= 20000; ++k) {
        const double v = k / 1000.0 + 0.0005 * (k % 3);
        ASSERT_EQ(f.format(v, turkish), f.format(morvex::round2(v), turkish)) << v;
    }
}

TEST(PlainNumberText, FifteenSignificantDigitsWithLocaleSeparators)
{
    EXPECT_EQ(morvex::plainNumberText(1234.5, turkish), u"1234,5"_s);
    EXPECT_EQ(morvex::plainNumberText(0.1 + 0.2, turkish), u"0,3"_s);
    EXPECT_EQ(morvex::plainNumberText(-0.0, turkish), u"0"_s);
    EXPECT_EQ(morvex::plainNumberText(-12.25, english), u"-12.25"_s);
    EXPECT_EQ(morvex::plainNumberText(1e20, QLocale::c()), u"1E+20"_s);
}

} // namespace
