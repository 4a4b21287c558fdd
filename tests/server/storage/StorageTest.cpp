#include "DemoDatabaseFixture.h"

#include "core/data/NumberFormat.h"
#include "server/storage/Pricing.h"
#include "server/storage/ResultShapes.h"
#include "server/storage/SqliteStorage.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QImageReader>

using namespace Qt::StringLiterals;
using namespace morvex;
using namespace morvex::server;

namespace {

constexpr int kDealer = 3;      // YILDIZ OTO, user BAYI0, customer type 0
constexpr int kOtherDealer = 4; // EGE MOTOR, user BAYI3, customer type 3

class ServerStorage : public ::testing::Test
{
protected:
    test::DemoDatabaseFixture fixture;
    SqliteStorage storage{fixture.path()};

    qint64 scalar(const char *sql)
    {
        SqliteStatement &s = storage.database().prepare(sql);
        const qint64 v = s.step() ? s.int64(0) : -1;
        s.reset();
        return v;
    }
    double real(const RecordSet &set, int row, QStringView field) { return set.value(row, set.fieldIndex(field)).toDouble(); }
    int integer(const RecordSet &set, int row, QStringView field) { return set.value(row, set.fieldIndex(field)).toInt(); }
    QString text(const RecordSet &set, int row, QStringView field) { return set.text(row, set.fieldIndex(field)); }
    int rowWith(const RecordSet &set, QStringView field, int value)
    {
        for (int r = 0; r < set.rowCount(); ++r) {
            if (integer(set, r, field) == value)
                return r;
        }
        return -1;
    }
    int firstInvoice(int carino)
    {
        const RecordSet st = storage.statement(carino);
        for (int r = 0; r < st.rowCount(); ++r) {
            if (text(st, r, u"TURADI").contains(u"Fatura"_s))
                return integer(st, r, u"IDNO");
        }
        return 0;
    }
    int firstCollection(int carino)
    {
        const RecordSet st = storage.statement(carino);
        for (int r = 0; r < st.rowCount(); ++r) {
            if (text(st, r, u"TURADI") == u"Tahsilat"_s)
                return integer(st, r, u"IDNO");
        }
        return 0;
    }
};

void expectShape(const RecordSet &set, ResultShape shape, const char *what)
{
    const auto columns = columnsOf(shape);
    ASSERT_EQ(set.fieldCount(), int(columns.size())) << what;
    for (int i = 0; i < set.fieldCount(); ++i) {
        EXPECT_EQ(set.field(i).name, columns[std::size_t(i)].name.toString()) << what;
        EXPECT_EQ(set.field(i).type, columns[std::size_t(i)].type) << what << " " << set.field(i).name.toStdString();
    }
}

} // namespace

