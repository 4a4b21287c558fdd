#include "core/data/RecordSet.h"

#include "core/data/BitVector.h"
#include "core/data/NumberFormat.h"
#include "core/data/VariableStore.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <optional>
#include <string>

using namespace Qt::StringLiterals;

namespace morvex {

namespace {

    const char kCopyRuleMessage[] = "Additional columns must be added after the prescribed columns.";

    [[noreturn]] void fail(const QString &message)
    {
        throw RecordSetError(message.toStdString());
    }

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

    // Texts are kept as UTF-8 (ASCII codes and most Turkish names take one byte per letter, the
    // Turkish letters two). A text with an unpaired surrogate has no UTF-8 form; it is kept as
    // raw UTF-16 with the cell's flag set, so that every text reads back exactly as written.
    bool encodeText(QStringView text, std::string &out)
    {
        const char16_t *p = text.utf16();
        const qsizetype n = text.size();
        out.resize(std::size_t(n));
        qsizetype i = 0;
        for (; i < n && p[i] < 0x80; ++i)
            out[std::size_t(i)] = char(p[i]);
        if (i == n)
            return false;

        for (qsizetype j = i; j < n; ++j) {
            if (QChar::isHighSurrogate(p[j]) && j + 1 < n && QChar::isLowSurrogate(p[j + 1]))
                ++j;
            else if (QChar::isSurrogate(p[j])) {
                out.assign(reinterpret_cast<const char *>(p), std::size_t(n) * 2);
                return true;
            }
        }
        out.resize(std::size_t(i));
        for (; i < n; ++i) {
            char32_t c = p[i];
            if (c < 0x80) {
                out.push_back(char(c));
            } else if (c < 0x800) {
                out.push_back(char(0xc0 | (c >> 6)));
                out.push_back(char(0x80 | (c & 0x3f)));
            } else if (QChar::isHighSurrogate(c)) {
                c = QChar::surrogateToUcs4(p[i], p[i + 1]);
                ++i;
                out.push_back(char(0xf0 | (c >> 18)));
                out.push_back(char(0x80 | ((c >> 12) & 0x3f)));
                out.push_back(char(0x80 | ((c >> 6) & 0x3f)));
                out.push_back(char(0x80 | (c & 0x3f)));
            } else {
                out.push_back(char(0xe0 | (c >> 12)));
                out.push_back(char(0x80 | ((c >> 6) & 0x3f)));
                out.push_back(char(0x80 | (c & 0x3f)));
            }
        }
        return false;
    }

    QString decodeText(detail::VariableStore::Cell cell)
    {
        if (!cell.flag)
            return QString::fromUtf8(cell.bytes.data(), qsizetype(cell.bytes.size()));
        QString text(qsizetype(cell.bytes.size() / 2), Qt::Uninitialized);
        std::memcpy(text.data(), cell.bytes.data(), cell.bytes.size() / 2 * 2);
        return text;
    }

    // Date-times are naive wall-clock values: days since the Julian epoch and the time of day,
    // packed into milliseconds.
    constexpr qint64 kMsecsPerDay = 86'400'000;

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

    // The day-count form of a date-time on the wire: whole days since 30 December 1899, the
    // time of day as the fraction.
    QDateTime dateTimeFromDayCount(double days)
    {
        static const QDate epoch(1899, 12, 30);
        const double whole = std::floor(days);
        const auto msecs = qint64(std::llround((days - whole) * double(kMsecsPerDay)));
        return QDateTime(epoch.addDays(qint64(whole)), QTime(0, 0)).addMSecs(msecs);
    }

} // namespace

// ---------------------------------------------------------------------------------------
// One column: its definition, a null mark per row and the values in the store of its type.

struct Column
{
    FieldDef def;
    std::optional<NumberFormat> format;
    detail::BitVector nulls;
    std::vector<qint32> int32s;
    std::vector<qint64> int64s; // Int64 and packed DateTime
    std::vector<double> doubles;
    detail::BitVector booleans;
    detail::VariableStore variable; // Text and Bytes

    explicit Column(FieldDef d)
        : def(std::move(d))
    {
    }

