#include "core/data/RecordSet.h"

#include "core/data/CellValues.h"
#include "core/data/ColumnStore.h"
#include "core/data/NumberFormat.h"
#include "core/data/VariableStore.h"

#include <bit>
#include <cmath>
#include <cstring>
#include <limits>
#include <optional>
#include <string>

using namespace Qt::StringLiterals;

namespace morvex {

using namespace detail;

namespace {

    constexpr qint64 kMsPerDay = 86'400'000;
    constexpr qint64 kJulianDay1970 = 2'440'588;
    // The years 1 to 9999 either side of 1970, where the packed form needs no range check.
    constexpr qint64 kMinDateTimeMs = -719'162 * kMsPerDay;
    constexpr qint64 kMaxDateTimeMs = 2'932'897 * kMsPerDay;

    const char kCopyRuleMessage[] = "Additional columns must be added after the prescribed columns.";

    [[noreturn]] void fail(const QString &message)
    {
        throw RecordSetError(message.toStdString());
    }

} // namespace

struct RecordSet::Impl
{
    std::vector<ColumnStore> columns;
    int rows = 0;
    int current = -1;
    bool editing = false;
    std::string scratch;

    ColumnStore &column(int c)
    {
        if (c < 0 || c >= int(columns.size()))
            fail(u"Column index %1 out of range (%2 fields)."_s.arg(c).arg(columns.size()));
        return columns[std::size_t(c)];
    }
    const ColumnStore &column(int c) const { return const_cast<Impl *>(this)->column(c); }

    void checkRow(int row) const
    {
        if (row < 0 || row >= rows)
            fail(u"Row index %1 out of range (%2 rows)."_s.arg(row).arg(rows));
    }

    ColumnStore &cell(int row, int c)
    {
        checkRow(row);
        return column(c);
    }
    const ColumnStore &cell(int row, int c) const
    {
        checkRow(row);
        return column(c);
    }
};

namespace {

