#include "ServerHarness.h"

#include "core/wire/ServerMethodCommand.h"
#include "core/wire/WireError.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace morvex;
using namespace morvex::test;

namespace {

constexpr int kDealer = 3;
const QString kDealerId = u"DEMO-BAYI0"_s;

QByteArray readAll(const std::shared_ptr<WireStream> &stream)
{
    return stream ? stream->readAll() : QByteArray();
}

int col(const RecordSet &set, QStringView name)
{
    const int c = set.fieldIndex(name);
    EXPECT_GE(c, 0) << name.toString().toStdString();
    return c;
}

double real(const RecordSet &set, int row, QStringView name)
{
    return set.value(row, col(set, name)).toDouble();
}

int integer(const RecordSet &set, int row, QStringView name)
{
    return set.value(row, col(set, name)).toInt();
}

int rowWith(const RecordSet &set, QStringView field, int value)
{
    for (int r = 0; r < set.rowCount(); ++r) {
        if (integer(set, r, field) == value)
            return r;
    }
    return -1;
}

QString remoteMessage(const std::function<void()> &call)
{
    try {
        call();
    } catch (const RemoteError &e) {
        return e.plainMessage();
    }
    return u"<accepted>"_s;
}

class ServerOverTcp : public ::testing::Test
{
protected:
    ServerHarness server;
    std::unique_ptr<DataSnapConnection> connection = server.connect();
    TServerMethods1Client proxy{*connection};
    TSonucBilgisi dealer = server.session(kDealerId);
};

} // namespace

TEST_F(ServerOverTcp, LoginRecordFollowsTheComputerIdentity)
{
    const struct
    {
        QString id, adi;
        int type;
        int aktif;
        int version;
    } cases[] = {
        {u"DEMO-BAYI0"_s, u"BAYI0"_s, 0, 1, 15},         {u"DEMO-PERSONEL1"_s, u"PERSONEL1"_s, 1, 1, 15},
        {u"DEMO-PERSONEL2"_s, u"PERSONEL2"_s, 2, 1, 15}, {u"DEMO-BAYI3"_s, u"BAYI3"_s, 3, 1, 15},
        {u"DEMO-BAYI4"_s, u"BAYI4"_s, 4, 1, 15},         {u"DEMO-BOLGE"_s, u"BOLGE"_s, 3, 1, 15},
        {u"DEMO-PASIF"_s, u"PASIF"_s, 0, 0, 15},         {u"DEMO-ESKI"_s, u"ESKI"_s, 0, 1, 16},
    };
    for (const auto &c : cases) {
        auto s = proxy.BuyukGetir(c.id);
        ASSERT_TRUE(s) << c.id.toStdString();
        EXPECT_TRUE(s->Varmi());
        EXPECT_EQ(s->ADI(), c.adi);
        EXPECT_EQ(s->SIFRE(), u"1234"_s);
        EXPECT_EQ(s->MusteriTipi(), c.type);
        EXPECT_EQ(s->AKTIF(), c.aktif);
        EXPECT_EQ(s->Version(), c.version);
        EXPECT_EQ(s->BILGISAYARID(), c.id);
        EXPECT_FALSE(s->SaticiAdi().isEmpty());
    }
    auto bdm = proxy.BuyukGetir(u"DEMO-BOLGE"_s);
    EXPECT_TRUE(bdm->carikod().contains(u"BDM"_s));

    auto unknown = proxy.BuyukGetir(u"BILINMEYEN-PC"_s);
    ASSERT_TRUE(unknown);
    EXPECT_FALSE(unknown->Varmi()) << "an unregistered computer is sent to the request form";
    EXPECT_EQ(unknown->Version(), 15);
    EXPECT_TRUE(unknown->ADI().isEmpty());
    EXPECT_FALSE(proxy.BuyukGetir(QString())) << "no identity, no record";
    EXPECT_NE(remoteMessage([&] { proxy.BuyukGetir(QString(65, u'X')); }), u"<accepted>"_s);
}