TEST_F(ServerStorage, EveryTableResultHasItsShapeAndTheDemoFillsIt)
{
    const int order = integer(storage.orders(kDealer), 0, u"IDNO");
    const struct
    {
        const char *what;
        RecordSet set;
        ResultShape shape;
        int minRows;
    } cases[] = {
        {"stock search", storage.searchStock(u"FREN"_s, kDealer), ResultShape::Stock, 5},
        {"stock number", storage.stockByNumber(1, kDealer), ResultShape::Stock, 1},
        {"new stock", storage.newStock(kDealer), ResultShape::Stock, 3},
        {"campaign stock", storage.campaignStock(kDealer), ResultShape::CampaignStock, 3},
        {"genuine parts", storage.searchGenuineParts(u"ORJİNAL"_s), ResultShape::GenuineParts, 10},
        {"departments", storage.departments(), ResultShape::Departments, 3},
        {"basket", storage.basket(kDealer), ResultShape::Basket, 4},
        {"delivery kinds", storage.deliveryKinds(), ResultShape::DeliveryKinds, 3},
        {"cargo kinds", storage.cargoKinds(), ResultShape::CargoKinds, 3},
        {"cargo companies", storage.cargoCompanies(1), ResultShape::CargoCompanies, 3},
        {"orders", storage.orders(kDealer), ResultShape::Orders, 7},
        {"order lines", storage.orderLines(kDealer, order), ResultShape::OrderLines, 2},
        {"order movements", storage.orderMovements(kDealer, 0), ResultShape::OrderLines, 14},
        {"orders between", storage.ordersBetween(QDate(2026, 1, 1), QDate(2026, 12, 31), 0), ResultShape::OrderReport, 15},
        {"best sellers", storage.bestSellers(QDate(2026, 1, 1), QDate(2026, 12, 31)), ResultShape::BestSellers, 5},
        {"statement", storage.statement(kDealer), ResultShape::Statement, 10},
        {"statement header", storage.statementHeader(kDealer, QDate(2026, 11, 1)), ResultShape::StatementHeader, 1},
        {"invoice lines", storage.invoiceLines(kDealer, firstInvoice(kDealer)), ResultShape::InvoiceLines, 2},
        {"invoice totals", storage.invoiceTotals(firstInvoice(kDealer)), ResultShape::InvoiceTotals, 1},
        {"collection", storage.collection(firstCollection(kDealer)), ResultShape::Collection, 1},
        {"balances", storage.balances(kDealer), ResultShape::OrderLines, 5},
        {"accounts", storage.searchAccounts(QString()), ResultShape::Accounts, 31},
        {"accounts with basket", storage.accountsInState(1), ResultShape::Accounts, 3},
        {"counters", storage.counters(kDealer), ResultShape::Counters, 1},
        {"documents", storage.documents(), ResultShape::Documents, 7},
    };
    for (const auto &c : cases) {
        expectShape(c.set, c.shape, c.what);
        EXPECT_GE(c.set.rowCount(), c.minRows) << c.what;
    }
}

TEST_F(ServerStorage, DemoHasEveryCustomerTypeStatusAndContentKind)
{
    EXPECT_EQ(scalar("SELECT count(DISTINCT musteritipi) FROM kullanici WHERE musteritipi BETWEEN 0 AND 4"), 5);
    EXPECT_EQ(scalar("SELECT count(*) FROM kullanici k JOIN cari c ON c.carino = k.carino WHERE c.carikod LIKE '%BDM%'"), 1);
    EXPECT_EQ(scalar("SELECT count(DISTINCT durum) FROM stok"), 6);
    EXPECT_GT(scalar("SELECT count(*) FROM stok WHERE maliyet LIKE '% TL'"), 0);
    EXPECT_GT(scalar("SELECT count(*) FROM stok WHERE maliyet LIKE '% $'"), 0);
    EXPECT_GT(scalar("SELECT count(*) FROM stok WHERE maliyet LIKE '% €'"), 0);
    EXPECT_EQ(scalar("SELECT count(DISTINCT durum) FROM siparis WHERE carino = 3"), 6);
    EXPECT_EQ(storage.advertisementCount(), 2);

    QStringList targets;
    for (const OpeningScreen &s : storage.announcements())
        targets << s.arama;
    EXPECT_TRUE(targets.contains(u"#KAMPANYA#"_s));
    EXPECT_TRUE(targets.contains(u"#YENİ#"_s));
    EXPECT_TRUE(targets.contains(u"FREN BALATASI"_s));

    QStringList extensions;
    const RecordSet docs = storage.documents();
    for (int r = 0; r < docs.rowCount(); ++r)
        extensions << text(docs, r, u"DOSYAYOL").section(u'.', -1).toUpper();
    for (const QString &ext : {u"TXT"_s, u"MDB"_s, u"JPG"_s, u"DOC"_s, u"PDF"_s, u"PPTX"_s, u"XLS"_s})
        EXPECT_TRUE(extensions.contains(ext)) << ext.toStdString();

    const ExchangeRates rates = storage.exchangeRates();
    EXPECT_GT(rates.usd, 1.0);
    EXPECT_GT(rates.eur, rates.usd);
    EXPECT_TRUE(storage.tickerText().contains(u"<b>"_s));

    QBuffer banner;
    banner.setData(storage.banner());
    banner.open(QIODevice::ReadOnly);
    QImageReader gif(&banner, "gif");
    EXPECT_TRUE(gif.supportsAnimation());
    EXPECT_EQ(gif.size(), QSize(405, 70));
    EXPECT_GT(gif.imageCount(), 1);
}