    [[noreturn]] void conversionFailure(const ColumnStore &col, const QVariant &value)
    {
        fail(u"Value \"%1\" cannot be stored in the %2 field %3."_s.arg(
            value.toString(), typeName(col.def.type), col.def.name));
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
    ColumnStore column(FieldDef { name, type, {} });
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
    ColumnStore &col = d->column(column);
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
    std::vector<ColumnStore> columns;
    columns.reserve(std::max(prescribed, src.columns.size()));
    for (std::size_t i = 0; i < std::max(prescribed, src.columns.size()); ++i) {
        if (i >= src.columns.size()) {
            ColumnStore col(d->columns[i].def);
            col.format = d->columns[i].format;
            col.appendNulls(src.rows);
            columns.push_back(std::move(col));
            continue;
        }
        ColumnStore &from = src.columns[i];
        if (i >= prescribed || from.def.type == d->columns[i].def.type) {
            ColumnStore col = std::move(from);
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

    for (ColumnStore &col : staging.d->columns) {
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
    for (ColumnStore &col : d->columns)
        col.clear();
    d->rows = 0;
    d->current = -1;
    d->editing = false;
}

void RecordSet::reserveRows(int rows)
{
    if (rows <= d->rows)
        return;
    for (ColumnStore &col : d->columns)
        col.reserve(rows);
}

int RecordSet::appendRow()
{
    if (d->rows == std::numeric_limits<int>::max())
        fail(u"A record set cannot hold more rows."_s);
    for (ColumnStore &col : d->columns)
        col.appendNull();
    return d->rows++;
}

void RecordSet::removeRow(int row)
{
    d->checkRow(row);
    for (ColumnStore &col : d->columns)
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
    d->cell(row, column).setNull(row);
}

QVariant RecordSet::value(int row, int column) const
{
    const ColumnStore &col = d->cell(row, column);
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
    ColumnStore &col = d->cell(row, column);
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
    const ColumnStore &col = d->cell(row, column);
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
    const ColumnStore &col = d->cell(row, column);
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
    const ColumnStore &col = d->cell(row, column);
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
    const ColumnStore &col = d->cell(row, column);
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
    const ColumnStore &col = d->cell(row, column);
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
    const ColumnStore &col = d->cell(row, column);
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
    const ColumnStore &col = d->cell(row, column);
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
    ColumnStore &col = d->cell(row, column);
    if (col.def.type != FieldType::Text) {
        setValue(row, column, value.toString());
        return;
    }
    const bool utf16 = encodeText(value, d->scratch);
    col.variable.set(row, d->scratch, utf16);
    col.nulls.set(std::size_t(row), false);
}

namespace {

// A typed write into a column of that type; any other column converts through setValue.
template<auto Store, typename T>
bool storeTyped(ColumnStore &col, FieldType type, int row, T value)
{
    if (col.def.type != type)
        return false;
    (col.*Store)[std::size_t(row)] = value;
    col.nulls.set(std::size_t(row), false);
    return true;
}

} // namespace

void RecordSet::setInt32(int row, int column, qint32 value)
{
    if (!storeTyped<&ColumnStore::int32s>(d->cell(row, column), FieldType::Int32, row, value))
        setValue(row, column, QVariant(value));
}

void RecordSet::setInt64(int row, int column, qint64 value)
{
    if (!storeTyped<&ColumnStore::int64s>(d->cell(row, column), FieldType::Int64, row, value))
        setValue(row, column, QVariant(value));
}

void RecordSet::setReal(int row, int column, double value)
{
    if (!storeTyped<&ColumnStore::doubles>(d->cell(row, column), FieldType::Double, row, value))
        setValue(row, column, QVariant(value));
}

void RecordSet::setDateTime(int row, int column, const QDateTime &value)
{
    ColumnStore &col = d->cell(row, column);
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
    ColumnStore &col = d->cell(row, column);
    if (col.def.type != FieldType::Boolean) {
        setValue(row, column, QVariant(value));
        return;
    }
    col.booleans.set(std::size_t(row), value);
    col.nulls.set(std::size_t(row), false);
}

void RecordSet::setBytes(int row, int column, const QByteArray &value)
{
    ColumnStore &col = d->cell(row, column);
    if (col.def.type != FieldType::Bytes) {
        setValue(row, column, QVariant(value));
        return;
    }
    col.variable.set(row, std::string_view(value.constData(), std::size_t(value.size())), false);
    col.nulls.set(std::size_t(row), false);
}

void RecordSet::setTextLatin1(int row, int column, std::string_view latin1)
{
    ColumnStore &col = d->cell(row, column);
    if (col.def.type != FieldType::Text) {
        setText(row, column, QString::fromLatin1(latin1.data(), qsizetype(latin1.size())));
        return;
    }
    // Latin-1 is the first 256 code points: one UTF-8 byte below 0x80, two from there on.
    std::size_t high = 0;
    std::size_t i = 0;
    for (std::uint64_t word; i + 8 <= latin1.size(); i += 8) {
        std::memcpy(&word, latin1.data() + i, 8);
        high += std::size_t(std::popcount(word & 0x8080808080808080ull));
    }
    for (; i < latin1.size(); ++i)
        high += std::uint8_t(latin1[i]) >> 7;
    char *o;
    if (row == d->rows - 1) {
        o = col.variable.resizeLast(latin1.size() + high, false);
    } else {
        d->scratch.resize(latin1.size() + high);
        o = d->scratch.data();
    }
    if (high == 0) {
        if (!latin1.empty())
            std::memcpy(o, latin1.data(), latin1.size());
    } else {
        for (const char ch : latin1) {
            const auto c = std::uint8_t(ch);
            if (c < 0x80) {
                *o++ = char(c);
            } else {
                *o++ = char(0xc0 | (c >> 6));
                *o++ = char(0x80 | (c & 0x3f));
            }
        }
    }
    if (row != d->rows - 1)
        col.variable.set(row, d->scratch, false);
    col.nulls.set(std::size_t(row), false);
}

void RecordSet::setDateTimeMs(int row, int column, qint64 msSince1970)
{
    ColumnStore &col = d->cell(row, column);
    if (col.def.type != FieldType::DateTime || msSince1970 < kMinDateTimeMs || msSince1970 > kMaxDateTimeMs) {
        qint64 day = msSince1970 / kMsPerDay;
        qint64 ms = msSince1970 % kMsPerDay;
        if (ms < 0) {
            ms += kMsPerDay;
            --day;
        }
        setDateTime(row, column,
                    QDateTime(QDate::fromJulianDay(day + kJulianDay1970), QTime::fromMSecsSinceStartOfDay(int(ms))));
        return;
    }
    col.int64s[std::size_t(row)] = msSince1970 + kJulianDay1970 * kMsPerDay;
    col.nulls.set(std::size_t(row), false);
}

QString RecordSet::displayText(int row, int column) const
{
    return displayText(row, column, QLocale());
}

QString RecordSet::displayText(int row, int column, const QLocale &locale) const
{
    const ColumnStore &col = d->cell(row, column);
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
    const ColumnStore &col = d->columns[std::size_t(c)];
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
    for (const ColumnStore &col : d->columns)
        total += col.capacityBytes();
    return total;
}

void RecordSet::squeeze()
{
    for (ColumnStore &col : d->columns)
        col.squeeze();
}

// ---------------------------------------------------------------------------------------
// Sequential column reading.

ColumnReader::ColumnReader(const RecordSet &set, int column, int row)
    : m_type(set.d->column(column).def.type)
    , m_row(row)
    , m_rows(set.d->rows)
{
    if (row < 0 || row > m_rows)
        fail(u"Row index %1 out of range (%2 rows)."_s.arg(row).arg(m_rows));
    const ColumnStore &col = set.d->columns[std::size_t(column)];
    if (m_rows == 0)
        return;
    m_nulls = col.nulls.words();
    switch (m_type) {
    case FieldType::Int32:
        m_int32s = col.int32s.data();
        break;
    case FieldType::Int64:
    case FieldType::DateTime:
        m_int64s = col.int64s.data();
        break;
    case FieldType::Double:
        m_doubles = col.doubles.data();
        break;
    case FieldType::Boolean:
        m_booleans = col.booleans.words();
        break;
    case FieldType::Text:
    case FieldType::Bytes:
        m_arena = col.variable.arena();
        if (m_row < m_rows) {
            m_offset = col.variable.offsetOfRow(m_row);
            loadCell();
        }
        break;
    }
}

void ColumnReader::pastTheEnd() const
{
    fail(u"Row index %1 out of range (%2 rows)."_s.arg(m_row).arg(m_rows));
}

qint64 ColumnReader::dateTimeMs() const
{
    if (m_type != FieldType::DateTime || bit(m_nulls, m_row))
        return 0;
    return m_int64s[m_row] - kJulianDay1970 * kMsPerDay;
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
