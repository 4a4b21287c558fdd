#include "TestRegistry.h"

#include "Conversation.h"
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

std::shared_ptr<RecordSet> makeStockTable(int rows)
{
    struct Col
    {
        const char16_t *name;
        FieldType type;
    };
    static const Col columns[] = {
        {u"BARKOD", FieldType::Text},      {u"FINISHKOD", FieldType::Text},     {u"OEM1", FieldType::Text},
        {u"OEM2", FieldType::Text},        {u"OEM3", FieldType::Text},          {u"ADI", FieldType::Text},
        {u"OEM4", FieldType::Text},        {u"STOK_STOKNO", FieldType::Int32},  {u"URETICIKODU", FieldType::Text},
        {u"BARKOD_BARKODNO", FieldType::Int32}, {u"DIGERADI", FieldType::Text}, {u"DPKOD", FieldType::Text},
        {u"OEMNO", FieldType::Text},       {u"BIRIM", FieldType::Text},         {u"MARKA", FieldType::Text},
        {u"MODEL", FieldType::Text},       {u"ANAGRUP", FieldType::Text},       {u"OZELKOD", FieldType::Text},
        {u"KALAN", FieldType::Double},     {u"PKOD", FieldType::Text},          {u"KDV", FieldType::Int32},
        {u"ALINANSIPARIS", FieldType::Double}, {u"VERILENSIPARIS", FieldType::Double},
        {u"LISTEFIYATI", FieldType::Double}, {u"MALIYET", FieldType::Text},     {u"FIYAT", FieldType::Double},
        {u"Y", FieldType::Int32},          {u"K", FieldType::Int32},            {u"INDIRIM", FieldType::Double},
        {u"NETFIYAT", FieldType::Double},  {u"KDVDAHIL", FieldType::Double},    {u"DURUM", FieldType::Int32},
    };
    static const QString brands[] = {u"BOSCH"_s, u"VALEO"_s, u"MAHLE"_s, u"SACHS"_s, u"FEBİ"_s, u"LEMFÖRDER"_s};
    static const QString models[] = {u"DOBLO 1.3 MJT"_s, u"LINEA 1.4"_s, u"CLIO IV 1.5 DCI"_s, u"EGEA 1.6"_s,
                                     u"FOCUS III 1.6 TDCI"_s, u"TRANSIT CONNECT"_s};
    static const QString groups[] = {u"FREN SİSTEMİ"_s, u"SÜSPANSİYON"_s, u"MOTOR PARÇALARI"_s, u"FİLTRE"_s,
                                     u"ELEKTRİK"_s, u"ŞANZIMAN"_s};
    static const QString names[] = {u"ÖN FREN BALATASI"_s, u"YAĞ FİLTRESİ"_s, u"DEBRİYAJ SETİ"_s,
                                    u"AMORTİSÖR ARKA SAĞ"_s, u"TRİGER SETİ DEVİRDAİMLİ"_s, u"ŞANZIMAN DİŞLİSİ"_s};
    auto set = std::make_shared<RecordSet>();
    for (const Col &c : columns)
        set->addField(QString::fromUtf16(c.name), c.type);
    set->reserveRows(rows);
    for (int r = 0; r < rows; ++r) {
        const int row = set->appendRow();
        const int k = r % 6;
        const double price = 12.5 + (r % 997) * 3.75;
        const double discount = double((r % 5) * 5);
        const double net = price * (100.0 - discount) / 100.0;
        int c = 0;
        set->setText(row, c++, u"869%1"_s.arg(1000000000 + r, 10, 10, QLatin1Char('0')));
        set->setText(row, c++, u"ORV-%1"_s.arg(r, 6, 10, QLatin1Char('0')));
        set->setText(row, c++, u"%1 %2 %3"_s.arg(r % 9000 + 1000).arg(r % 97, 2, 10, QLatin1Char('0')).arg(r % 13));
        if (r % 3 == 0)
            set->setText(row, c, u"7701%1"_s.arg(r % 100000));
        ++c;
        ++c; // OEM3 mostly empty: null
        set->setText(row, c++, names[k] + u' ' + models[(r / 6) % 6]);
        ++c; // OEM4 null
        set->setInt32(row, c++, 100000 + r);
        set->setText(row, c++, u"%1-%2"_s.arg(brands[k]).arg(r % 10000));
        set->setInt32(row, c++, 500000 + r);
        set->setText(row, c++, names[(k + 1) % 6]);
        set->setText(row, c++, u"DP%1"_s.arg(r % 500));
        set->setText(row, c++, u"%1.%2"_s.arg(r % 100000).arg(r % 7));
        set->setText(row, c++, u"ADET"_s);
        set->setText(row, c++, brands[k]);
        set->setText(row, c++, models[(r / 3) % 6]);
        set->setText(row, c++, groups[(r / 2) % 6]);
        set->setText(row, c++, u"OZ%1"_s.arg(r % 40));
        set->setReal(row, c++, double(r % 250));
        set->setText(row, c++, u"P%1"_s.arg(r % 12));
        set->setInt32(row, c++, r % 4 == 0 ? 18 : 20);
        set->setReal(row, c++, double(r % 17));
        set->setReal(row, c++, double(r % 11));
        set->setReal(row, c++, price);
        set->setText(row, c++, QString::number(price * 0.62, 'f', 2));
        set->setReal(row, c++, price * 1.1);
        set->setInt32(row, c++, r % 10 == 0 ? 1 : 0);
        set->setInt32(row, c++, r % 15 == 0 ? 1 : 0);
        set->setReal(row, c++, discount);
        set->setReal(row, c++, net);
        set->setReal(row, c++, net * 1.2);
        set->setInt32(row, c++, r % 6);
    }
    return set;
}

} // namespace morvex::test
