#include "core/data/CellValues.h"

#include "core/data/NumberFormat.h"

#include <cmath>
#include <cstring>
#include <limits>

using namespace Qt::StringLiterals;

namespace morvex::detail {

namespace {

    constexpr qint64 kMsecsPerDay = 86'400'000;

    bool isIntegral(double d, double lo, double hi)
    {
        return std::isfinite(d) && std::floor(d) == d && d >= lo && d <= hi;
    }

} // namespace

QString typeName(FieldType type)
{
    switch (type) {
    case FieldType::Text:
        return u"text"_s;
    case FieldType::Int32:
        return u"32-bit integer"_s;
    case FieldType::Int64:
        return u"64-bit integer"_s;
    case FieldType::Double:
        return u"floating-point"_s;
    case FieldType::DateTime:
        return u"date-time"_s;
    case FieldType::Boolean:
        return u"boolean"_s;
    case FieldType::Bytes:
        return u"bytes"_s;
    }
    return {};
}

bool encodeText(QStringView text, std::string &out)
{
    const char16_t *p = text.utf16();
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n && p[i] < 0x80)
        ++i;
    if (i == n) {
        out.resize(std::size_t(n));
        char *o = out.data();
        for (qsizetype k = 0; k < n; ++k)
            o[k] = char(p[k]);
        return false;
    }
    // At most three bytes a UTF-16 unit (a surrogate pair, two units, takes four).
    out.resize(std::size_t(n) * 3);
    char *const start = out.data();
    char *o = start;
    for (qsizetype k = 0; k < i; ++k)
        *o++ = char(p[k]);
    for (; i < n; ++i) {
        char32_t c = p[i];
        if (c < 0x80) {
            *o++ = char(c);
        } else if (c < 0x800) {
            *o++ = char(0xc0 | (c >> 6));
            *o++ = char(0x80 | (c & 0x3f));
        } else if (QChar::isSurrogate(c)) {
            if (!QChar::isHighSurrogate(c) || i + 1 >= n || !QChar::isLowSurrogate(p[i + 1])) {
                // No UTF-8 form: keep the UTF-16 units as they are.
                out.assign(reinterpret_cast<const char *>(p), std::size_t(n) * 2);
                return true;
            }
            c = QChar::surrogateToUcs4(p[i], p[i + 1]);
            ++i;
            *o++ = char(0xf0 | (c >> 18));
            *o++ = char(0x80 | ((c >> 12) & 0x3f));
            *o++ = char(0x80 | ((c >> 6) & 0x3f));
            *o++ = char(0x80 | (c & 0x3f));
        } else {
            *o++ = char(0xe0 | (c >> 12));
            *o++ = char(0x80 | ((c >> 6) & 0x3f));
            *o++ = char(0x80 | (c & 0x3f));
        }
    }
    out.resize(std::size_t(o - start));
    return false;
}

QString decodeText(VariableStore::Cell cell)
{
    if (!cell.flag)
        return QString::fromUtf8(cell.bytes.data(), qsizetype(cell.bytes.size()));
    QString text(qsizetype(cell.bytes.size() / 2), Qt::Uninitialized);
    std::memcpy(text.data(), cell.bytes.data(), cell.bytes.size() / 2 * 2);
    return text;
}

qint64 packDateTime(const QDateTime &value)
{
    return value.date().toJulianDay() * kMsecsPerDay + value.time().msecsSinceStartOfDay();
}

QDateTime unpackDateTime(qint64 packed)
{
    qint64 day = packed / kMsecsPerDay;
    qint64 msecs = packed % kMsecsPerDay;
    if (msecs < 0) {
        msecs += kMsecsPerDay;
        --day;
    }
    return QDateTime(QDate::fromJulianDay(day), QTime::fromMSecsSinceStartOfDay(int(msecs)));
}

QDateTime dateTimeFromDayCount(double days)
{
    static const QDate epoch(1899, 12, 30);
    const double whole = std::floor(days);
    const auto msecs = qint64(std::llround((days - whole) * double(kMsecsPerDay)));
    return QDateTime(epoch.addDays(qint64(whole)), QTime(0, 0)).addMSecs(msecs);
}

std::optional<qint64> toInt64(const QVariant &value)
{
    switch (value.metaType().id()) {
    case QMetaType::Bool:
        return value.toBool() ? 1 : 0;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::Long:
    case QMetaType::LongLong:
        return value.toLongLong();
    case QMetaType::ULong:
    case QMetaType::ULongLong: {
        const qulonglong u = value.toULongLong();
        if (u > qulonglong(std::numeric_limits<qint64>::max()))
            return std::nullopt;
        return qint64(u);
    }
    case QMetaType::Double:
    case QMetaType::Float: {
        const double d = value.toDouble();
        if (!isIntegral(d, -9223372036854775808.0, 9223372036854774784.0))
            return std::nullopt;
        return qint64(d);
    }
    case QMetaType::QString:
    case QMetaType::QByteArray: {
        bool ok = false;
        const qint64 v = value.toString().trimmed().toLongLong(&ok);
        return ok ? std::optional<qint64>(v) : std::nullopt;
    }
    default:
        return std::nullopt;
    }
}

std::optional<double> toDouble(const QVariant &value)
{
    switch (value.metaType().id()) {
    case QMetaType::QString:
    case QMetaType::QByteArray: {
        bool ok = false;
        const double v = value.toString().trimmed().toDouble(&ok);
        return ok ? std::optional<double>(v) : std::nullopt;
    }
    case QMetaType::QDateTime:
    case QMetaType::QDate:
    case QMetaType::QTime:
    case QMetaType::QByteArrayList:
    case QMetaType::QStringList:
        return std::nullopt;
    default: {
        bool ok = false;
        const double v = value.toDouble(&ok);
        return ok ? std::optional<double>(v) : std::nullopt;
    }
    }
}

std::optional<QDateTime> toDateTime(const QVariant &value)
{
    switch (value.metaType().id()) {
    case QMetaType::QDateTime:
        return value.toDateTime().isValid() ? std::optional(value.toDateTime()) : std::nullopt;
    case QMetaType::QDate:
        return value.toDate().isValid() ? std::optional(value.toDate().startOfDay()) : std::nullopt;
    case QMetaType::Double:
    case QMetaType::Float: {
        const double d = value.toDouble();
        if (!std::isfinite(d) || std::fabs(d) > 3.0e6)
            return std::nullopt;
        return dateTimeFromDayCount(d);
    }
    case QMetaType::QString: {
        const QDateTime dt = QDateTime::fromString(value.toString().trimmed(), Qt::ISODateWithMs);
        return dt.isValid() ? std::optional(dt) : std::nullopt;
    }
    default:
        return std::nullopt;
    }
}

std::optional<bool> toBoolean(const QVariant &value)
{
    switch (value.metaType().id()) {
    case QMetaType::Bool:
        return value.toBool();
    case QMetaType::QString: {
        const QString t = value.toString().trimmed();
        if (t.compare(u"true"_s, Qt::CaseInsensitive) == 0 || t == u"1"_s)
            return true;
        if (t.compare(u"false"_s, Qt::CaseInsensitive) == 0 || t == u"0"_s)
            return false;
        return std::nullopt;
    }
    default: {
        const auto n = toInt64(value);
        if (n && (*n == 0 || *n == 1))
            return *n == 1;
        return std::nullopt;
    }
    }
}

} // namespace morvex::detail
