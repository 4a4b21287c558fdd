#include "server/methods/Reports.h"

#include "server/media/PdfWriter.h"
#include "server/storage/ResultShapes.h"

using namespace Qt::StringLiterals;

namespace morvex::server {

namespace {

QString amount(double v)
{
    return QString::number(v, 'f', 2).rightJustified(14);
}

QString cell(const RecordSet &set, int row, QStringView name, int width)
{
    const int c = set.fieldIndex(name);
    QString t = c < 0 ? QString() : set.value(row, c).toString();
    if (c >= 0 && set.field(c).type == FieldType::DateTime)
        t = set.dateTime(row, c).toString(u"dd.MM.yyyy"_s);
    return t.left(width).leftJustified(width);
}

double number(const RecordSet &set, int row, QStringView name)
{
    return set.value(row, set.fieldIndex(name)).toDouble();
}

QStringList accountHeader(Storage &storage, int carino)
{
    const RecordSet header = storage.statementHeader(carino, QDate(9999, 12, 31));
    if (header.rowCount() == 0)
        throw StorageError(u"Cari bulunamadı: %1"_s.arg(carino));
    return {u"Cari: %1  %2"_s.arg(header.text(0, 1), header.text(0, 2)), QString()};
}

QByteArray accountSummary(Storage &storage, int carino, QDate to)
{
    QStringList lines = accountHeader(storage, carino);
    lines << u"Tarih: %1"_s.arg(to.toString(u"dd.MM.yyyy"_s)) << QString();
    lines << u"Tarih       Tür Adı                 Evrak No         Borç          Alacak          Bakiye"_s;
    const RecordSet st = storage.statement(carino, std::nullopt, to);
    for (int r = 0; r < st.rowCount(); ++r)
        lines << cell(st, r, u"TARIH", 11) + u' ' + cell(st, r, u"TURADI", 22) + u' ' + cell(st, r, u"EVRAK", 12) +
                     amount(number(st, r, u"BORC")) + amount(number(st, r, u"ALACAK")) + amount(number(st, r, u"BAKIYE")) +
                     u' ' + cell(st, r, u"D", 1);
    const RecordSet open = storage.balances(carino);
    double openTotal = 0;
    for (int r = 0; r < open.rowCount(); ++r)
        openTotal += number(open, r, u"KALAN") * number(open, r, u"NETBIRIMFIYAT");
    lines << QString() << u"Açık sipariş bakiyesi: %1 satır, %2 TL (KDV hariç)"_s.arg(open.rowCount()).arg(openTotal, 0, 'f', 2);
    return writeTextPdf(u"Cari Özeti"_s, lines);
}

QByteArray receivables(Storage &storage, const QString &saticiAdi, QDate to)
{
    const bool all = saticiAdi.trimmed().isEmpty() || saticiAdi == u"."_s;
    QStringList lines{u"Temsilci: %1   Tarih: %2"_s.arg(all ? u"Tümü"_s : saticiAdi, to.toString(u"dd.MM.yyyy"_s)), QString(),
                      u"Cari Kod     Cari Adı                                  Temsilci            Bakiye  Vade"_s};
    const RecordSet accounts = storage.searchAccounts(QString());
    double total = 0;
    for (int r = 0; r < accounts.rowCount(); ++r) {
        if (!all && accounts.text(r, accounts.fieldIndex(u"SATICISI")) != saticiAdi)
            continue;
        const double balance = number(accounts, r, u"TLBAKIYE");
        const QString side = accounts.text(r, accounts.fieldIndex(u"DURUM"));
        total += side == u"A"_s ? -balance : balance;
        lines << cell(accounts, r, u"CARIKOD", 12) + u' ' + cell(accounts, r, u"CARIADI", 41) + u' ' +
                     cell(accounts, r, u"SATICISI", 14) + amount(balance) + u' ' + side.leftJustified(1) + u' ' +
                     cell(accounts, r, u"VADE", 4);
    }
    lines << QString() << u"Toplam alacak: %1 TL"_s.arg(total, 0, 'f', 2);
    return writeTextPdf(u"Cari Toplu Alacak Vadeleri"_s, lines);
}

QByteArray purchasesAndSales(Storage &storage, int carino, const QString &saticiAdi, QDate from, QDate to)
{
    QStringList lines = accountHeader(storage, carino);
    lines << u"Temsilci: %1   Dönem: %2 - %3"_s.arg(saticiAdi, from.toString(u"dd.MM.yyyy"_s), to.toString(u"dd.MM.yyyy"_s))
          << QString();
    const RecordSet st = storage.statement(carino, from, to);
    double sales = 0, returns = 0, collections = 0;
    lines << u"Tarih       Tür Adı                 Evrak No         Borç          Alacak"_s;
    for (int r = 0; r < st.rowCount(); ++r) {
        const QString type = st.text(r, st.fieldIndex(u"TURADI"));
        if (type.contains(u"İade"_s))
            returns += number(st, r, u"ALACAK");
        else if (type.contains(u"Fatura"_s))
            sales += number(st, r, u"BORC");
        else if (type == u"Tahsilat"_s)
            collections += number(st, r, u"ALACAK");
        lines << cell(st, r, u"TARIH", 11) + u' ' + cell(st, r, u"TURADI", 22) + u' ' + cell(st, r, u"EVRAK", 12) +
                     amount(number(st, r, u"BORC")) + amount(number(st, r, u"ALACAK"));
    }
    const RecordSet orders = storage.ordersBetween(from, to, carino);
    lines << QString() << u"Satışlar: %1 TL   İadeler: %2 TL   Tahsilat: %3 TL"_s.arg(sales, 0, 'f', 2).arg(returns, 0, 'f', 2).arg(collections, 0, 'f', 2)
          << u"Dönemde alınan sipariş: %1"_s.arg(orders.rowCount());
    return writeTextPdf(u"Cari Alış Satış Tablosu (Satıcılı)"_s, lines);
}

} // namespace

QByteArray buildReport(Storage &storage, int raporno, int carino, const QString &saticiAdi, QDate from, QDate to)
{
    if (raporno == 6)
        return carino > 0 ? accountSummary(storage, carino, to) : receivables(storage, saticiAdi, to);
    if (raporno == 7)
        return purchasesAndSales(storage, carino, saticiAdi, from, to);
    throw StorageError(u"Bilinmeyen rapor: %1"_s.arg(raporno));
}

} // namespace morvex::server