TEST_F(ServerStorage, DemoIsTheSameOnEveryRun)
{
    test::DemoDatabaseFixture again(300);
    SqliteStorage other(again.path());
    const char *sql = "SELECT group_concat(kod || adi || fiyat || maliyet || durum, '|') FROM stok";
    SqliteStatement &a = storage.database().prepare(sql);
    SqliteStatement &b = other.database().prepare(sql);
    ASSERT_TRUE(a.step() && b.step());
    EXPECT_EQ(a.text(0), b.text(0));
    a.reset();
    b.reset();
}

TEST_F(ServerStorage, DemoDocumentNamesArePlainFileNames)
{
    const auto doc = storage.document(1);
    ASSERT_TRUE(doc);
    EXPECT_EQ(doc->fileName, u"okuyunuz.txt"_s);
    storage.database().exec("UPDATE dosya SET dosyayol = '../../etc/passwd' WHERE sirano = 2");
    EXPECT_EQ(storage.document(2)->fileName, u"passwd"_s);
    storage.database().exec("UPDATE dosya SET dosyayol = '..' WHERE sirano = 2");
    EXPECT_EQ(storage.document(2)->fileName, u"belge2"_s);
    EXPECT_FALSE(storage.document(999));
}

TEST_F(ServerStorage, StockSearchMatchesCodesNamesWithFoldedTurkishLetters)
{
    const RecordSet byName = storage.searchStock(u"DEBRIYAJ"_s, kDealer);
    ASSERT_GT(byName.rowCount(), 0);
    for (int r = 0; r < byName.rowCount(); ++r)
        EXPECT_TRUE(searchKey(QString(text(byName, r, u"ADI") + u" "_s + text(byName, r, u"DIGERADI"))).contains(u"DEBRIYAJ"_s));
    const RecordSet byCode = storage.searchStock(u"ORV-100042"_s, kDealer);
    ASSERT_EQ(byCode.rowCount(), 1);
    EXPECT_EQ(integer(byCode, 0, u"STOK_STOKNO"), 42);
    const QString oem = text(byCode, 0, u"OEM1");
    EXPECT_EQ(storage.searchStock(oem, kDealer).rowCount() >= 1, true);
    EXPECT_EQ(storage.searchStock(u"   "_s, kDealer).rowCount(), 0);
    EXPECT_THROW(storage.searchStock(QString(200, u'A'), kDealer), StorageError);
}

TEST_F(ServerStorage, StockPricesFollowTheAccountDiscountAndCampaigns)
{
    const RecordSet rows = storage.stockByNumber(42, kDealer);
    ASSERT_EQ(rows.rowCount(), 1);
    const double fiyat = real(rows, 0, u"FIYAT"), indirim = real(rows, 0, u"INDIRIM");
    EXPECT_GT(indirim, 0.0);
    EXPECT_DOUBLE_EQ(real(rows, 0, u"NETFIYAT"), round2(fiyat - fiyat * indirim / 100));
    EXPECT_DOUBLE_EQ(real(rows, 0, u"KDVDAHIL"), round2(real(rows, 0, u"NETFIYAT") * (1 + integer(rows, 0, u"KDV") / 100.0)));

    const RecordSet campaign = storage.campaignStock(kDealer);
    ASSERT_GT(campaign.rowCount(), 0);
    EXPECT_EQ(integer(campaign, 0, u"K"), 1);
    EXPECT_DOUBLE_EQ(real(campaign, 0, u"INDIRIM"), 0.0);
    EXPECT_LT(real(campaign, 0, u"FIYAT"), real(campaign, 0, u"ESKIFIYAT"));
    EXPECT_EQ(storage.campaignStock(5).rowCount(), 0) << "customer type 4 sees no campaigns";
}