    void appendNulls(int count)
    {
        nulls.resize(nulls.size() + std::size_t(count), true);
        switch (def.type) {
        case FieldType::Int32:
            int32s.resize(int32s.size() + std::size_t(count));
            break;
        case FieldType::Int64:
        case FieldType::DateTime:
            int64s.resize(int64s.size() + std::size_t(count));
            break;
        case FieldType::Double:
            doubles.resize(doubles.size() + std::size_t(count));
            break;
        case FieldType::Boolean:
            booleans.resize(booleans.size() + std::size_t(count), false);
            break;
        case FieldType::Text:
        case FieldType::Bytes:
            variable.appendEmpty(count);
            break;
        }
    }

    void appendNull()
    {
        nulls.pushBack(true);
        switch (def.type) {
        case FieldType::Int32:
            int32s.push_back(0);
            break;
        case FieldType::Int64:
        case FieldType::DateTime:
            int64s.push_back(0);
            break;
        case FieldType::Double:
            doubles.push_back(0.0);
            break;
        case FieldType::Boolean:
            booleans.pushBack(false);
            break;
        case FieldType::Text:
        case FieldType::Bytes:
            variable.appendEmpty();
            break;
        }
    }

    void erase(int row)
    {
        nulls.erase(std::size_t(row));
        switch (def.type) {
        case FieldType::Int32:
            int32s.erase(int32s.begin() + row);
            break;
        case FieldType::Int64:
        case FieldType::DateTime:
            int64s.erase(int64s.begin() + row);
            break;
        case FieldType::Double:
            doubles.erase(doubles.begin() + row);
            break;
        case FieldType::Boolean:
            booleans.erase(std::size_t(row));
            break;
        case FieldType::Text:
        case FieldType::Bytes:
            variable.erase(row);
            break;
        }
    }

    void clear()
    {
        nulls = {};
        int32s = {};
        int64s = {};
        doubles = {};
        booleans = {};
        variable = {};
    }

    void reserve(int rows)
    {
        nulls.reserve(std::size_t(rows));
        switch (def.type) {
        case FieldType::Int32:
            int32s.reserve(std::size_t(rows));
            break;
        case FieldType::Int64:
        case FieldType::DateTime:
            int64s.reserve(std::size_t(rows));
            break;
        case FieldType::Double:
            doubles.reserve(std::size_t(rows));
            break;
        case FieldType::Boolean:
            booleans.reserve(std::size_t(rows));
            break;
        case FieldType::Text:
        case FieldType::Bytes:
            variable.reserve(rows, std::size_t(rows) * 8);
            break;
        }
    }

    std::size_t capacityBytes() const
    {
        return nulls.capacityBytes() + int32s.capacity() * sizeof(qint32) + int64s.capacity() * sizeof(qint64)
            + doubles.capacity() * sizeof(double) + booleans.capacityBytes() + variable.capacityBytes();
    }

    std::size_t spareBytes() const
    {
        return nulls.spareBytes() + (int32s.capacity() - int32s.size()) * sizeof(qint32)
            + (int64s.capacity() - int64s.size()) * sizeof(qint64)
            + (doubles.capacity() - doubles.size()) * sizeof(double) + booleans.spareBytes()
            + variable.spareBytes();
    }

    void squeeze()
    {
        nulls.squeeze();
        int32s.shrink_to_fit();
        int64s.shrink_to_fit();
        doubles.shrink_to_fit();
        booleans.squeeze();
        variable.squeeze();
    }
};

struct RecordSet::Impl
{
    std::vector<Column> columns;
    int rows = 0;
    int current = -1;
    bool editing = false;
    std::string scratch;

    Column &column(int c)
    {
        if (c < 0 || c >= int(columns.size()))
            fail(u"Column index %1 out of range (%2 fields)."_s.arg(c).arg(columns.size()));
        return columns[std::size_t(c)];
    }
    const Column &column(int c) const { return const_cast<Impl *>(this)->column(c); }

    void checkRow(int row) const
    {
        if (row < 0 || row >= rows)
            fail(u"Row index %1 out of range (%2 rows)."_s.arg(row).arg(rows));
    }

    Column &cell(int row, int c)
    {
        checkRow(row);
        return column(c);
    }
    const Column &cell(int row, int c) const
    {
        checkRow(row);
        return column(c);
    }
};

namespace {

    [[noreturn]] void conversionFailure(const Column &col, const QVariant &value)
    {
        fail(u"Value \"%1\" cannot be stored in the %2 field %3."_s.arg(
            value.toString(), typeName(col.def.type), col.def.name));
    }