TEST_F(ServerOverTcp, CatalogueMethodsAndThePicture)
{
    const RecordSet found = proxy.StokAraOrvex(u"FREN BALATA"_s, copyOf(dealer));
    ASSERT_GT(found.rowCount(), 0);
    EXPECT_GT(real(found, 0, u"INDIRIM"), 0.0);
    EXPECT_EQ(found.field(col(found, u"KDV")).type, FieldType::Int32);
    EXPECT_EQ(found.field(col(found, u"MALIYET")).type, FieldType::Text);
    EXPECT_GT(proxy.OrvexdeAra(u"DOBLO"_s).rowCount(), 0);
    EXPECT_GT(proxy.OrvexYenilerVer(kDealer).rowCount(), 0);
    const RecordSet campaign = proxy.OrvexKampanyaliVer(kDealer, 0);
    ASSERT_GT(campaign.rowCount(), 0);
    EXPECT_GE(col(campaign, u"ESKIFIYAT"), 0);
    EXPECT_EQ(proxy.OrvexKampanyaliVer(kDealer, 4).rowCount(), 0);

    qint64 boy = -1;
    const QByteArray jpeg = readAll(proxy.ResimVer5(1, boy));
    ASSERT_GT(boy, 0);
    EXPECT_EQ(jpeg.size(), boy);
    EXPECT_FALSE(QImage::fromData(jpeg, "JPEG").isNull());
    EXPECT_EQ(readAll(proxy.ResimVer5(10, boy)).size(), 0) << "item 10 has no picture";
    EXPECT_EQ(boy, 0);
    EXPECT_EQ(readAll(proxy.ResimVer5(-5, boy)).size(), 0);
    EXPECT_EQ(boy, 0);
}

TEST_F(ServerOverTcp, BasketCallsChangeTheStoredBasket)
{
    const int before = proxy.SepetVer(kDealer).rowCount();
    EXPECT_EQ(proxy.SepetEkle(copyOf(dealer), kDealer, 77, u"x"_s, u"y"_s, 2, 18, 0.01, 90, 999, 0), 1);
    RecordSet basket = server.storage().basket(kDealer);
    ASSERT_EQ(basket.rowCount(), before + 1);
    const int line = integer(basket, rowWith(basket, u"STOKNO", 77), u"SIRANO");
    EXPECT_GT(real(basket, rowWith(basket, u"STOKNO", 77), u"BIRIMFIYAT"), 1.0) << "the dealer's price is not taken";
    EXPECT_EQ(basket.text(rowWith(basket, u"STOKNO", 77), col(basket, u"VEREN")), u"BAYI0"_s);

    EXPECT_EQ(proxy.SepetGuncelle(copyOf(dealer), kDealer, 0, u"x"_s, u"y"_s, 6, 18, 1, 0, 3, line), 1);
    basket = proxy.SepetVer(kDealer);
    EXPECT_DOUBLE_EQ(real(basket, rowWith(basket, u"SIRANO", line), u"MIKTAR"), 6);

    proxy.SepetSecimGuncelle(line, 0);
    EXPECT_EQ(integer(proxy.SepetVer(kDealer), rowWith(proxy.SepetVer(kDealer), u"SIRANO", line), u"SEC"), 0);

    proxy.SepetSatirSil(copyOf(dealer), line, u"x-y"_s);
    EXPECT_EQ(server.storage().basket(kDealer).rowCount(), before);
    EXPECT_EQ(proxy.SepetHepsiniSil(copyOf(dealer)), before);
    EXPECT_EQ(server.storage().basket(kDealer).rowCount(), 0);
}