TEST_F(ServerStorage, BasketAddChangeAndDeleteChangeTheStoredBasket)
{
    const int before = storage.basket(kDealer).rowCount();
    const int line = storage.addToBasket({kDealer, 42, 3, false, 0.01, 99, 3, u"BAYI0"_s});
    RecordSet basket = storage.basket(kDealer);
    ASSERT_EQ(basket.rowCount(), before + 1);
    int r = rowWith(basket, u"SIRANO", line);
    ASSERT_GE(r, 0);
    const RecordSet stock = storage.stockByNumber(42, kDealer);
    EXPECT_DOUBLE_EQ(real(basket, r, u"BIRIMFIYAT"), real(stock, 0, u"FIYAT")) << "a dealer's price is the server's";
    EXPECT_DOUBLE_EQ(real(basket, r, u"INDIRIMORANI1"), real(stock, 0, u"INDIRIM"));
    EXPECT_DOUBLE_EQ(real(basket, r, u"TUTAR"), round2(3 * real(stock, 0, u"FIYAT")));
    EXPECT_EQ(integer(basket, r, u"SEC"), 1);

    EXPECT_EQ(storage.addToBasket({kDealer, 42, 2, false, 0, 0, 3, u"BAYI0"_s}), line) << "same item: one line";
    basket = storage.basket(kDealer);
    EXPECT_EQ(basket.rowCount(), before + 1);
    EXPECT_DOUBLE_EQ(real(basket, rowWith(basket, u"SIRANO", line), u"MIKTAR"), 5);

    storage.changeBasketLine({kDealer, line, 7, true, 100, 12.5});
    basket = storage.basket(kDealer);
    r = rowWith(basket, u"SIRANO", line);
    EXPECT_DOUBLE_EQ(real(basket, r, u"MIKTAR"), 7);
    EXPECT_DOUBLE_EQ(real(basket, r, u"BIRIMFIYAT"), 100);
    EXPECT_DOUBLE_EQ(real(basket, r, u"NETBIRIMFIYAT"), 87.5);
    EXPECT_DOUBLE_EQ(real(basket, r, u"INDIRIMTUTAR"), 87.5);

    storage.deleteBasketLine(kDealer, line);
    EXPECT_EQ(storage.basket(kDealer).rowCount(), before);
    EXPECT_EQ(storage.clearBasket(kDealer), before);
    EXPECT_EQ(storage.basket(kDealer).rowCount(), 0);
}

TEST_F(ServerStorage, BadBasketInputIsRefusedAndStoresNothing)
{
    const int line = integer(storage.basket(kOtherDealer), 0, u"SIRANO");
    const qint64 lines = scalar("SELECT count(*) || '' || total(miktar) FROM sepet");
    const struct
    {
        const char *what;
        std::function<void()> call;
    } cases[] = {
        {"zero quantity", [&] { storage.addToBasket({kDealer, 42, 0, false, 0, 0, 3, u"BAYI0"_s}); }},
        {"negative quantity", [&] { storage.addToBasket({kDealer, 42, -2, false, 0, 0, 3, u"BAYI0"_s}); }},
        {"not a number", [&] { storage.addToBasket({kDealer, 42, std::nan(""), false, 0, 0, 3, u"BAYI0"_s}); }},
        {"unknown stock", [&] { storage.addToBasket({kDealer, 999999, 1, false, 0, 0, 3, u"BAYI0"_s}); }},
        {"unknown account", [&] { storage.addToBasket({9999, 42, 1, false, 0, 0, 3, u"BAYI0"_s}); }},
        {"staff discount over 100", [&] { storage.addToBasket({kDealer, 42, 1, true, 10, 120, 1, u"PERSONEL1"_s}); }},
        {"long name", [&] { storage.addToBasket({kDealer, 42, 1, false, 0, 0, 3, QString(80, u'X')}); }},
        {"another account's line", [&] { storage.changeBasketLine({kDealer, line, 2, false, 0, 0}); }},
        {"delete another account's line", [&] { storage.deleteBasketLine(kDealer, line); }},
        {"change to zero", [&] { storage.changeBasketLine({kOtherDealer, line, 0, false, 0, 0}); }},
        {"selection mark 2", [&] { storage.setBasketSelection(line, 2); }},
    };
    for (const auto &c : cases) {
        EXPECT_THROW(c.call(), StorageError) << c.what;
        EXPECT_EQ(scalar("SELECT count(*) || '' || total(miktar) FROM sepet"), lines) << c.what;
    }
}

