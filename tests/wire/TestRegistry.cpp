#include "TestRegistry.h"

#include "Conversation.h"
#include "StockTable.h"
#include "core/data/RecordSet.h"
#include "core/wire/WireChoices.h"
#include "core/wire/WireError.h"
#include "core/wire/WireStream.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <stdexcept>

using namespace Qt::StringLiterals;

namespace morvex::test {

ParamSpec TestRegistry::in(const QString &name, DataType type, int subType)
{
    return {name, type, subType, Direction::In};
}

ParamSpec TestRegistry::out(const QString &name, DataType type, int subType)
{
    return {name, type, subType, Direction::Out};
}

ParamSpec TestRegistry::result(DataType type, int subType)
{
    return {kReturnParameterName, type, subType, Direction::Return};
}

void TestRegistry::add(MethodSignature signature, Handler handler)
{
    const QString key = signature.name.toLower();
    m_methods[key] = {std::move(signature), std::move(handler)};
}

const MethodSignature *TestRegistry::find(QStringView classDotMethod) const
{
    auto it = m_methods.find(classDotMethod.toString().toLower());
    return it == m_methods.end() ? nullptr : &it->second.first;
}

void TestRegistry::invoke(const MethodSignature &method, std::vector<WireValue> &params) const
{
    m_methods.at(method.name.toLower()).second(params);
}

TestRegistry::TestRegistry()
{
    add({u"TServerMethods1.EchoString"_s, {in(u"Value"_s, DataType::WideString), result(DataType::WideString)}},
        [](std::vector<WireValue> &p) { p[1] = p[0].isNull() ? WireValue() : WireValue::text(p[0].toText()); });

    add({u"TServerMethods1.GetParts"_s, {result(DataType::Table)}}, [](std::vector<WireValue> &p) {
        auto set = std::make_shared<RecordSet>();
        set->addField(u"PartNo"_s, FieldType::Text);
        set->addField(u"Qty"_s, FieldType::Int32);
        const std::pair<QString, int> rows[] = {{u"A1"_s, 5}, {u"B22"_s, 300}, {u"C"_s, -1}};
        for (const auto &[part, qty] : rows) {
            const int r = set->appendRow();
            set->setText(r, 0, part);
            set->setInt32(r, 1, qty);
        }
        p[0] = WireValue::table(set);
    });

    add({u"TServerMethods1.GetPdf"_s, {result(DataType::BinaryBlob, wire::kStreamParameterSubType)}},
        [](std::vector<WireValue> &p) { p[0] = WireValue::stream(std::make_shared<ByteArrayStream>(testBlob(0, 3000))); });

    add({u"TServerMethods1.AddLine"_s,
         {in(u"Line"_s, DataType::JsonValue, int(SubType::ObjectForm)), result(DataType::Int32)}},
        [](std::vector<WireValue> &p) {
            const QJsonObject line = QJsonDocument::fromJson(p[0].toJson()).object();
            if (line.value(u"type"_s).toString() != u"uOrders.TOrderLine"_s)
                throw std::runtime_error("not an order line");
            p[1] = WireValue::int32(1001);
        });

    add({u"TServerMethods1.FindPart"_s, {in(u"kod"_s, DataType::WideString), result(DataType::WideString)}},
        [](std::vector<WireValue> &) { throw std::runtime_error("Part not found"); });

    add({u"TServerMethods1.Refuse"_s, {result(DataType::Int32)}}, [](std::vector<WireValue> &) {
        throw ServerMethodError(u"EConversionError"_s, 7, u"'x' is not a valid integer value"_s);
    });

    // Every scalar kind in and out: the outputs echo the inputs.
    add({u"TServerMethods1.Kinds"_s,
         {in(u"i"_s, DataType::Int32), in(u"d"_s, DataType::Double), in(u"b"_s, DataType::Boolean),
          in(u"t"_s, DataType::DateTime), in(u"s"_s, DataType::WideString), out(u"i2"_s, DataType::Int32),
          out(u"l"_s, DataType::Int64), out(u"d2"_s, DataType::Double), out(u"b2"_s, DataType::Boolean),
          out(u"t2"_s, DataType::DateTime), out(u"s2"_s, DataType::WideString), result(DataType::JsonValue)}},
        [](std::vector<WireValue> &p) {
            p[5] = p[0];
            p[6] = p[0].isNull() ? WireValue() : WireValue::int64(std::numeric_limits<qint64>::min());
            p[7] = p[1];
            p[8] = p[2];
            p[9] = p[3];
            p[10] = p[4];
            p[11] = WireValue::json("[1,\"iki\",3.5]");
        });

    // A stream of n test-blob bytes and its length (the shape of the document downloads).
    add({u"TServerMethods1.Blob"_s,
         {in(u"n"_s, DataType::Int32), out(u"size"_s, DataType::Int64),
          result(DataType::BinaryBlob, wire::kStreamParameterSubType)}},
        [](std::vector<WireValue> &p) {
            const int n = p[0].toInt32();
            p[1] = WireValue::int64(n);
            p[2] = WireValue::stream(std::make_shared<ByteArrayStream>(testBlob(0, n)));
        });

    // A text of n characters with Turkish letters (the more_blob path for strings).
    add({u"TServerMethods1.LongText"_s, {in(u"n"_s, DataType::Int32), result(DataType::WideString)}},
        [](std::vector<WireValue> &p) {
            const QString unit = u"Şanzıman dişlisi "_s;
            QString text;
            while (text.size() < p[0].toInt32())
                text += unit;
            text.truncate(p[0].toInt32());
            p[1] = WireValue::text(text);
        });

    // The length of the text received (a client's long input).
    add({u"TServerMethods1.TextLength"_s, {in(u"s"_s, DataType::WideString), result(DataType::Int32)}},
        [](std::vector<WireValue> &p) { p[1] = WireValue::int32(int(p[0].toText().size())); });

    add({u"TServerMethods1.Stock"_s, {in(u"rows"_s, DataType::Int32), result(DataType::Table)}},
        [](std::vector<WireValue> &p) { p[1] = WireValue::table(makeStockTable(p[0].toInt32())); });

    add({u"TServerMethods1.Nothing"_s, {}}, [](std::vector<WireValue> &) {});
    add({u"TServerMethods1.NullObject"_s, {result(DataType::JsonValue, int(SubType::ObjectForm))}},
        [](std::vector<WireValue> &p) { p[0] = WireValue(); });
}

} // namespace morvex::test
