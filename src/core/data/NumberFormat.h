#pragma once

#include <QLocale>
#include <QString>
#include <QStringView>

#include <optional>
#include <stdexcept>

namespace morvex {

class NumberFormatError : public std::invalid_argument
{
public:
    using std::invalid_argument::invalid_argument;
};

// A numeric display pattern of the "#,###,##0.00" family: '#' and '0' digit placeholders
// with optional ',' grouping (groups of three, as the pattern language always had), then
// optionally '.' and a fixed number of '0' decimals. The count of '0' before the point is
// the minimum number of integer digits. Separators come from the locale given to format().
// Anything else (optional decimals, exponents, literals, sections) is rejected.
class NumberFormat
{
public:
    // Throws NumberFormatError naming the offending character.
    static NumberFormat parse(QStringView pattern);
    static std::optional<NumberFormat> tryParse(QStringView pattern, QString *error = nullptr);

    const QString &pattern() const { return m_pattern; }
    bool grouping() const { return m_grouping; }
    int minIntegerDigits() const { return m_minIntegerDigits; }
    int decimals() const { return m_decimals; }

    // Rounds like roundTo() (half away from zero on the 15-significant-digit form), so the
    // text always agrees with the rounded amount. A value that rounds to zero has no sign.
    QString format(double value, const QLocale &locale = QLocale()) const;

private:
    NumberFormat() = default;
    QString m_pattern;
    bool m_grouping = false;
    int m_minIntegerDigits = 0;
    int m_decimals = 0;
};

// The display pattern of every floating-point field of a record set.
QString floatDisplayPattern(); // "#,###,##0.00"

// Rounds to `decimals` places (0..18), halves away from zero, working on the value's
// 15-significant-digit decimal form: roundTo(1.005, 2) == 1.01 although the binary double
// is slightly below 1.005. Never returns negative zero; NaN and infinities pass unchanged.
double roundTo(double value, int decimals);
inline double round2(double value)
{
    return roundTo(value, 2);
}

// The value as plain text: 15 significant digits, the locale's decimal point and minus sign,
// no grouping, no trailing zeros (1234.5 -> "1234,5" in Turkish).
QString plainNumberText(double value, const QLocale &locale = QLocale());

} // namespace morvex