TEST_F(ServerStorage, SavingAnOrderMovesOnlyTheSelectedLines)
{
    const RecordSet basket = storage.basket(kDealer);
    int selected = 0;
    for (int r = 0; r < basket.rowCount(); ++r)
        selected += integer(basket, r, u"SEC") == 1;
    ASSERT_GT(selected, 0);
    ASSERT_LT(selected, basket.rowCount());
    const int ordersBefore = storage.orders(kDealer).rowCount();
    const int openBefore = storage.balances(kDealer).rowCount();

    const auto idno = storage.saveOrder({kDealer, 2, 1, 1, u"Acil"_s, 3, u"BAYI0"_s});
    ASSERT_TRUE(idno);
    EXPECT_EQ(storage.basket(kDealer).rowCount(), basket.rowCount() - selected);
    EXPECT_EQ(storage.orderLines(kDealer, *idno).rowCount(), selected);
    const RecordSet orders = storage.orders(kDealer);
    EXPECT_EQ(orders.rowCount(), ordersBefore + 1);
    EXPECT_EQ(integer(orders, 0, u"IDNO"), *idno);
    EXPECT_EQ(text(orders, 0, u"DURUM"), u"Alındı"_s);
    const auto footer = storage.orderFooter(*idno);
    ASSERT_TRUE(footer);
    EXPECT_EQ(footer->sizinMesaj, u"Acil"_s);
    EXPECT_EQ(footer->durumu, u"Alındı"_s);
    EXPECT_EQ(footer->teslimCinsi, u"Kargo ile Gönderim"_s);
    EXPECT_EQ(footer->kargo, u"Yurtiçi Kargo"_s);
    EXPECT_EQ(storage.balances(kDealer).rowCount(), openBefore + selected) << "new order lines are open balances";

    EXPECT_FALSE(storage.saveOrder({kDealer, 2, 1, 1, QString(), 3, u"BAYI0"_s})) << "nothing selected is left";
    EXPECT_EQ(storage.orders(kDealer).rowCount(), ordersBefore + 1);
}

TEST_F(ServerStorage, AnOrderWithUnknownChoicesIsRefusedAndTheBasketKept)
{
    const int lines = storage.basket(kDealer).rowCount();
    const qint64 orders = scalar("SELECT count(*) FROM siparis");
    EXPECT_THROW(storage.saveOrder({kDealer, 99, 1, 1, QString(), 3, u"BAYI0"_s}), StorageError);
    EXPECT_THROW(storage.saveOrder({kDealer, 2, 1, 6, QString(), 3, u"BAYI0"_s}), StorageError) << "company of another kind";
    EXPECT_THROW(storage.saveOrder({kDealer, 2, 1, 1, QString(2000, u'x'), 3, u"BAYI0"_s}), StorageError);
    EXPECT_EQ(storage.basket(kDealer).rowCount(), lines);
    EXPECT_EQ(scalar("SELECT count(*) FROM siparis"), orders);
}