TEST_F(ServerOverTcp, BadBasketCallsAreRefusedWithAClearErrorAndStoreNothing)
{
    const TSonucBilgisi other = server.session(u"DEMO-BAYI3"_s);
    const int otherLine = integer(server.storage().basket(4), 0, u"SIRANO");
    TSonucBilgisi forged = dealer;
    forged.setSIFRE(u"9999"_s);
    TSonucBilgisi stranger = dealer;
    stranger.setBILGISAYARID(u"BASKA-PC"_s);
    const auto lines = [&] { return server.storage().basket(kDealer).rowCount() * 1000 + server.storage().basket(4).rowCount(); };
    const int stored = lines();
    const struct
    {
        const char *what;
        std::function<void()> call;
        QString message;
    } cases[] = {
        {"zero quantity", [&] { proxy.SepetEkle(copyOf(dealer), kDealer, 77, {}, {}, 0, 18, 1, 0, 3, 0); },
         u"Miktar sıfırdan büyük olmalıdır"_s},
        {"negative change", [&] { proxy.SepetGuncelle(copyOf(other), 4, 0, {}, {}, -1, 18, 1, 0, 4, otherLine); },
         u"Miktar sıfırdan büyük olmalıdır"_s},
        {"line of another account", [&] { proxy.SepetGuncelle(copyOf(dealer), kDealer, 0, {}, {}, 2, 18, 1, 0, 3, otherLine); },
         u"Sepet satırı bulunamadı: %1"_s.arg(otherLine)},
        {"delete a line of another account", [&] { proxy.SepetSatirSil(copyOf(dealer), otherLine, {}); },
         u"Sepet satırı bulunamadı: %1"_s.arg(otherLine)},
        {"basket of another account", [&] { proxy.SepetEkle(copyOf(dealer), 4, 77, {}, {}, 1, 18, 1, 0, 3, 0); },
         u"Bu cari hesap üzerinde işlem yetkiniz yok"_s},
        {"no session", [&] { proxy.SepetEkle(nullptr, kDealer, 77, {}, {}, 1, 18, 1, 0, 3, 0); },
         u"Oturum bilgisi gönderilmedi"_s},
        {"wrong password", [&] { proxy.SepetHepsiniSil(copyOf(forged)); }, u"Oturum bilgisi geçersiz"_s},
        {"unregistered computer", [&] { proxy.SepetHepsiniSil(copyOf(stranger)); }, u"Bu bilgisayar kayıtlı değil"_s},
        {"name longer than its column", [&] { proxy.SepetEkle(copyOf(dealer), kDealer, 77, {}, QString(151, u'A'), 1, 18, 1, 0, 3, 0); },
         u"Stok adı en fazla 150 karakter olabilir (151 karakter gönderildi)"_s},
        {"unknown item", [&] { proxy.SepetEkle(copyOf(dealer), kDealer, 987654, {}, {}, 1, 18, 1, 0, 3, 0); },
         u"Stok bulunamadı: 987654"_s},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(remoteMessage(c.call), c.message) << c.what;
        EXPECT_EQ(lines(), stored) << c.what;
    }
    EXPECT_NO_THROW(proxy.EchoString(u"hâlâ açık"_s)) << "the connection survives refused calls";
}

TEST_F(ServerOverTcp, UnknownMethodsAndWrongArgumentsGetErrorReplies)
{
    ServerMethodCommand unknown(*connection, u"TServerMethods1.SepetiUcur"_s);
    EXPECT_THROW(unknown.prepare(), RemoteError);
    ServerMethodCommand wrong(*connection, u"TServerMethods1.SepetVer"_s);
    wrong.prepare();
    try {
        wrong.execute({WireValue(), WireValue()});
        ADD_FAILURE() << "null accepted for an integer";
    } catch (const RemoteError &e) {
        EXPECT_TRUE(e.plainMessage().contains(u"carino"_s)) << e.plainMessage().toStdString();
    }
    EXPECT_EQ(proxy.ReverseString(u"abç"_s), u"çba"_s);
}

