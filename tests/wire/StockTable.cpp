#include "StockTable.h"

#include "core/data/RecordSet.h"

using namespace Qt::StringLiterals;

namespace morvex::test {

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
