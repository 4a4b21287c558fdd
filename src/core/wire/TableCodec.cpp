#include "core/wire/TableCodec.h"

#include "core/wire/Message.h"
#include "core/wire/RowCodec.h"
#include "core/wire/WireChoices.h"
#include "core/wire/WireError.h"

#include <QDate>
#include <QDateTime>
#include <QTime>

#include <cstring>
#include <limits>
#include <string>

using namespace Qt::StringLiterals;

namespace morvex::wire {

namespace {

constexpr qint64 kMsPerDay = 86'400'000;
constexpr qint64 kJulianDay1970 = 2'440'588;
// 1899-12-30 00:00, the day a bare time of day belongs to, in ms since 1970.
constexpr qint64 kDay18991230Ms = -25'569 * kMsPerDay;

[[noreturn]] void fail(const QString &what)
{
    throw ProtocolError(what);
}

int intOf(const Node &node, const char *what)
{
    const qint64 v = node.asInteger(what);
    if (v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max())
        fail(u"%1 out of range"_s.arg(QLatin1StringView(what)));
    return int(v);
}

} // namespace

TableMeta parseTableMeta(const Node &table)
{
    TableMeta meta;
    bool haveColumns = false;
    if (!table.isArray())
        fail(u"A table announcement that is not an array"_s);
    for (const Node &part : table.items) {
        if (const Node *fields = part.member(u"fields")) {
            meta.commandHandle = intOf(fields->item(0, "table command handle"), "table command handle");
            meta.updateable = fields->item(1, "table updateable").asBoolean("table updateable");
            meta.rowHandle = intOf(fields->item(2, "table row handle"), "table row handle");
            meta.bcdFormat = intOf(fields->item(3, "table BCD format"), "table BCD format");
            meta.dbxFlags = fields->items.size() > 4 && fields->items[4].kind == Node::Kind::Boolean
                && fields->items[4].boolean;
        } else if (const Node *columns = part.member(u"columns")) {
            const int n = intOf(columns->item(0, "column count"), "column count");
            if (n < 0 || qsizetype(columns->items.size()) != qsizetype(n) + 1)
                fail(u"A table announces %1 columns but describes %2"_s.arg(n).arg(qsizetype(columns->items.size()) - 1));
            for (int i = 1; i <= n; ++i) {
                const Node &c = columns->items[size_t(i)];
                ColumnSpec col;
                col.name = c.item(0, "column name").asString("column name");
                col.type = DataType(intOf(c.item(1, "column type"), "column type"));
                col.subType = intOf(c.item(2, "column subtype"), "column subtype");
                col.precision = intOf(c.item(3, "column precision"), "column precision");
                col.scale = intOf(c.item(4, "column scale"), "column scale");
                col.size = intOf(c.item(5, "column size"), "column size");
                col.flags = intOf(c.item(6, "column flags"), "column flags");
                meta.columns.push_back(std::move(col));
            }
            haveColumns = true;
        }
    }
    if (!haveColumns)
        fail(u"A table announcement without columns"_s);
    return meta;
}

void writeTableMeta(MessageWriter &w, const TableMeta &meta)
{
    w.raw("{\"table\":[{\"fields\":[")
        .integer(meta.commandHandle)
        .raw(",")
        .boolean(meta.updateable)
        .raw(",")
        .integer(meta.rowHandle)
        .raw(",")
        .integer(meta.bcdFormat)
        .raw(",")
        .boolean(meta.dbxFlags)
        .raw("]},{\"columns\":[")
        .integer(qint64(meta.columns.size()));
    for (const ColumnSpec &c : meta.columns) {
        w.raw(",[")
            .string(c.name)
            .raw(",")
            .integer(int(c.type))
            .raw(",")
            .integer(c.subType)
            .raw(",")
            .integer(c.precision)
            .raw(",")
            .integer(c.scale)
            .raw(",")
            .integer(c.size)
            .raw(",")
            .integer(c.flags)
            .raw(",0]");
    }
    w.raw("]}]}");
}

std::optional<FieldType> fieldTypeFor(const ColumnSpec &column)
{
    switch (column.type) {
    case DataType::AnsiString:
    case DataType::WideString:
    case DataType::TimeStampOffset:
    case DataType::JsonValue:
        return FieldType::Text;
    case DataType::Blob:
        return isMemoSubType(column.subType) ? FieldType::Text : FieldType::Bytes;
    case DataType::Bytes:
    case DataType::VarBytes:
    case DataType::BinaryBlob:
    case DataType::Variant:
        return FieldType::Bytes;
    case DataType::Boolean:
        return FieldType::Boolean;
    case DataType::Int8:
    case DataType::UInt8:
    case DataType::Int16:
    case DataType::UInt16:
    case DataType::Int32:
        return FieldType::Int32;
    case DataType::Int64:
        return FieldType::Int64;
    case DataType::Double:
    case DataType::Single:
    case DataType::Bcd:
    case DataType::Currency:
        return FieldType::Double;
    case DataType::Date:
    case DataType::Time:
    case DataType::DateTime:
    case DataType::TimeStamp:
        return FieldType::DateTime;
    default:
        return std::nullopt;
    }
}

ColumnSpec columnFor(const FieldDef &field)
{
    ColumnSpec c;
    c.name = field.name;
    c.flags = kDefaultColumnFlags;
    switch (field.type) {
    case FieldType::Text: c.type = DataType::WideString; break;
    case FieldType::Int32: c.type = DataType::Int32; c.size = 4; break;
    case FieldType::Int64: c.type = DataType::Int64; c.size = 8; break;
    case FieldType::Double: c.type = DataType::Double; c.size = 8; break;
    case FieldType::DateTime: c.type = DataType::DateTime; c.size = 8; break;
    case FieldType::Boolean: c.type = DataType::Boolean; c.size = 2; break;
    case FieldType::Bytes: c.type = DataType::Blob; c.subType = int(SubType::Binary); break;
    }
    return c;
}

TableDecoder::TableDecoder(const std::vector<ColumnSpec> &columns, RecordSet &target)
    : m_target(target)
{
    for (const ColumnSpec &c : columns) {
        const std::optional<FieldType> type = fieldTypeFor(c);
        if (!type)
            fail(u"Column \"%1\" has data type %2, which the client cannot hold"_s.arg(c.name).arg(int(c.type)));
        Cell cell;
        switch (c.type) {
        case DataType::AnsiString: cell = Cell::AnsiText; break;
        case DataType::Int64: cell = Cell::Int64; break;
        case DataType::Single: cell = Cell::Single; break;
        case DataType::Bcd:
        case DataType::Currency: cell = Cell::Decimal; break;
        case DataType::Date: cell = Cell::Date; break;
        case DataType::Time: cell = Cell::Time; break;
        case DataType::DateTime:
        case DataType::TimeStamp: cell = Cell::Timestamp; break;
        default:
            switch (*type) {
            case FieldType::Text: cell = Cell::WideText; break;
            case FieldType::Bytes: cell = Cell::Bytes; break;
            case FieldType::Boolean: cell = Cell::Boolean; break;
            case FieldType::Int32: cell = Cell::Int32; break;
            case FieldType::Double: cell = Cell::Double; break;
            default: cell = Cell::Int64; break;
            }
        }
        m_cells.push_back(cell);
        try {
            target.addField(c.name, *type);
        } catch (const std::exception &e) {
            fail(u"Column \"%1\" cannot be added: %2"_s.arg(c.name, QString::fromUtf8(e.what())));
        }
    }
}

void TableDecoder::decodeBatch(const char *data, qsizetype size, const FetchRest &fetchRest)
{
    const int columns = int(m_cells.size());
    if (columns == 0) {
        if (size != 0)
            fail(u"A table without columns carries %1 bytes of rows"_s.arg(size));
        return;
    }
    RowReader reader(data, size);
    while (!reader.atEnd()) {
        const qsizetype rowStart = reader.position();
        const int row = m_target.appendRow();
        for (int c = 0; c < columns; ++c) {
            if (reader.atEnd())
                fail(u"Row %1 of the table ends after %2 of its %3 columns (batch byte %4)"_s.arg(row)
                         .arg(c)
                         .arg(columns)
                         .arg(rowStart));
            const RawField field = reader.next();
            if (!field.isNull())
                decodeCell(field, row, c, fetchRest);
        }
    }
}

int TableDecoder::scanBatch(const char *data, qsizetype size, bool &continued) const
{
    continued = false;
    const int columns = int(m_cells.size());
    if (columns == 0)
        return 0;
    RowReader reader(data, size);
    int rows = 0;
    while (!reader.atEnd()) {
        for (int c = 0; c < columns; ++c) {
            if (reader.atEnd())
                fail(u"Row %1 of the table ends after %2 of its %3 columns"_s.arg(rowCount() + rows).arg(c).arg(columns));
            const RawField f = reader.next();
            switch (m_cells[size_t(c)]) {
            case Cell::WideText:
            case Cell::AnsiText:
            case Cell::Bytes:
            case Cell::Decimal:
                continued = continued || ((f.kind == RawField::Kind::Tiny || f.kind == RawField::Kind::Big) && f.flag);
                break;
            default:
                break;
            }
        }
        ++rows;
    }
    return rows;
}

void TableDecoder::setWideText(int row, int column, const char *data, qsizetype size)
{
    // Most texts never reach the 0xFF switch: Latin-1 goes into the set as it is.
    if (!std::memchr(data, 0xFF, size_t(size))) {
        m_target.setTextLatin1(row, column, std::string_view(data, size_t(size)));
        return;
    }
    decodeWideStringInto(data, size, m_units);
    m_target.setText(row, column, QStringView(m_units.data(), qsizetype(m_units.size())));
}

void TableDecoder::decodeCell(const RawField &field, int row, int column, const FetchRest &fetchRest)
{
    auto payload = [&]() {
        QByteArray bytes = decodeBytes(field);
        if (field.flag) {
            if (!fetchRest)
                fail(u"A table cell continues beyond its batch"_s);
            bytes += fetchRest(row, column);
        }
        return bytes;
    };
    try {
        switch (m_cells[size_t(column)]) {
        case Cell::WideText: {
            if (field.kind == RawField::Kind::Json) {
                m_target.setText(row, column, QString::fromUtf8(field.data, field.size));
                break;
            }
            if (!field.flag && field.kind != RawField::Kind::Legacy) {
                setWideText(row, column, field.data, field.size);
                break;
            }
            const QByteArray bytes = payload();
            setWideText(row, column, bytes.constData(), bytes.size());
            break;
        }
        case Cell::AnsiText: m_target.setText(row, column, decodeAnsiString(payload())); break;
        case Cell::Int32: {
            const qint64 v = decodeInteger(field);
            if (v < std::numeric_limits<qint32>::min() || v > std::numeric_limits<qint32>::max())
                fail(u"Value %1 does not fit a 32-bit column"_s.arg(v));
            m_target.setInt32(row, column, qint32(v));
            break;
        }
        case Cell::Int64: m_target.setInt64(row, column, decodeInteger(field)); break;
        case Cell::Double: m_target.setReal(row, column, decodeDouble(field)); break;
        case Cell::Single: m_target.setReal(row, column, double(decodeSingle(field))); break;
        case Cell::Decimal: {
            bool ok = false;
            const double v = QByteArray(payload()).toDouble(&ok);
            if (!ok)
                fail(u"Decimal text \"%1\" is not a number"_s.arg(QString::fromLatin1(field.bytes())));
            m_target.setReal(row, column, v);
            break;
        }
        case Cell::Boolean: m_target.setBoolean(row, column, decodeBoolean(field)); break;
        case Cell::Date: m_target.setDateTimeMs(row, column, packedDateToMs(decodeInteger(field))); break;
        case Cell::Time: {
            const qint64 ms = decodeInteger(field);
            if (ms < 0 || ms >= kMsPerDay)
                fail(u"Time of day %1 ms out of range"_s.arg(ms));
            m_target.setDateTimeMs(row, column, kDay18991230Ms + ms);
            break;
        }
        case Cell::Timestamp: m_target.setDateTimeMs(row, column, decodeTimestampMs(field)); break;
        case Cell::Bytes: m_target.setBytes(row, column, payload()); break;
        }
    } catch (const ProtocolError &e) {
        fail(u"Row %1, column \"%2\": %3"_s.arg(row).arg(m_target.field(column).name, e.message()));
    }
}

TableEncoder::TableEncoder(const RecordSet &source, int threshold, std::function<int(qsizetype)> inlineCapacity)
    : m_source(source)
    , m_threshold(threshold)
    , m_inlineCapacity(std::move(inlineCapacity))
{
    for (int c = 0; c < source.fieldCount(); ++c)
        m_columns.push_back(columnFor(source.field(c)));
}

QByteArray TableEncoder::nextBatch(std::vector<PendingCell> &pending)
{
    RowWriter w;
    w.reserve(m_threshold + 4096);
    const int rows = m_source.rowCount();
    const int columns = m_source.fieldCount();
    // One reader a column walks the rows of this batch in their stored form.
    std::vector<ColumnReader> readers;
    readers.reserve(size_t(columns));
    for (int c = 0; c < columns; ++c)
        readers.emplace_back(m_source, c, m_nextRow);
    std::u16string units;
    while (m_nextRow < rows && w.size() < m_threshold) {
        const int row = m_nextRow++;
        for (int c = 0; c < columns; ++c) {
            ColumnReader &r = readers[size_t(c)];
            if (r.isNull()) {
                w.writeNull();
                r.next();
                continue;
            }
            switch (r.type()) {
            case FieldType::Text: {
                QByteArray rest;
                if (!r.utf16()) {
                    rest = w.writeTextUtf8(r.bytes(), m_inlineCapacity(w.size()));
                } else {
                    // A text with an unpaired surrogate is kept as its UTF-16 units.
                    units.resize(r.bytes().size() / 2);
                    std::memcpy(units.data(), r.bytes().data(), units.size() * 2);
                    rest = w.writeText(QStringView(units.data(), qsizetype(units.size())), m_inlineCapacity(w.size()));
                }
                if (!rest.isEmpty())
                    pending.push_back({row, c, std::move(rest)});
                break;
            }
            case FieldType::Int32: w.writeInteger(r.int32()); break;
            case FieldType::Int64: w.writeInteger(r.int64()); break;
            case FieldType::Double: w.writeDouble(r.real()); break;
            case FieldType::DateTime: w.writeTimestampMs(r.dateTimeMs()); break;
            case FieldType::Boolean: w.writeBoolean(r.boolean()); break;
            case FieldType::Bytes: {
                const std::string_view bytes = r.bytes();
                const qsizetype size = qsizetype(bytes.size());
                const qsizetype n = std::min<qsizetype>(size, m_inlineCapacity(w.size()));
                w.writeStreamBytes(bytes.data(), n, n < size);
                if (n < size)
                    pending.push_back({row, c, QByteArray(bytes.data() + n, size - n)});
                break;
            }
            }
            r.next();
        }
    }
    return w.take();
}

} // namespace morvex::wire