TEST_F(ServerOverTcp, OrderSubmissionAndHistory)
{
    const RecordSet teslim = proxy.TeslimVer();
    ASSERT_EQ(teslim.rowCount(), 3);
    EXPECT_EQ(teslim.field(0).type, FieldType::Int32);
    EXPECT_EQ(teslim.field(1).type, FieldType::Text);
    const RecordSet kargo = proxy.KargoVer();
    ASSERT_EQ(kargo.rowCount(), 3);
    const RecordSet firms = proxy.KargolarVer(kargo.int32(0, 0));
    ASSERT_GT(firms.rowCount(), 0);
    const int firm = integer(firms, 0, u"SIRANO");

    const int ordersBefore = proxy.OncekiSiparisler2(kDealer).rowCount();
    const int basketBefore = proxy.SepetVer(kDealer).rowCount();
    EXPECT_TRUE(proxy.SiparisKaydet(copyOf(dealer), kDealer, teslim.int32(1, 0), kargo.int32(0, 0), u"Satır 1\r\nSatır 2"_s, 3, firm));
    const RecordSet orders = proxy.OncekiSiparisler2(kDealer);
    ASSERT_EQ(orders.rowCount(), ordersBefore + 1);
    const int idno = integer(orders, 0, u"IDNO");
    EXPECT_EQ(orders.text(0, col(orders, u"DURUM")), u"Alındı"_s);
    const int remaining = proxy.SepetVer(kDealer).rowCount();
    EXPECT_LT(remaining, basketBefore);
    EXPECT_EQ(proxy.SiparisAyrintisi(kDealer, idno).rowCount(), basketBefore - remaining);
    auto footer = proxy.SiparisAytintisiDip(0, idno);
    ASSERT_TRUE(footer);
    EXPECT_EQ(footer->SizinMesaj(), u"Satır 1\r\nSatır 2"_s);
    EXPECT_EQ(footer->Durumu(), u"Alındı"_s);
    EXPECT_FALSE(proxy.SiparisAytintisiDip(0, 424242));
    EXPECT_GT(proxy.TumSiparislerVer(kDealer, 0).rowCount(), 0);

    EXPECT_FALSE(proxy.SiparisKaydet(copyOf(dealer), kDealer, 2, 1, QString(), 3, 1)) << "no selected line left";
    EXPECT_EQ(proxy.OncekiSiparisler2(kDealer).rowCount(), ordersBefore + 1);
}

TEST_F(ServerOverTcp, StatementDocumentsAndBalances)
{
    const RecordSet st = proxy.CariEkstreVer(kDealer);
    ASSERT_GT(st.rowCount(), 5);
    EXPECT_EQ(st.field(col(st, u"BAKIYE")).type, FieldType::Double);
    EXPECT_EQ(st.field(col(st, u"D")).type, FieldType::Text);
    int invoice = 0, collection = 0;
    for (int r = 0; r < st.rowCount(); ++r) {
        const QString type = st.text(r, col(st, u"TURADI"));
        if (!invoice && type.contains(u"Fatura"_s))
            invoice = integer(st, r, u"IDNO");
        if (!collection && type == u"Tahsilat"_s)
            collection = integer(st, r, u"IDNO");
    }
    EXPECT_GT(proxy.FaturaGetir(kDealer, invoice).rowCount(), 0);
    const RecordSet totals = proxy.FaturaAltGetir(invoice);
    ASSERT_EQ(totals.rowCount(), 1);
    EXPECT_GT(real(totals, 0, u"KDVDAHIL"), real(totals, 0, u"MATRAH"));
    const RecordSet tah = proxy.Tahsilat(collection);
    ASSERT_GT(tah.rowCount(), 0);
    EXPECT_GE(tah.fieldIndex(u"Döviz Tutar"), 0);
    EXPECT_FALSE(proxy.CariDurumVer(kDealer).isEmpty());
    EXPECT_TRUE(proxy.CariDurumVer(9999).isEmpty());

    RecordSet open = proxy.BakiyelerVer(kDealer);
    ASSERT_GE(open.rowCount(), 3);
    const int a = integer(open, 0, u"STOKHAR_NO"), b = integer(open, 1, u"STOKHAR_NO");
    proxy.BakiyeDuzenle(copyOf(dealer), integer(open, 0, u"STOK_STOKNO"), integer(open, 0, u"SIRANO"), a, 1, 1, u"b"_s);
    proxy.BakiyeDegistir(copyOf(dealer), 0, 0, b, 3, 3, u"b"_s);
    open = proxy.BakiyelerVer(kDealer);
    EXPECT_LT(rowWith(open, u"STOKHAR_NO", a), 0);
    EXPECT_DOUBLE_EQ(real(open, rowWith(open, u"STOKHAR_NO", b), u"KALAN"), 3);

    const int c = integer(open, 1, u"STOKHAR_NO");
    EXPECT_EQ(remoteMessage([&] { proxy.BakiyeFiyatDegistir(copyOf(dealer), 0, 0, c, 1, 1, {}, 50, 0); }),
              u"Fiyat değiştirme yetkiniz yok"_s);
    TSonucBilgisi staff = server.session(u"DEMO-PERSONEL2"_s);
    staff.setCARINO(kDealer);
    proxy.BakiyeFiyatDegistir(copyOf(staff), 0, 0, c, 1, 1, {}, 50, 10);
    open = server.storage().balances(kDealer);
    EXPECT_DOUBLE_EQ(real(open, rowWith(open, u"STOKHAR_NO", c), u"NETBIRIMFIYAT"), 45);
}