TEST_F(ServerStorage, BalanceChangesChangeTheOpenBalances)
{
    RecordSet open = storage.balances(kDealer);
    ASSERT_GE(open.rowCount(), 3);
    const int a = integer(open, 0, u"STOKHAR_NO"), b = integer(open, 1, u"STOKHAR_NO"), c = integer(open, 2, u"STOKHAR_NO");
    const double delivered = real(open, 1, u"TESLIMEDILEN");

    storage.cancelBalance({kDealer, a, 0, 0, 0});
    storage.changeBalance({kDealer, b, 4, 0, 0});
    storage.changeBalancePrice({kDealer, c, 0, 200, 10});
    open = storage.balances(kDealer);
    EXPECT_LT(rowWith(open, u"STOKHAR_NO", a), 0) << "a cancelled balance is no longer open";
    const int rb = rowWith(open, u"STOKHAR_NO", b), rc = rowWith(open, u"STOKHAR_NO", c);
    EXPECT_DOUBLE_EQ(real(open, rb, u"KALAN"), 4);
    EXPECT_DOUBLE_EQ(real(open, rb, u"MIKTAR"), delivered + 4);
    EXPECT_DOUBLE_EQ(real(open, rc, u"BIRIMFIYAT"), 200);
    EXPECT_DOUBLE_EQ(real(open, rc, u"NETBIRIMFIYAT"), 180);
    EXPECT_DOUBLE_EQ(real(open, rc, u"TUTAR"), round2(200 * real(open, rc, u"MIKTAR")));

    EXPECT_THROW(storage.cancelBalance({kDealer, a, 0, 0, 0}), StorageError) << "already cancelled";
    EXPECT_THROW(storage.changeBalance({kOtherDealer, b, 4, 0, 0}), StorageError) << "another account's line";
    EXPECT_THROW(storage.changeBalance({kDealer, b, 0, 0, 0}), StorageError);
    EXPECT_THROW(storage.changeBalancePrice({kDealer, c, 0, -1, 0}), StorageError);
    EXPECT_DOUBLE_EQ(real(storage.balances(kDealer), rb, u"KALAN"), 4);
}

TEST_F(ServerStorage, StatementCarriesTheRunningBalanceAndSide)
{
    const RecordSet st = storage.statement(kDealer);
    double balance = 0;
    for (int r = 0; r < st.rowCount(); ++r) {
        balance += real(st, r, u"BORC") - real(st, r, u"ALACAK");
        EXPECT_NEAR(real(st, r, u"BAKIYE"), balance, 1e-6);
        EXPECT_EQ(text(st, r, u"D"), balance > 0 ? u"B"_s : balance < 0 ? u"A"_s : u" "_s);
    }
    EXPECT_EQ(storage.accountBalanceText(kDealer), QString::number(round2(balance), 'f', 2));
    EXPECT_EQ(storage.accountBalanceText(9999), QString());
    const int invoice = firstInvoice(kDealer);
    const RecordSet totals = storage.invoiceTotals(invoice);
    ASSERT_EQ(totals.rowCount(), 1);
    EXPECT_NEAR(real(totals, 0, u"KDVDAHIL"), real(totals, 0, u"MATRAH") + real(totals, 0, u"KDVTUTAR"), 1e-6);
    EXPECT_EQ(storage.invoiceTotals(123456).rowCount(), 0);
    EXPECT_EQ(storage.invoiceLines(kOtherDealer, invoice).rowCount(), 0) << "another account's invoice";
}