    bool isIntegral(double d, double lo, double hi)
    {
        return std::isfinite(d) && std::floor(d) == d && d >= lo && d <= hi;
    }

    // Strict conversions: a value that would change on the way in is refused, never rounded.
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

} // namespace

// ---------------------------------------------------------------------------------------

RecordSet::RecordSet()
    : d(std::make_unique<Impl>())
{
}
RecordSet::~RecordSet() = default;
RecordSet::RecordSet(RecordSet &&other) noexcept
    : d(std::exchange(other.d, std::make_unique<Impl>()))
{
}

RecordSet &RecordSet::operator=(RecordSet &&other) noexcept
{
    if (this != &other) {
        d = std::move(other.d);
        other.d = std::make_unique<Impl>();
    }
    return *this;
}

int RecordSet::addField(const QString &name, FieldType type)
{
    if (name.isEmpty())
        fail(u"A field needs a name."_s);
    if (fieldIndex(name) >= 0)
        fail(u"Field %1 already exists."_s.arg(name));
    Column column(FieldDef { name, type, {} });
    column.appendNulls(d->rows);
    d->columns.push_back(std::move(column));
    return int(d->columns.size()) - 1;
}

int RecordSet::fieldCount() const
{
    return int(d->columns.size());
}

const FieldDef &RecordSet::field(int column) const
{
    return d->column(column).def;
}

int RecordSet::fieldIndex(QStringView name) const
{
    for (std::size_t i = 0; i < d->columns.size(); ++i) {
        if (name.compare(d->columns[i].def.name, Qt::CaseInsensitive) == 0)
            return int(i);
    }
    return -1;
}

void RecordSet::setDisplayPattern(int column, const QString &pattern)
{
    Column &col = d->column(column);
    if (pattern.isEmpty()) {
        col.format.reset();
        col.def.displayPattern.clear();
        return;
    }
    if (col.def.type != FieldType::Double)
        fail(u"Field %1 is not a floating-point field; it takes no display pattern."_s.arg(col.def.name));
    QString error;
    auto format = NumberFormat::tryParse(pattern, &error);
    if (!format)
        fail(error);
    col.format = std::move(format);
    col.def.displayPattern = pattern;
}

// ---------------------------------------------------------------------------------------
// The copy rule.

void RecordSet::fillFrom(RecordSet &&result)
{
    if (&result == this)
        return;
    Impl &src = *result.d;
    const std::size_t prescribed = d->columns.size();
    for (std::size_t i = 0; i < src.columns.size() && i < prescribed; ++i) {
        if (src.columns[i].def.name.compare(d->columns[i].def.name, Qt::CaseInsensitive) != 0)
            throw RecordSetError(kCopyRuleMessage);
    }

    // Build the new columns aside, so that a value that fails to convert leaves this set
    // as it was.
    std::vector<Column> columns;
    columns.reserve(std::max(prescribed, src.columns.size()));
    for (std::size_t i = 0; i < std::max(prescribed, src.columns.size()); ++i) {
        if (i >= src.columns.size()) {
            Column col(d->columns[i].def);
            col.format = d->columns[i].format;
            col.appendNulls(src.rows);
            columns.push_back(std::move(col));
            continue;
        }
        Column &from = src.columns[i];
        if (i >= prescribed || from.def.type == d->columns[i].def.type) {
            Column col = std::move(from);
            if (i < prescribed) {
                col.def = d->columns[i].def;
                col.format = d->columns[i].format;
            }
            columns.push_back(std::move(col));
            continue;
        }
        // A prescribed field of another type: convert value by value.
        columns.emplace_back(d->columns[i].def);
        columns.back().format = d->columns[i].format;
        columns.back().reserve(src.rows);
        columns.back().appendNulls(src.rows);
    }
    // Conversions read the result's columns, which are still in place for the converted ones.
    RecordSet staging;
    staging.d->columns = std::move(columns);
    staging.d->rows = src.rows;
    for (std::size_t i = 0; i < src.columns.size() && i < prescribed; ++i) {
        if (src.columns[i].def.type == d->columns[i].def.type)
            continue;
        for (int row = 0; row < src.rows; ++row) {
            if (!src.columns[i].nulls.get(std::size_t(row)))
                staging.setValue(row, int(i), result.value(row, int(i)));
        }
    }

    for (Column &col : staging.d->columns) {
        if (col.spareBytes() * 8 > col.capacityBytes())
            col.squeeze();
    }
    d->columns = std::move(staging.d->columns);
    d->rows = src.rows;
    d->current = d->rows > 0 ? 0 : -1;
    d->editing = false;
    result.d = std::make_unique<Impl>();
}

// ---------------------------------------------------------------------------------------
// Rows.

int RecordSet::rowCount() const
{
    return d->rows;
}

void RecordSet::clearRows()
{
    for (Column &col : d->columns)
        col.clear();
    d->rows = 0;
    d->current = -1;
    d->editing = false;
}

void RecordSet::reserveRows(int rows)
{
    if (rows <= d->rows)
        return;
    for (Column &col : d->columns)
        col.reserve(rows);
}

int RecordSet::appendRow()
{
    if (d->rows == std::numeric_limits<int>::max())
        fail(u"A record set cannot hold more rows."_s);
    for (Column &col : d->columns)
        col.appendNull();
    return d->rows++;
}

void RecordSet::removeRow(int row)
{
    d->checkRow(row);
    for (Column &col : d->columns)
        col.erase(row);
    --d->rows;
    if (d->current > row)
        --d->current;
    if (d->current >= d->rows)
        d->current = d->rows - 1;
    if (d->current == row || d->rows == 0)
        d->editing = false;
}

// ---------------------------------------------------------------------------------------
// Cells.

bool RecordSet::isNull(int row, int column) const
{
    return d->cell(row, column).nulls.get(std::size_t(row));
}

void RecordSet::setNull(int row, int column)
{
    Column &col = d->cell(row, column);
    col.nulls.set(std::size_t(row), true);
    switch (col.def.type) {
    case FieldType::Int32:
        col.int32s[std::size_t(row)] = 0;
        break;
    case FieldType::Int64:
    case FieldType::DateTime:
        col.int64s[std::size_t(row)] = 0;
        break;
    case FieldType::Double:
        col.doubles[std::size_t(row)] = 0.0;
        break;
    case FieldType::Boolean:
        col.booleans.set(std::size_t(row), false);
        break;
    case FieldType::Text:
    case FieldType::Bytes:
        col.variable.set(row, {}, false);
        break;
    }
}

QVariant RecordSet::value(int row, int column) const
{
    const Column &col = d->cell(row, column);
    const auto r = std::size_t(row);
    if (col.nulls.get(r))
        return {};
    switch (col.def.type) {
    case FieldType::Text:
        return decodeText(col.variable.get(row));
    case FieldType::Int32:
        return QVariant(col.int32s[r]);
    case FieldType::Int64:
        return QVariant(col.int64s[r]);
    case FieldType::Double:
        return QVariant(col.doubles[r]);
    case FieldType::DateTime:
        return QVariant(unpackDateTime(col.int64s[r]));
    case FieldType::Boolean:
        return QVariant(col.booleans.get(r));
    case FieldType::Bytes: {
        const auto cell = col.variable.get(row);
        return QVariant(QByteArray(cell.bytes.data(), qsizetype(cell.bytes.size())));
    }
    }
    return {};
}

void RecordSet::setValue(int row, int column, const QVariant &value)
{
    Column &col = d->cell(row, column);
    if (!value.isValid() || value.isNull()) {
        setNull(row, column);
        return;
    }
    switch (col.def.type) {
    case FieldType::Text:
        if (value.metaType().id() == QMetaType::Double)
            setText(row, column, plainNumberText(value.toDouble(), QLocale::c()));
        else if (value.canConvert<QString>())
            setText(row, column, value.toString());
        else
            conversionFailure(col, value);
        return;
    case FieldType::Int32: {
        const auto v = toInt64(value);
        if (!v || *v < std::numeric_limits<qint32>::min() || *v > std::numeric_limits<qint32>::max())
            conversionFailure(col, value);
        setInt32(row, column, qint32(*v));
        return;
    }
    case FieldType::Int64: {
        const auto v = toInt64(value);
        if (!v)
            conversionFailure(col, value);
        setInt64(row, column, *v);
        return;
    }
    case FieldType::Double: {
        const auto v = toDouble(value);
        if (!v)
            conversionFailure(col, value);
        setReal(row, column, *v);
        return;
    }
    case FieldType::DateTime: {
        const auto v = toDateTime(value);
        if (!v)
            conversionFailure(col, value);
        setDateTime(row, column, *v);
        return;
    }
    case FieldType::Boolean: {
        const auto v = toBoolean(value);
        if (!v)
            conversionFailure(col, value);
        setBoolean(row, column, *v);
        return;
    }
    case FieldType::Bytes:
        if (!value.canConvert<QByteArray>())
            conversionFailure(col, value);
        setBytes(row, column, value.toByteArray());
        return;
    }
}

QString RecordSet::text(int row, int column) const
{
    const Column &col = d->cell(row, column);
    if (col.nulls.get(std::size_t(row)))
        return {};
    switch (col.def.type) {
    case FieldType::Text:
        return decodeText(col.variable.get(row));
    case FieldType::Double:
        return plainNumberText(col.doubles[std::size_t(row)], QLocale::c());
    case FieldType::DateTime:
        return unpackDateTime(col.int64s[std::size_t(row)]).toString(Qt::ISODateWithMs);
    case FieldType::Boolean:
        return col.booleans.get(std::size_t(row)) ? u"True"_s : u"False"_s;
    default:
        return value(row, column).toString();
    }
}

qint32 RecordSet::int32(int row, int column) const
{
    const Column &col = d->cell(row, column);
    if (col.def.type == FieldType::Int32)
        return col.int32s[std::size_t(row)];
    if (col.nulls.get(std::size_t(row)))
        return 0;
    const QVariant v = value(row, column);
    const auto n = toInt64(v);
    if (!n || *n < std::numeric_limits<qint32>::min() || *n > std::numeric_limits<qint32>::max())
        fail(u"Field %1 holds \"%2\", which is not a 32-bit integer."_s.arg(col.def.name, v.toString()));
    return qint32(*n);
}

qint64 RecordSet::int64(int row, int column) const
{
    const Column &col = d->cell(row, column);
    if (col.def.type == FieldType::Int64)
        return col.int64s[std::size_t(row)];
    if (col.def.type == FieldType::Int32)
        return col.int32s[std::size_t(row)];
    if (col.nulls.get(std::size_t(row)))
        return 0;
    const QVariant v = value(row, column);
    const auto n = toInt64(v);
    if (!n)
        fail(u"Field %1 holds \"%2\", which is not an integer."_s.arg(col.def.name, v.toString()));
    return *n;
}

double RecordSet::real(int row, int column) const
{
    const Column &col = d->cell(row, column);
    const auto r = std::size_t(row);
    switch (col.def.type) {
    case FieldType::Double:
        return col.doubles[r];
    case FieldType::Int32:
        return col.int32s[r];
    case FieldType::Int64:
        return double(col.int64s[r]);
    default:
        break;
    }
    if (col.nulls.get(r))
        return 0.0;
    const QVariant v = value(row, column);
    const auto n = toDouble(v);
    if (!n)
        fail(u"Field %1 holds \"%2\", which is not a number."_s.arg(col.def.name, v.toString()));
    return *n;
}

QDateTime RecordSet::dateTime(int row, int column) const
{
    const Column &col = d->cell(row, column);
    if (col.nulls.get(std::size_t(row)))
        return {};
    if (col.def.type == FieldType::DateTime)
        return unpackDateTime(col.int64s[std::size_t(row)]);
    const QVariant v = value(row, column);
    const auto dt = toDateTime(v);
    if (!dt)
        fail(u"Field %1 holds \"%2\", which is not a date-time."_s.arg(col.def.name, v.toString()));
    return *dt;
}

bool RecordSet::boolean(int row, int column) const
{
    const Column &col = d->cell(row, column);
    if (col.def.type == FieldType::Boolean)
        return col.booleans.get(std::size_t(row));
    if (col.nulls.get(std::size_t(row)))
        return false;
    const QVariant v = value(row, column);
    const auto b = toBoolean(v);
    if (!b)
        fail(u"Field %1 holds \"%2\", which is not a boolean."_s.arg(col.def.name, v.toString()));
    return *b;
}

QByteArray RecordSet::bytes(int row, int column) const
{
    const Column &col = d->cell(row, column);
    if (col.nulls.get(std::size_t(row)))
        return {};
    if (col.def.type == FieldType::Bytes) {
        const auto cell = col.variable.get(row);
        return QByteArray(cell.bytes.data(), qsizetype(cell.bytes.size()));
    }
    if (col.def.type == FieldType::Text)
        return text(row, column).toUtf8();
    return value(row, column).toByteArray();
}

void RecordSet::setText(int row, int column, QStringView value)
{
    Column &col = d->cell(row, column);
    if (col.def.type != FieldType::Text) {
        setValue(row, column, value.toString());
        return;
    }
    const bool utf16 = encodeText(value, d->scratch);
    col.variable.set(row, d->scratch, utf16);
    col.nulls.set(std::size_t(row), false);
}

void RecordSet::setInt32(int row, int column, qint32 value)
{
    Column &col = d->cell(row, column);
    if (col.def.type != FieldType::Int32) {
        setValue(row, column, QVariant(value));
        return;
    }
    col.int32s[std::size_t(row)] = value;
    col.nulls.set(std::size_t(row), false);
}

void RecordSet::setInt64(int row, int column, qint64 value)
{
    Column &col = d->cell(row, column);
    if (col.def.type != FieldType::Int64) {
        setValue(row, column, QVariant(value));
        return;
    }
    col.int64s[std::size_t(row)] = value;
    col.nulls.set(std::size_t(row), false);
}

void RecordSet::setReal(int row, int column, double value)
{
    Column &col = d->cell(row, column);
    if (col.def.type != FieldType::Double) {
        setValue(row, column, QVariant(value));
        return;
    }
    col.doubles[std::size_t(row)] = value;
    col.nulls.set(std::size_t(row), false);
}

void RecordSet::setDateTime(int row, int column, const QDateTime &value)
{
    Column &col = d->cell(row, column);
    if (col.def.type != FieldType::DateTime) {
        setValue(row, column, QVariant(value));
        return;
    }
    if (!value.isValid()) {
        setNull(row, column);
        return;
    }
    col.int64s[std::size_t(row)] = packDateTime(value);
    col.nulls.set(std::size_t(row), false);
}

void RecordSet::setBoolean(int row, int column, bool value)
{
    Column &col = d->cell(row, column);
    if (col.def.type != FieldType::Boolean) {
        setValue(row, column, QVariant(value));
        return;
    }
    col.booleans.set(std::size_t(row), value);
    col.nulls.set(std::size_t(row), false);
}

void RecordSet::setBytes(int row, int column, const QByteArray &value)
{
    Column &col = d->cell(row, column);
    if (col.def.type != FieldType::Bytes) {
        setValue(row, column, QVariant(value));
        return;
    }
    col.variable.set(row, std::string_view(value.constData(), std::size_t(value.size())), false);
    col.nulls.set(std::size_t(row), false);
}

QString RecordSet::displayText(int row, int column) const
{
    return displayText(row, column, QLocale());
}

QString RecordSet::displayText(int row, int column, const QLocale &locale) const
{
    const Column &col = d->cell(row, column);
    const auto r = std::size_t(row);
    if (col.nulls.get(r))
        return {};
    switch (col.def.type) {
    case FieldType::Double:
        return col.format ? col.format->format(col.doubles[r], locale)
                          : plainNumberText(col.doubles[r], locale);
    case FieldType::DateTime:
        return locale.toString(unpackDateTime(col.int64s[r]), QLocale::ShortFormat);
    case FieldType::Int32:
        return QString::number(col.int32s[r]);
    case FieldType::Int64:
        return QString::number(col.int64s[r]);
    case FieldType::Bytes:
        return u"(BLOB)"_s;
    default:
        return text(row, column);
    }
}

// ---------------------------------------------------------------------------------------
// Cursor and editing.

int RecordSet::currentRow() const
{
    return d->current;
}

void RecordSet::setCurrentRow(int row)
{
    if (row < -1 || row > d->rows)
        fail(u"Row index %1 out of range (%2 rows)."_s.arg(row).arg(d->rows));
    if (row != d->current)
        d->editing = false;
    d->current = row;
}

bool RecordSet::first()
{
    d->editing = false;
    d->current = d->rows > 0 ? 0 : -1;
    return d->rows > 0;
}

bool RecordSet::next()
{
    d->editing = false;
    if (d->current + 1 < d->rows) {
        ++d->current;
        return true;
    }
    d->current = d->rows;
    return false;
}

bool RecordSet::atEnd() const
{
    return d->rows == 0 || d->current >= d->rows;
}

bool RecordSet::locate(QStringView fieldName, const QVariant &value)
{
    const int c = fieldIndex(fieldName);
    if (c < 0)
        fail(u"Field %1 not found."_s.arg(fieldName));
    const Column &col = d->columns[std::size_t(c)];
    int found = -1;
    if (!value.isValid() || value.isNull()) {
        for (int row = 0; row < d->rows && found < 0; ++row)
            if (col.nulls.get(std::size_t(row)))
                found = row;
    } else {
        auto notNull = [&](int row) { return !col.nulls.get(std::size_t(row)); };
        switch (col.def.type) {
        case FieldType::Text:
        case FieldType::Bytes: {
            std::string wanted;
            bool flag = false;
            if (col.def.type == FieldType::Text) {
                flag = encodeText(value.toString(), wanted);
            } else {
                const QByteArray b = value.toByteArray();
                wanted.assign(b.constData(), std::size_t(b.size()));
            }
            int row = -1;
            found = col.variable.findIf([&](detail::VariableStore::Cell cell) {
                ++row;
                return cell.flag == flag && cell.bytes == wanted && notNull(row);
            });
            break;
        }
        case FieldType::Int32:
        case FieldType::Int64: {
            const auto wanted = toInt64(value);
            for (int row = 0; wanted && row < d->rows && found < 0; ++row) {
                const qint64 v = col.def.type == FieldType::Int32 ? col.int32s[std::size_t(row)]
                                                                  : col.int64s[std::size_t(row)];
                if (v == *wanted && notNull(row))
                    found = row;
            }
            break;
        }
        case FieldType::Double: {
            const auto wanted = toDouble(value);
            for (int row = 0; wanted && row < d->rows && found < 0; ++row)
                if (col.doubles[std::size_t(row)] == *wanted && notNull(row))
                    found = row;
            break;
        }
        case FieldType::DateTime: {
            const auto wanted = toDateTime(value);
            const qint64 packed = wanted ? packDateTime(*wanted) : 0;
            for (int row = 0; wanted && row < d->rows && found < 0; ++row)
                if (col.int64s[std::size_t(row)] == packed && notNull(row))
                    found = row;
            break;
        }
        case FieldType::Boolean: {
            const auto wanted = toBoolean(value);
            for (int row = 0; wanted && row < d->rows && found < 0; ++row)
                if (col.booleans.get(std::size_t(row)) == *wanted && notNull(row))
                    found = row;
            break;
        }
        }
    }
    if (found < 0)
        return false;
    setCurrentRow(found);
    return true;
}

void RecordSet::append()
{
    const int row = appendRow();
    d->current = row;
    d->editing = true;
}

void RecordSet::edit()
{
    if (d->current < 0 || d->current >= d->rows)
        fail(u"There is no current row to edit."_s);
    d->editing = true;
}

void RecordSet::post()
{
    if (!d->editing)
        fail(u"The record set is not being edited."_s);
    d->editing = false;
}

bool RecordSet::isEditing() const
{
    return d->editing;
}

std::size_t RecordSet::storageBytes() const
{
    std::size_t total = 0;
    for (const Column &col : d->columns)
        total += col.capacityBytes();
    return total;
}

void RecordSet::squeeze()
{
    for (Column &col : d->columns)
        col.squeeze();
}

// ---------------------------------------------------------------------------------------

bool hasRows(const RecordSet &set)
{
    return set.rowCount() > 0;
}

bool anySelected(RecordSet &set)
{
    if (!hasRows(set))
        return false;
    const int sec = set.fieldIndex(u"SEC");
    if (sec < 0)
        fail(u"Field SEC not found."_s);
    for (bool more = set.first(); more; more = set.next()) {
        const int row = set.currentRow();
        if (!set.isNull(row, sec) && set.real(row, sec) == 1.0)
            return true;
    }
    return false;
}

void applyFloatDisplayPattern(RecordSet &set)
{
    for (int c = 0; c < set.fieldCount(); ++c) {
        if (set.field(c).type == FieldType::Double)
            set.setDisplayPattern(c, floatDisplayPattern());
    }
}

} // namespace morvex