TEST_F(ServerOverTcp, StaffWindowCallsNeedAStaffSession)
{
    TSonucBilgisi staff = server.session(u"DEMO-PERSONEL1"_s);
    EXPECT_EQ(proxy.SepetSayisi(copyOf(staff)), 3);
    EXPECT_GT(proxy.CariSepetVer(copyOf(staff), 2).rowCount(), 0);
    EXPECT_EQ(proxy.CariAra(copyOf(staff), u"YILDIZ"_s).rowCount(), 1);
    EXPECT_GT(proxy.CariAra(copyOf(server.session(u"DEMO-BOLGE"_s)), QString()).rowCount(), 30) << "BDM accounts are staff";
    EXPECT_EQ(remoteMessage([&] { proxy.CariAra(copyOf(dealer), QString()); }),
              u"Bu işlem yalnızca personel kullanıcılar içindir"_s);
    auto counts = proxy.TusSonuclariVer(std::make_unique<TSonucBilgisi>());
    ASSERT_TRUE(counts);
    EXPECT_EQ(counts->Alindi() + counts->Onaylandi() + counts->Goruldu() + counts->ParcaliHazirlandi() +
                  counts->Hazirlandi() + counts->SevkEdildi(),
              15);

    QTemporaryDir dir;
    const struct
    {
        int raporno, carino;
        QString satici, title;
    } reports[] = {{6, kDealer, u"Mehmet KAYA"_s, u"Cari Özeti"_s},
                   {6, 0, u"."_s, u"Cari Toplu Alacak Vadeleri"_s},
                   {7, kDealer, u"Mehmet KAYA"_s, u"Cari Alış Satış Tablosu (Satıcılı)"_s}};
    for (const auto &r : reports) {
        qint64 size = 0;
        const QByteArray pdf = readAll(proxy.RaporGetir(r.raporno, r.raporno, 1, r.carino, r.satici, 46000, 46400, size));
        ASSERT_EQ(pdf.size(), size);
        const QString path = dir.filePath(u"rapor%1.pdf"_s.arg(r.raporno + r.carino));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(pdf);
        file.close();
        QProcess text;
        text.start(u"pdftotext"_s, {path, u"-"_s});
        ASSERT_TRUE(text.waitForFinished(30000));
        EXPECT_TRUE(QString::fromUtf8(text.readAllStandardOutput()).contains(r.title)) << r.title.toStdString();
    }
    qint64 size = 0;
    EXPECT_NE(remoteMessage([&] { proxy.RaporGetir(9, 9, 1, kDealer, {}, 46000, 46400, size); }), u"<accepted>"_s);
    EXPECT_NE(remoteMessage([&] { proxy.RaporGetir(6, 6, 1, kDealer, {}, 46400, 46000, size); }), u"<accepted>"_s);
}