TEST_F(ServerStorage, MailRequestsGoToTheOutbox)
{
    MailRequest r;
    r.method = u"MailGonserCari"_s;
    r.idsi = u"ABC-123"_s;
    r.baslik = u"Şifre Değiştirme İsteği"_s;
    r.firmaadi = u"YILDIZ OTO"_s;
    r.konu = u"Merhaba,\"Dünya\""_s;
    const int id = storage.storeMail(r);
    auto outbox = storage.outbox();
    ASSERT_EQ(outbox.size(), 1u);
    EXPECT_EQ(outbox[0].sirano, id);
    EXPECT_EQ(outbox[0].request.baslik, r.baslik);
    EXPECT_EQ(outbox[0].request.konu, r.konu);

    r.yetkili = QString(500, u'y');
    EXPECT_THROW(storage.storeMail(r), StorageError);
    EXPECT_EQ(storage.outbox().size(), 1u);
}

TEST_F(ServerStorage, AccountListsForStaffByState)
{
    const RecordSet withBasket = storage.accountsInState(1);
    EXPECT_GE(rowWith(withBasket, u"CARINO", kDealer), 0);
    const RecordSet received = storage.accountsInState(2);
    for (int r = 0; r < received.rowCount(); ++r)
        EXPECT_GT(integer(received, r, u"ALINDI"), 0);
    EXPECT_THROW(storage.accountsInState(8), StorageError);
    const RecordSet found = storage.searchAccounts(u"yıldız"_s);
    ASSERT_EQ(found.rowCount(), 1);
    EXPECT_EQ(integer(found, 0, u"CARINO"), kDealer);
    const OrderStateCounts counts = storage.orderStateCounts();
    EXPECT_EQ(counts.alindi + counts.onaylandi + counts.goruldu + counts.parcaliHazirlandi + counts.hazirlandi +
                  counts.sevkEdildi,
              15);
    EXPECT_EQ(storage.accountsWithBasket(), 3);
}

// Search cells are filled straight from SQLite's UTF-8: each must read back as the stored text.
TEST(ServerStorageText, Utf8CellsReadBackAsQStringDecodesThem)
{
    const std::string cases[] = {
        "", "ORV-100001", "KAPI KOLU ÖN SOL", "DİSK ŞAFT ĞÜÇ ı", "MALİYET 12,50 €", "ıi\xF0\x9F\x98\x80x",
        std::string("A\0B", 3), "ASCII then one é", "\xC3", "bad \xC3\x28 pair", "\xED\xA0\x80 surrogate",
        "\xC0\xAF overlong", "\xF4\x90\x80\x80 too high", "\xE2\x82",
    };
    RecordSet set;
    set.addField(u"T"_s, FieldType::Text);
    std::u16string scratch;
    for (const std::string &utf8 : cases) {
        const int row = set.appendRow();
        setTextUtf8(set, row, 0, utf8, scratch);
        EXPECT_FALSE(set.isNull(row, 0));
        EXPECT_EQ(set.text(row, 0), QString::fromUtf8(utf8.data(), qsizetype(utf8.size()))) << utf8;
    }
}

TEST_F(ServerStorage, StockSearchGivesTheStoredTextsInCodeOrder)
{
    const RecordSet found = storage.searchStock(u"ORV"_s, kDealer);
    SqliteStatement &s = storage.database().prepare(
        "SELECT kod, adi, digeradi, maliyet, oem2, stokno FROM stok ORDER BY kod");
    int row = 0;
    bool turkish = false;
    while (s.step()) {
        ASSERT_LT(row, found.rowCount());
        EXPECT_EQ(text(found, row, u"FINISHKOD"), s.text(0));
        EXPECT_EQ(text(found, row, u"ADI"), s.text(1));
        EXPECT_EQ(text(found, row, u"DIGERADI"), s.text(2));
        EXPECT_EQ(text(found, row, u"MALIYET"), s.text(3));
        EXPECT_EQ(text(found, row, u"OEM2"), s.text(4));
        EXPECT_EQ(integer(found, row, u"STOK_STOKNO"), s.int32(5));
        turkish = turkish || s.text(1).contains(u'İ') || s.text(1).contains(u'Ş');
        ++row;
    }
    s.reset();
    EXPECT_EQ(row, found.rowCount());
    EXPECT_TRUE(turkish);
}
