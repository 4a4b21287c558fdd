// libFuzzer target over what a client reads from a server: the envelope parser with the reply
// handling of prepare and execute (parameters, table announcements, rows), the row codec for
// every data type, table batches decoded into a record set, and encode/decode round trips of
// values taken from the input.

#include "core/data/RecordSet.h"
#include "core/wire/ByteReader.h"
#include "core/wire/Message.h"
#include "core/wire/ParameterCodec.h"
#include "core/wire/RowCodec.h"
#include "core/wire/TableCodec.h"
#include "core/wire/ValueCodec.h"
#include "core/wire/WireError.h"
#include "core/wire/WireStream.h"

#include <cstdint>
#include <cstring>

using namespace morvex;
using namespace morvex::wire;

namespace {

void check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

const DataType kTypes[] = {
    DataType::AnsiString, DataType::Date,     DataType::Blob,      DataType::Boolean,   DataType::Int16,
    DataType::Int32,      DataType::Double,   DataType::Bcd,       DataType::Bytes,     DataType::Time,
    DataType::DateTime,   DataType::UInt16,   DataType::VarBytes,  DataType::Int64,     DataType::Table,
    DataType::TimeStamp,  DataType::Currency, DataType::WideString, DataType::Single,   DataType::Int8,
    DataType::UInt8,      DataType::BinaryBlob, DataType::Variant, DataType::TimeStampOffset,
    DataType::JsonValue,  DataType::Callback,
};

std::vector<ColumnSpec> allColumns()
{
    std::vector<ColumnSpec> columns;
    int i = 0;
    for (const DataType t : kTypes) {
        if (t == DataType::Table || t == DataType::Callback)
            continue;
        columns.push_back({QStringLiteral("C%1").arg(i++), t, t == DataType::Blob && i % 2 ? 22 : 0});
    }
    return columns;
}

void decodeRow(const QByteArray &row, const std::vector<ParamSpec> &specs)
{
    RowReader reader(row);
    for (size_t i = 0; !reader.atEnd(); ++i) {
        const ParamSpec &spec = specs[i % specs.size()];
        DecodedParam d = decodeValue(reader.next(), spec);
        if (d.more)
            d.value = finishText(spec, d.partial + QByteArray("tail"));
        if (d.value.kind() == WireValue::Kind::Stream)
            d.value.toStream()->readAll();
    }
}

void decodeTable(const std::vector<ColumnSpec> &columns, const QByteArray &batch)
{
    RecordSet set;
    TableDecoder decoder(columns, set);
    decoder.decodeBatch(batch.constData(), batch.size(), [](int, int) { return QByteArray("\x61\x62", 2); });
    for (int r = 0; r < set.rowCount(); ++r) {
        for (int c = 0; c < set.fieldCount(); ++c)
            set.value(r, c);
    }
}

// The reply side of a client: messages until the input ends, each handled as prepare and
// execute replies are.
void replies(const QByteArray &input)
{
    EndOfInputSource end;
    ByteReader reader(end, input);
    std::vector<ParamSpec> params = {{QStringLiteral("p"), DataType::WideString, 0, Direction::In},
                                     {QStringLiteral("r"), DataType::Int32, 0, Direction::Return}};
    std::vector<TableMeta> tables;
    for (int n = 0; n < 64; ++n) {
        const Node message = readMessage(reader);
        const Node &value = message.firstValue();
        const QString key = message.firstKey();
        if (key == QStringLiteral("data") && !tables.empty()) {
            const RawBlock block = rawBlockOf(value, "batch");
            try {
                decodeTable(tables.front().columns, block.bytes);
            } catch (const ProtocolError &) {
            }
            continue;
        }
        if (key != QStringLiteral("result") || !value.isArray())
            continue;
        for (const Node &part : value.items) {
            try {
                if (const Node *p = part.member(u"parameters")) {
                    auto parsed = parseParameters(*p);
                    if (!parsed.empty())
                        params = std::move(parsed);
                } else if (const Node *t = part.member(u"table")) {
                    TableMeta meta = parseTableMeta(*t);
                    if (meta.columns.size() <= 256)
                        tables.push_back(std::move(meta));
                } else if (const Node *d = part.member(u"data")) {
                    decodeRow(rawBlockOf(*d, "row").bytes, params);
                }
            } catch (const ProtocolError &) {
            }
        }
    }
}

template<typename T>
T take(const uint8_t *&data, size_t &size)
{
    T value{};
    const size_t n = std::min(size, sizeof(T));
    std::memcpy(&value, data, n);
    data += n;
    size -= n;
    return value;
}

// Values taken from the input must read back exactly as they were written.
void roundTrips(const uint8_t *data, size_t size)
{
    const auto i64 = take<qint64>(data, size);
    const auto bits = take<quint64>(data, size);
    const auto ms = take<qint64>(data, size) % (qint64(400) * 365 * 86'400'000);
    RowWriter w;
    w.writeInteger(i64);
    double real;
    std::memcpy(&real, &bits, sizeof real);
    w.writeDouble(real);
    w.writeTimestampMs(ms);
    QString text(qsizetype(size / 2), Qt::Uninitialized);
    std::memcpy(text.data(), data, size / 2 * 2);
    const QByteArray encoded = encodeWideString(text);
    w.writeStringBytes(encoded.constData(), encoded.size(), 65535);

    RowReader r(w.bytes());
    check(decodeInteger(r.next()) == i64);
    const double back = decodeDouble(r.next());
    check(std::memcmp(&back, &real, sizeof back) == 0);
    check(decodeTimestampMs(r.next()) == ms);
    const RawField f = r.next();
    if (!f.flag)
        check(decodeWideString(decodeBytes(f)) == text);
    check(r.atEnd());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    try {
        replies(input);
    } catch (const WireError &) {
    }
    static const std::vector<ParamSpec> specs = [] {
        std::vector<ParamSpec> s;
        for (const DataType t : kTypes)
            s.push_back({QStringLiteral("p"), t, 0, Direction::Return});
        return s;
    }();
    try {
        decodeRow(input, specs);
    } catch (const WireError &) {
    }
    static const std::vector<ColumnSpec> columns = allColumns();
    try {
        decodeTable(columns, input);
    } catch (const WireError &) {
    }
    roundTrips(data, size);
    return 0;
}