TEST_F(ServerOverTcp, StartUpContentDocumentsAndMail)
{
    EXPECT_TRUE(proxy.KayanYaziGetir().contains(u"ORVEX"_s));
    qint64 size = 0;
    const QByteArray gif = readAll(proxy.BannerResimVer(size));
    EXPECT_EQ(gif.size(), size);
    EXPECT_TRUE(gif.startsWith("GIF89a"));
    double usd = 0, eur = 0;
    proxy.KurlariAl(usd, eur);
    EXPECT_NEAR(usd, 34.8512, 1e-9);
    EXPECT_NEAR(eur, 37.9246, 1e-9);
    const RecordSet counters = proxy.BalonGetir(copyOf(dealer));
    ASSERT_EQ(counters.rowCount(), 1);
    EXPECT_EQ(counters.int32(0, 0), 4);
    EXPECT_EQ(counters.field(4).type, FieldType::Double);

    ASSERT_EQ(proxy.AcilisReklamAdet(), 2);
    auto ad = proxy.AcilisREklamVer(0);
    ASSERT_TRUE(ad);
    EXPECT_EQ(ad->Arama(), u"#KAMPANYA#"_s);
    EXPECT_FALSE(QImage::fromData(QByteArray::fromHex(ad->Resim().toLatin1()), "JPEG").isNull());
    EXPECT_FALSE(proxy.AcilisREklamVer(2));
    EXPECT_FALSE(proxy.AcilisREklamVer(-1));
    auto screens = proxy.AcilisEkranlarVer();
    ASSERT_TRUE(screens);
    ASSERT_EQ(screens->Count(), 4);
    EXPECT_EQ(screens->Items(1).Arama(), u"#YENİ#"_s);

    const RecordSet docs = proxy.DosyaListesi2();
    ASSERT_EQ(docs.rowCount(), 7);
    for (int r = 0; r < docs.rowCount(); ++r) {
        QString name;
        const QByteArray content = readAll(proxy.BelgeIndir(integer(docs, r, u"SIRANO"), size, name));
        EXPECT_EQ(content.size(), size);
        EXPECT_GT(size, 0);
        EXPECT_FALSE(name.contains(u'/') || name.contains(u'\\')) << name.toStdString();
    }
    QString name = u"önceki"_s;
    EXPECT_EQ(readAll(proxy.BelgeIndir(777, size, name)).size(), 0);
    EXPECT_EQ(size, 0);
    EXPECT_TRUE(name.isEmpty());

    auto account = proxy.MobilCariBilgisiGetir(0, kDealerId);
    ASSERT_TRUE(account);
    EXPECT_EQ(account->CARINO(), kDealer);
    EXPECT_EQ(account->KULLANICIADI(), u"BAYI0"_s);
    EXPECT_FALSE(proxy.MobilCariBilgisiGetir(0, u"BILINMEYEN"_s));

    proxy.MailGonserCari(u"YENI-PC"_s, u"B2B Yeni Kullanıcı İstek"_s, u"Firma"_s, u"Adres"_s, {}, u"İlçe"_s, u"Şehir"_s,
                         u"0212"_s, {}, {}, {}, u"Yetkili"_s, u"KULLANICI"_s, u"SIFRE"_s, u"a@b.c"_s, {});
    proxy.MailGonserCariNormal(kDealerId, u"Konu"_s, account->CARIADI(), account->ADRES1(), account->ADRES2(),
                               account->ILCE(), account->SEHIR(), account->TEL1(), account->FAX1(),
                               account->VERGIDAIRESI(), account->VERGINO(), account->YETKILI(), account->KULLANICIADI(),
                               account->SIFRE(), account->MAIL(), {}, u"satır,\"iki\""_s);
    EXPECT_NE(remoteMessage([&] {
                  proxy.MailGonserCari(u"YENI-PC"_s, QString(151, u'B'), {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {});
              }),
              u"<accepted>"_s);
    const auto outbox = server.storage().outbox();
    ASSERT_EQ(outbox.size(), 2u);
    EXPECT_EQ(outbox[0].request.baslik, u"B2B Yeni Kullanıcı İstek"_s);
    EXPECT_EQ(outbox[1].request.konu, u"satır,\"iki\""_s);
    EXPECT_EQ(outbox[1].request.method, u"MailGonserCariNormal"_s);
}

TEST_F(ServerOverTcp, MethodsTheClientNeverCallsAnswerSensibly)
{
    auto item = proxy.MobilStokNoAra(1, copyOf(dealer));
    ASSERT_TRUE(item);
    EXPECT_EQ(item->StokNo(), 1);
    EXPECT_EQ(item->ResimVar(), 1);
    EXPECT_FALSE(QImage::fromData(QByteArray::fromHex(item->Resim().toLatin1()), "JPEG").isNull());
    EXPECT_FALSE(proxy.MobilStokNoAra(999999, copyOf(dealer)));

    const int all = proxy.StokAraOrvex(u"FREN"_s, copyOf(dealer)).rowCount();
    bool more = false;
    qint32 total = 0;
    auto page = proxy.MobilStokaraAdimli(u"FREN"_s, copyOf(dealer), 0, 0, 2, 3, more, total);
    EXPECT_EQ(total, all);
    EXPECT_EQ(page->Count(), std::min(3, all - 2));
    EXPECT_EQ(more, all > 5);
    EXPECT_EQ(proxy.MobilStokara(u"FREN"_s, copyOf(dealer), 0, 4)->Count(), std::min(4, all));
    EXPECT_NE(remoteMessage([&] { proxy.MobilStokara(u"FREN"_s, copyOf(dealer), -1, 4); }), u"<accepted>"_s);

    auto basket = proxy.SepetMobilVer(kDealer);
    ASSERT_EQ(basket->Count(), proxy.SepetVer(kDealer).rowCount());
    EXPECT_GT(basket->Items(0).TARIH(), 40000.0);
    EXPECT_EQ(basket->Items(0).CARINO(), kDealer);

    const int wholeStatement = proxy.CariEkstreVer(kDealer).rowCount();
    EXPECT_LT(proxy.CariEkstreVer2(kDealer, 46300, 46400).rowCount(), wholeStatement);
    EXPECT_EQ(proxy.CariEkstreVer2Baslik(kDealer, 46300).rowCount(), 1);

    qint32 sepet = -1, yeni = -1, kampanya = -1, duyuru = -1, bakiye = -1, dosya = -1;
    proxy.BalonGetir2(kDealer, sepet, yeni, kampanya, duyuru, bakiye, dosya);
    EXPECT_EQ(sepet, 4);
    EXPECT_EQ(duyuru, 4);
    EXPECT_EQ(dosya, 7);
    EXPECT_EQ(proxy.AcilisEkranlarVer2()->Ekranlar().size(), 4u);
    EXPECT_EQ(proxy.DuyuruVer().rowCount(), 4);

    qint64 boy64 = 0;
    qint32 boy32 = 0;
    const QJsonArray bytes = proxy.ResimVer6(1, boy64);
    EXPECT_EQ(bytes.size(), boy64);
    EXPECT_GT(boy64, 0);
    const QString hex = proxy.BuyukResimVer(1, boy32);
    EXPECT_EQ(hex.size(), 2 * boy32);
    EXPECT_TRUE(readAll(proxy.YedekDunyasiVer()).startsWith("%PDF-1.4"));

    qint32 mail = -1;
    EXPECT_TRUE(proxy.SifremiUnuttum(kDealerId, mail));
    EXPECT_EQ(mail, 1);
    EXPECT_FALSE(proxy.SifremiUnuttum(u"YOK"_s, mail));
    EXPECT_EQ(server.storage().outbox().size(), 1u);
    proxy.CikisGonder(copyOf(dealer));
    EXPECT_GT(proxy.RaporAlinanSiparisler(copyOf(dealer), 46000, 47000).rowCount(), 0);
    EXPECT_NE(remoteMessage([&] { proxy.RaporEnCokSatilanStoklar(copyOf(dealer), 46000, 47000); }), u"<accepted>"_s);
}
