#include "core/data/NumberFormat.h"

#include <charconv>
#include <cmath>
#include <string>

using namespace Qt::StringLiterals;

namespace morvex {

namespace {

    constexpr int kSignificantDigits = 15;
    constexpr int kMaxDecimals = 18;

    // |value| rounded to `decimals` places, as the decimal digits of |value| * 10^decimals
    // without leading zeros ("0" for zero). The rounding works on the 15-significant-digit
    // form of the value, halves away from zero.
    std::string scaledDigits(double magnitude, int decimals)
    {
        if (magnitude == 0.0)
            return "0";
        char buf[64];
        const auto res = std::to_chars(
            buf, buf + sizeof buf, magnitude, std::chars_format::scientific, kSignificantDigits - 1);
        // buf holds "d.dddddddddddddde[+-]xx"
        std::string mantissa;
        mantissa.reserve(kSignificantDigits);
        const char *p = buf;
        for (; p != res.ptr && *p != 'e'; ++p) {
            if (*p != '.')
                mantissa.push_back(*p);
        }
        int exponent = 0;
        std::from_chars(p + 1 + (p[1] == '+' ? 1 : 0), res.ptr, exponent);

        // Number of mantissa digits that land before the point of the scaled value.
        const int keep = exponent + 1 + decimals;
        if (keep >= kSignificantDigits)
            return mantissa + std::string(std::size_t(keep - kSignificantDigits), '0');
        if (keep < 0)
            return "0";
        std::string digits = mantissa.substr(0, std::size_t(keep));
        if (mantissa[std::size_t(keep)] >= '5') {
            int i = keep - 1;
            for (; i >= 0 && digits[std::size_t(i)] == '9'; --i)
                digits[std::size_t(i)] = '0';
            if (i >= 0)
                ++digits[std::size_t(i)];
            else
                digits.insert(digits.begin(), '1');
        }
        const auto firstNonZero = digits.find_first_not_of('0');
        return firstNonZero == std::string::npos ? std::string("0") : digits.substr(firstNonZero);
    }

    struct RoundedParts
    {
        bool negative = false;
        std::string integer; // at least "0"
        std::string fraction; // exactly `decimals` digits
    };

    RoundedParts roundedParts(double value, int decimals)
    {
        RoundedParts parts;
        std::string digits = scaledDigits(std::fabs(value), decimals);
        parts.negative = std::signbit(value) && digits != "0";
        if (digits.size() < std::size_t(decimals) + 1)
            digits.insert(0, std::size_t(decimals) + 1 - digits.size(), '0');
        parts.integer = digits.substr(0, digits.size() - std::size_t(decimals));
        parts.fraction = digits.substr(digits.size() - std::size_t(decimals));
        return parts;
    }

    QString describe(QChar c)
    {
        return u"'"_s + c + u"'"_s;
    }

} // namespace

std::optional<NumberFormat> NumberFormat::tryParse(QStringView pattern, QString *error)
{
    auto fail = [&](const QString &why) -> std::optional<NumberFormat> {
        if (error)
            *error = u"Unsupported number pattern \""_s + pattern + u"\": "_s + why;
        return std::nullopt;
    };
    if (pattern.isEmpty())
        return fail(u"it is empty"_s);

    NumberFormat f;
    f.m_pattern = pattern.toString();
    qsizetype i = 0;
    bool sawPlaceholder = false;
    QChar previous;
    for (; i < pattern.size() && pattern[i] != u'.'; ++i) {
        const QChar c = pattern[i];
        if (c == u'#') {
            if (f.m_minIntegerDigits > 0)
                return fail(u"'#' after '0' at position "_s + QString::number(i + 1));
            sawPlaceholder = true;
        } else if (c == u'0') {
            ++f.m_minIntegerDigits;
            sawPlaceholder = true;
        } else if (c == u',') {
            if (!sawPlaceholder || previous == u',')
                return fail(u"misplaced ',' at position "_s + QString::number(i + 1));
            f.m_grouping = true;
        } else {
            return fail(describe(c) + u" at position "_s + QString::number(i + 1));
        }
        previous = c;
    }
    if (!sawPlaceholder)
        return fail(u"no digit placeholder before the decimal point"_s);
    if (previous == u',')
        return fail(u"',' before the decimal point"_s);
    if (i < pattern.size()) {
        for (++i; i < pattern.size(); ++i) {
            if (pattern[i] != u'0')
                return fail(describe(pattern[i]) + u" at position "_s + QString::number(i + 1)
                    + u" (only fixed '0' decimals are supported)"_s);
            ++f.m_decimals;
        }
        if (f.m_decimals == 0)
            return fail(u"no decimals after the decimal point"_s);
        if (f.m_decimals > kMaxDecimals)
            return fail(u"more than 18 decimals"_s);
    }
    return f;
}

NumberFormat NumberFormat::parse(QStringView pattern)
{
    QString error;
    auto f = tryParse(pattern, &error);
    if (!f)
        throw NumberFormatError(error.toStdString());
    return *f;
}

QString NumberFormat::format(double value, const QLocale &locale) const
{
    if (std::isnan(value))
        return u"NAN"_s;
    if (std::isinf(value))
        return value < 0 ? locale.negativeSign() + u"INF"_s : u"INF"_s;

    const RoundedParts parts = roundedParts(value, m_decimals);
    std::string integer = parts.integer == "0" ? std::string() : parts.integer;
    if (integer.size() < std::size_t(m_minIntegerDigits))
        integer.insert(0, std::size_t(m_minIntegerDigits) - integer.size(), '0');

    QString out;
    out.reserve(qsizetype(integer.size() + integer.size() / 3 + parts.fraction.size() + 4));
    if (parts.negative)
        out += locale.negativeSign();
    const QString group = locale.groupSeparator();
    for (std::size_t k = 0; k < integer.size(); ++k) {
        if (m_grouping && k > 0 && (integer.size() - k) % 3 == 0)
            out += group;
        out += QChar(u'0' + (integer[k] - '0'));
    }
    if (integer.empty() && m_decimals == 0)
        out += u'0';
    if (m_decimals > 0) {
        out += locale.decimalPoint();
        for (char d : parts.fraction)
            out += QChar(u'0' + (d - '0'));
    }
    return out;
}

QString floatDisplayPattern()
{
    return u"#,###,##0.00"_s;
}

double roundTo(double value, int decimals)
{
    if (!std::isfinite(value))
        return value;
    if (decimals < 0 || decimals > kMaxDecimals)
        throw NumberFormatError("roundTo: decimals must be between 0 and 18");
    const RoundedParts parts = roundedParts(value, decimals);
    std::string text = parts.negative ? "-" : "";
    text += parts.integer;
    if (decimals > 0)
        text += '.' + parts.fraction;
    double result = 0.0;
    std::from_chars(text.data(), text.data() + text.size(), result);
    return result == 0.0 ? 0.0 : result;
}

QString plainNumberText(double value, const QLocale &locale)
{
    if (std::isnan(value))
        return u"NAN"_s;
    if (std::isinf(value))
        return value < 0 ? locale.negativeSign() + u"INF"_s : u"INF"_s;
    char buf[64];
    const auto res = std::to_chars(
        buf, buf + sizeof buf, value == 0.0 ? 0.0 : value, std::chars_format::general, kSignificantDigits);
    QString out;
    for (const char *p = buf; p != res.ptr; ++p) {
        if (*p == '.')
            out += locale.decimalPoint();
        else if (*p == '-')
            out += locale.negativeSign();
        else if (*p == 'e')
            out += u'E';
        else
            out += QChar::fromLatin1(*p);
    }
    return out;
}

} // namespace morvex
