#include "server/methods/ServerMethods.h"

#include "core/data/NumberFormat.h"
#include "server/methods/Conversions.h"
#include "server/methods/Reports.h"
#include "server/methods/SessionCheck.h"
#include "server/storage/ResultShapes.h"
#include "server/storage/Schema.h"

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace morvex::server {

namespace {

constexpr int kMaxMobilePage = 500;

std::unique_ptr<WireStream> bytesStream(const QByteArray &bytes, qint64 &size)
{
    size = bytes.size();
    return std::make_unique<ByteArrayStream>(bytes);
}

void requireText(const QString &value, int limit, const QString &field)
{
    if (value.size() > limit)
        throw StorageError(u"%1 en fazla %2 karakter olabilir (%3 karakter gönderildi)"_s.arg(field).arg(limit).arg(value.size()));
}

int carinoOf(const TSonucBilgisi *session)
{
    return session ? session->CARINO() : 0;
}

std::unique_ptr<TMobilStoklar> stockPage(const RecordSet &rows, int first, int count)
{
    if (first < 0 || count < 0)
        throw StorageError(u"Başlangıç ve adet negatif olamaz"_s);
    auto list = std::make_unique<TMobilStoklar>();
    const int end = int(std::min<qint64>(rows.rowCount(), qint64(first) + std::min(count, kMaxMobilePage)));
    for (int r = first; r < end; ++r)
        list->Add(mobileStock(rows, r));
    return list;
}

TAcilisEkran screen(const OpeningScreen &s)
{
    TAcilisEkran e;
    e.setSiraNo(s.siraNo);
    e.setResim(hexText(s.resim));
    e.setBaslik(s.baslik);
    e.setArama(s.arama);
    return e;
}

RecordSet screensTable(const std::vector<OpeningScreen> &screens)
{
    RecordSet set = emptyResult(ResultShape::Screens);
    for (const OpeningScreen &s : screens) {
        const int row = set.appendRow();
        set.setInt32(row, 0, s.siraNo);
        set.setText(row, 1, s.baslik);
        set.setText(row, 2, s.arama);
        set.setBytes(row, 3, s.resim);
    }
    return set;
}

MailRequest mailRequest(const QString &method, const QStringList &fields)
{
    MailRequest r;
    r.method = method;
    QString *targets[] = {&r.idsi, &r.baslik, &r.firmaadi, &r.adres1, &r.adres2, &r.ilce, &r.sehir, &r.telefon, &r.fax,
                          &r.vd, &r.vn, &r.yetkili, &r.kullaniciadi, &r.sifre, &r.mail, &r.kargoambar, &r.konu};
    for (qsizetype i = 0; i < fields.size() && i < qsizetype(std::size(targets)); ++i)
        *targets[i] = fields[i];
    return r;
}

} // namespace

ServerMethods::ServerMethods(StoragePool &pool) : m_storage(pool.acquire()) {}

std::unique_ptr<TSonucBilgisi> ServerMethods::BuyukGetir(const QString &idsi)
{
    requireText(idsi, limits::kIdentity, u"Bilgisayar ID"_s);
    if (idsi.trimmed().isEmpty())
        return nullptr;
    return std::make_unique<TSonucBilgisi>(sessionFor(idsi, db().userForIdentity(idsi)));
}

RecordSet ServerMethods::StokAraOrvex(const QString &kod, std::unique_ptr<TSonucBilgisi> bilgi)
{
    return db().searchStock(kod, carinoOf(bilgi.get()));
}

RecordSet ServerMethods::OrvexdeAra(const QString &s)
{
    return db().searchGenuineParts(s);
}

RecordSet ServerMethods::OrvexYenilerVer(qint32 carino)
{
    return db().newStock(carino);
}

RecordSet ServerMethods::OrvexKampanyaliVer(qint32 cario, qint32 satici)
{
    if (satici == 4)
        return emptyResult(ResultShape::CampaignStock);
    return db().campaignStock(cario);
}

std::unique_ptr<WireStream> ServerMethods::ResimVer5(qint32 stokno, qint64 &boy)
{
    return bytesStream(db().stockPicture(stokno), boy);
}

RecordSet ServerMethods::StokAra(const QString &kod, const QString &carino, qint32 satici)
{
    Q_UNUSED(satici);
    bool ok = false;
    const int account = carino.trimmed().toInt(&ok);
    return db().searchStock(kod, ok ? account : 0);
}

RecordSet ServerMethods::StokAraTelvo(const QString &kod, std::unique_ptr<TSonucBilgisi> bilgi)
{
    return db().searchStock(kod, carinoOf(bilgi.get()));
}

RecordSet ServerMethods::Dravik(const QString &kod, std::unique_ptr<TSonucBilgisi> bilgi)
{
    return db().searchStock(kod, carinoOf(bilgi.get()));
}

std::unique_ptr<TMobilStoklar> ServerMethods::MobilStokara(const QString &kod, std::unique_ptr<TSonucBilgisi> bilgi,
                                                           qint32 neresi, qint32 nekadar)
{
    return stockPage(db().searchStock(kod, carinoOf(bilgi.get())), neresi, nekadar);
}

std::unique_ptr<TMobilStok> ServerMethods::MobilStokNoAra(qint32 stokno, std::unique_ptr<TSonucBilgisi> bilgi)
{
    const RecordSet rows = db().stockByNumber(stokno, carinoOf(bilgi.get()));
    if (rows.rowCount() == 0)
        return nullptr;
    auto item = std::make_unique<TMobilStok>(mobileStock(rows, 0));
    const QByteArray picture = db().stockPicture(stokno);
    item->setResimVar(picture.isEmpty() ? 0 : 1);
    item->setResim(hexText(picture));
    return item;
}

qint32 ServerMethods::MobilStokaraGeri(const QString &kod, std::unique_ptr<TSonucBilgisi> bilgi, qint32 neresi,
                                       qint32 nekadar, RemoteCallback geri)
{
    Q_UNUSED(geri);
    return stockPage(db().searchStock(kod, carinoOf(bilgi.get())), neresi, nekadar)->Count();
}

std::unique_ptr<TMobilStoklar> ServerMethods::MobilStokaraAdimli(const QString &kod, std::unique_ptr<TSonucBilgisi> bilgi,
                                                                 qint32 neresi, qint32 nekadar, qint32 ilk, qint32 Adet,
                                                                 bool &kalan, qint32 &toplam)
{
    Q_UNUSED(neresi);
    Q_UNUSED(nekadar);
    const RecordSet rows = db().searchStock(kod, carinoOf(bilgi.get()));
    auto page = stockPage(rows, ilk, Adet);
    toplam = rows.rowCount();
    kalan = qint64(ilk) + page->Count() < rows.rowCount();
    return page;
}

RecordSet ServerMethods::YenilerVer(qint32 carino)
{
    return db().newStock(carino);
}

RecordSet ServerMethods::YenilerVerMobile(qint32 carino)
{
    return db().newStock(carino);
}

RecordSet ServerMethods::KampanyaliVer(qint32 cario, qint32 satici)
{
    return OrvexKampanyaliVer(cario, satici);
}

RecordSet ServerMethods::KampanyaliVermMobil(qint32 cario, qint32 satici)
{
    return OrvexKampanyaliVer(cario, satici);
}

QJsonArray ServerMethods::ResimVer6(qint32 stokno, qint64 &boy)
{
    const QByteArray picture = db().stockPicture(stokno);
    boy = picture.size();
    QJsonArray bytes;
    for (char c : picture)
        bytes.append(int(quint8(c)));
    return bytes;
}

QString ServerMethods::BuyukResimVer(qint32 stokno, qint32 &boy)
{
    const QByteArray picture = db().stockPicture(stokno);
    boy = int(picture.size());
    return hexText(picture);
}

std::unique_ptr<WireStream> ServerMethods::HttpResimVer(qint32 stokno)
{
    return std::make_unique<ByteArrayStream>(db().stockPicture(stokno));
}

QString ServerMethods::KucukResimVer(qint32 stokno)
{
    return hexText(db().stockPicture(stokno));
}

RecordSet ServerMethods::DepartmanlariGetir()
{
    return db().departments();
}

QString ServerMethods::EchoString(const QString &Value)
{
    return Value;
}

QString ServerMethods::ReverseString(const QString &Value)
{
    QString reversed;
    reversed.reserve(Value.size());
    for (auto it = Value.crbegin(); it != Value.crend(); ++it)
        reversed.append(*it);
    return reversed;
}

void ServerMethods::DSServerModuleCreate(std::unique_ptr<TransferObject> Sender)
{
    Q_UNUSED(Sender);
}

RecordSet ServerMethods::SepetVer(qint32 carino)
{
    return db().basket(carino);
}

qint32 ServerMethods::SepetEkle(std::unique_ptr<TSonucBilgisi> bilgim, qint32 carino, qint32 stokno,
                                const QString &barkod, const QString &stokadi, double miktar, double kdv, double fiyat,
                                double indirim, qint32 verenid, qint32 k)
{
    Q_UNUSED(kdv);
    Q_UNUSED(verenid);
    Q_UNUSED(k);
    requireText(barkod, limits::kBarcode, u"Barkod"_s);
    requireText(stokadi, limits::kStockName, u"Stok adı"_s);
    const Caller caller = authenticate(db(), bilgim.get());
    requireAccount(db(), caller, carino);
    db().addToBasket({carino, stokno, miktar, caller.staff, fiyat, indirim, caller.user.sirano, caller.user.adi});
    return 1;
}

qint32 ServerMethods::SepetGuncelle(std::unique_ptr<TSonucBilgisi> bilgim, qint32 carino, qint32 stokno,
                                    const QString &barkod, const QString &stokadi, double miktar, double kdv,
                                    double fiyat, double indirim, qint32 verenid, qint32 _sepetsirano)
{
    Q_UNUSED(stokno);
    Q_UNUSED(kdv);
    Q_UNUSED(verenid);
    requireText(barkod, limits::kBarcode, u"Barkod"_s);
    requireText(stokadi, limits::kStockName, u"Stok adı"_s);
    const Caller caller = authenticate(db(), bilgim.get());
    requireAccount(db(), caller, carino);
    db().changeBasketLine({carino, _sepetsirano, miktar, caller.staff, fiyat, indirim});
    return 1;
}

qint32 ServerMethods::SepetSatirSil(std::unique_ptr<TSonucBilgisi> bilgi, qint32 satirno, const QString &aciklamam)
{
    requireText(aciklamam, limits::kText + limits::kBarcode + 1, u"Açıklama"_s);
    const Caller caller = authenticate(db(), bilgi.get());
    requireAccount(db(), caller, bilgi->CARINO());
    db().deleteBasketLine(bilgi->CARINO(), satirno);
    return 1;
}

qint32 ServerMethods::SepetHepsiniSil(std::unique_ptr<TSonucBilgisi> bilgi)
{
    const Caller caller = authenticate(db(), bilgi.get());
    requireAccount(db(), caller, bilgi->CARINO());
    return db().clearBasket(bilgi->CARINO());
}

RecordSet ServerMethods::TeslimVer()
{
    return db().deliveryKinds();
}

RecordSet ServerMethods::KargoVer()
{
    return db().cargoKinds();
}

RecordSet ServerMethods::KargolarVer(qint32 gn)
{
    return db().cargoCompanies(gn);
}

bool ServerMethods::SiparisKaydet(std::unique_ptr<TSonucBilgisi> BB, qint32 _carino, qint32 _teslim, qint32 _kargo,
                                  const QString &_aciklama, qint32 _verenid, qint32 _kargoyeni)
{
    Q_UNUSED(_verenid);
    const Caller caller = authenticate(db(), BB.get());
    requireAccount(db(), caller, _carino);
    return db()
        .saveOrder({_carino, _teslim, _kargo, _kargoyeni, _aciklama, caller.user.sirano, caller.user.adi})
        .has_value();
}

RecordSet ServerMethods::OncekiSiparisler2(qint32 carino)
{
    return db().orders(carino);
}

RecordSet ServerMethods::SiparisAyrintisi(qint32 carino, qint32 idnosu)
{
    return db().orderLines(carino, idnosu);
}

std::unique_ptr<TSiparisDipAyrinti> ServerMethods::SiparisAytintisiDip(qint32 carino, qint32 siranosu)
{
    Q_UNUSED(carino);
    const auto footer = db().orderFooter(siranosu);
    if (!footer)
        return nullptr;
    auto f = std::make_unique<TSiparisDipAyrinti>();
    f->setSizinMesaj(footer->sizinMesaj);
    f->setDurumu(footer->durumu);
    f->setVeren(footer->veren);
    f->setKargo(footer->kargo);
    f->setBizimMesaj(footer->bizimMesaj);
    f->setTeslimCinsi(footer->teslimCinsi);
    f->setKargoCinsi(footer->kargoCinsi);
    f->setSaticiNotu(footer->saticiNotu);
    return f;
}

RecordSet ServerMethods::TumSiparislerVer(qint32 carino, qint32 stokno)
{
    return db().orderMovements(carino, stokno);
}

RecordSet ServerMethods::CariEkstreVer(qint32 carino)
{
    return db().statement(carino);
}

RecordSet ServerMethods::FaturaGetir(qint32 carino, qint32 idnosu)
{
    return db().invoiceLines(carino, idnosu);
}

RecordSet ServerMethods::FaturaAltGetir(qint32 idnosu)
{
    return db().invoiceTotals(idnosu);
}

RecordSet ServerMethods::Tahsilat(qint32 idnosu)
{
    return db().collection(idnosu);
}

RecordSet ServerMethods::BakiyelerVer(qint32 carino)
{
    return db().balances(carino);
}

qint32 ServerMethods::BakiyeDuzenle(std::unique_ptr<TSonucBilgisi> k, qint32 stokno, qint32 sepetsirano,
                                    qint32 siparissirano, double Adet, double Bakiye, const QString &barkod)
{
    Q_UNUSED(stokno);
    Q_UNUSED(sepetsirano);
    Q_UNUSED(Adet);
    Q_UNUSED(Bakiye);
    requireText(barkod, limits::kBarcode, u"Barkod"_s);
    const Caller caller = authenticate(db(), k.get());
    requireAccount(db(), caller, k->CARINO());
    db().cancelBalance({k->CARINO(), siparissirano, 0, 0, 0});
    return 1;
}

qint32 ServerMethods::BakiyeDegistir(std::unique_ptr<TSonucBilgisi> k, qint32 stokno, qint32 sepetsirano,
                                     qint32 siparissirano, double Adet, double Bakiye, const QString &barkod)
{
    Q_UNUSED(stokno);
    Q_UNUSED(sepetsirano);
    Q_UNUSED(Adet);
    requireText(barkod, limits::kBarcode, u"Barkod"_s);
    const Caller caller = authenticate(db(), k.get());
    requireAccount(db(), caller, k->CARINO());
    db().changeBalance({k->CARINO(), siparissirano, Bakiye, 0, 0});
    return 1;
}

qint32 ServerMethods::BakiyeFiyatDegistir(std::unique_ptr<TSonucBilgisi> k, qint32 stokno, qint32 sepetsirano,
                                          qint32 siparissirano, double Adet, double Bakiye, const QString &barkod,
                                          double fiyat, double ind)
{
    Q_UNUSED(stokno);
    Q_UNUSED(sepetsirano);
    Q_UNUSED(Adet);
    Q_UNUSED(Bakiye);
    requireText(barkod, limits::kBarcode, u"Barkod"_s);
    const Caller caller = authenticate(db(), k.get());
    if (caller.user.musteriTipi != 2)
        throw StorageError(u"Fiyat değiştirme yetkiniz yok"_s);
    requireAccount(db(), caller, k->CARINO());
    db().changeBalancePrice({k->CARINO(), siparissirano, 0, fiyat, ind});
    return 1;
}

QString ServerMethods::CariDurumVer(qint32 carino)
{
    return db().accountBalanceText(carino);
}

qint32 ServerMethods::SepetSayisi(std::unique_ptr<TSonucBilgisi> bil)
{
    requireStaff(authenticate(db(), bil.get()));
    return db().accountsWithBasket();
}

RecordSet ServerMethods::CariSepetVer(std::unique_ptr<TSonucBilgisi> bil, qint32 n)
{
    requireStaff(authenticate(db(), bil.get()));
    return db().accountsInState(n);
}

void ServerMethods::SepetSecimGuncelle(qint32 sirano, qint32 secim)
{
    db().setBasketSelection(sirano, secim);
}

std::unique_ptr<TMobilSepetler> ServerMethods::SepetMobilVer(qint32 carino)
{
    const RecordSet basket = db().basket(carino);
    auto list = std::make_unique<TMobilSepetler>();
    for (int r = 0; r < basket.rowCount(); ++r)
        list->Add(mobileBasketLine(basket, r));
    return list;
}

qint32 ServerMethods::MobilSiparisKaydet(qint32 idnosu)
{
    const auto footer = db().orderFooter(idnosu);
    return footer ? 1 : 0;
}

RecordSet ServerMethods::OncekiSiparisler(qint32 carino)
{
    return db().orders(carino);
}

RecordSet ServerMethods::Oncekiler(qint32 carino)
{
    return db().orders(carino);
}

RecordSet ServerMethods::CariEkstreVer2(qint32 carino, double TARIH1, double TARIH2)
{
    return db().statement(carino, dateFromDays(TARIH1), dateFromDays(TARIH2));
}

RecordSet ServerMethods::CariEkstreVer2Baslik(qint32 carino, double tarih1)
{
    return db().statementHeader(carino, dateFromDays(tarih1));
}

QString ServerMethods::KayanYaziGetir()
{
    return db().tickerText();
}

std::unique_ptr<WireStream> ServerMethods::BannerResimVer(qint64 &size)
{
    return bytesStream(db().banner(), size);
}

qint32 ServerMethods::KurlariAl(double &usd, double &eur)
{
    const ExchangeRates rates = db().exchangeRates();
    usd = rates.usd;
    eur = rates.eur;
    return 1;
}

RecordSet ServerMethods::BalonGetir(std::unique_ptr<TSonucBilgisi> bil)
{
    return db().counters(carinoOf(bil.get()));
}

qint32 ServerMethods::AcilisReklamAdet()
{
    return db().advertisementCount();
}

std::unique_ptr<TAcilisEkran> ServerMethods::AcilisREklamVer(qint32 sira)
{
    const auto ad = db().advertisement(sira);
    return ad ? std::make_unique<TAcilisEkran>(screen(*ad)) : nullptr;
}

std::unique_ptr<TAcilisEkranlar> ServerMethods::AcilisEkranlarVer()
{
    auto list = std::make_unique<TAcilisEkranlar>();
    for (const OpeningScreen &s : db().announcements())
        list->Add(screen(s));
    return list;
}

RecordSet ServerMethods::DosyaListesi2()
{
    return db().documents();
}

std::unique_ptr<WireStream> ServerMethods::BelgeIndir(qint32 sirano, qint64 &size, QString &adi)
{
    const auto document = db().document(sirano);
    if (!document) {
        size = 0;
        adi.clear();
        return std::make_unique<ByteArrayStream>(QByteArray());
    }
    adi = document->fileName;
    return bytesStream(document->content, size);
}

std::unique_ptr<TMobilCariBilgisi> ServerMethods::MobilCariBilgisiGetir(qint32 sirano, const QString &_idsi)
{
    Q_UNUSED(sirano);
    requireText(_idsi, limits::kIdentity, u"Bilgisayar ID"_s);
    const auto account = db().accountForIdentity(_idsi);
    return account ? std::make_unique<TMobilCariBilgisi>(mobileAccount(*account)) : nullptr;
}

qint32 ServerMethods::MailGonserCari(const QString &idsi, const QString &baslik, const QString &firmaadi,
                                     const QString &adres1, const QString &adres2, const QString &ilce,
                                     const QString &sehir, const QString &telefon, const QString &fax, const QString &vd,
                                     const QString &vn, const QString &yetkili, const QString &kullaniciadi,
                                     const QString &sifre, const QString &mail, const QString &kargoambar)
{
    return db().storeMail(mailRequest(u"MailGonserCari"_s, {idsi, baslik, firmaadi, adres1, adres2, ilce, sehir, telefon,
                                                             fax, vd, vn, yetkili, kullaniciadi, sifre, mail, kargoambar}));
}

qint32 ServerMethods::MailGonserCariNormal(const QString &idsi, const QString &baslik, const QString &firmaadi,
                                           const QString &adres1, const QString &adres2, const QString &ilce,
                                           const QString &sehir, const QString &telefon, const QString &fax,
                                           const QString &vd, const QString &vn, const QString &yetkili,
                                           const QString &kullaniciadi, const QString &sifre, const QString &mail,
                                           const QString &kargoambar, const QString &konu)
{
    return db().storeMail(mailRequest(u"MailGonserCariNormal"_s,
                                      {idsi, baslik, firmaadi, adres1, adres2, ilce, sehir, telefon, fax, vd, vn,
                                       yetkili, kullaniciadi, sifre, mail, kargoambar, konu}));
}

RecordSet ServerMethods::CariAra(std::unique_ptr<TSonucBilgisi> bil, const QString &aranan)
{
    requireStaff(authenticate(db(), bil.get()));
    return db().searchAccounts(aranan);
}

std::unique_ptr<TTusSonuclari> ServerMethods::TusSonuclariVer(std::unique_ptr<TSonucBilgisi> bil)
{
    Q_UNUSED(bil);
    const OrderStateCounts c = db().orderStateCounts();
    auto counts = std::make_unique<TTusSonuclari>();
    counts->setAlindi(c.alindi);
    counts->setOnaylandi(c.onaylandi);
    counts->setParcaliHazirlandi(c.parcaliHazirlandi);
    counts->setSevkEdildi(c.sevkEdildi);
    counts->setHazirlandi(c.hazirlandi);
    counts->setGoruldu(c.goruldu);
    return counts;
}

std::unique_ptr<WireStream> ServerMethods::RaporGetir(qint32 raporno, qint32 bolum, qint32 idno, qint32 carino,
                                                       const QString &saticiadi, double tarih1, double tarih2,
                                                       qint64 &size)
{
    Q_UNUSED(bolum);
    Q_UNUSED(idno);
    requireText(saticiadi, limits::kText, u"Satıcı adı"_s);
    const QDate from = dateFromDays(tarih1), to = dateFromDays(tarih2);
    if (from > to)
        throw StorageError(u"Başlangıç tarihi bitiş tarihinden sonra olamaz"_s);
    return bytesStream(buildReport(db(), raporno, carino, saticiadi, from, to), size);
}

RecordSet ServerMethods::DuyuruVer()
{
    return screensTable(db().announcements());
}

RecordSet ServerMethods::DuyuruVer2()
{
    return screensTable(db().announcements());
}

qint32 ServerMethods::BalonGetir2(qint32 carino, qint32 &sepet, qint32 &yenistok, qint32 &kampnayali, qint32 &duyuru,
                                  qint32 &Bakiye, qint32 &dosya)
{
    const RecordSet c = db().counters(carino);
    sepet = c.int32(0, 0);
    yenistok = c.int32(0, 1);
    kampnayali = c.int32(0, 2);
    duyuru = c.int32(0, 3);
    Bakiye = int(std::lround(c.real(0, 4)));
    dosya = db().documents().rowCount();
    return 1;
}

std::unique_ptr<TAcilisEkranlariki> ServerMethods::AcilisEkranlarVer2()
{
    auto screens = std::make_unique<TAcilisEkranlariki>();
    std::vector<TAcilisEkran> items;
    for (const OpeningScreen &s : db().announcements())
        items.push_back(screen(s));
    screens->setEkranlar(items);
    return screens;
}

RecordSet ServerMethods::AcilisEkranlariVerData()
{
    return screensTable(db().announcements());
}

RecordSet ServerMethods::DosyaListesi()
{
    return db().documents();
}

std::unique_ptr<WireStream> ServerMethods::DosyaIndir(qint64 &size)
{
    return bytesStream(QByteArray(), size);
}

std::unique_ptr<WireStream> ServerMethods::BelgeIndir2(qint32 sirano, qint64 &size, QString &adi,
                                                        std::unique_ptr<TSonucBilgisi> bilgi)
{
    Q_UNUSED(bilgi);
    return BelgeIndir(sirano, size, adi);
}

bool ServerMethods::SifremiUnuttum(const QString &idsi, qint32 &mailvarmi)
{
    mailvarmi = 0;
    requireText(idsi, limits::kIdentity, u"Bilgisayar ID"_s);
    const auto account = db().accountForIdentity(idsi);
    if (!account)
        return false;
    mailvarmi = account->mail.isEmpty() ? 0 : 1;
    MailRequest r;
    r.method = u"SifremiUnuttum"_s;
    r.idsi = idsi;
    r.baslik = u"Şifre Hatırlatma İsteği"_s;
    r.firmaadi = account->cariAdi;
    r.kullaniciadi = account->kullaniciAdi;
    r.mail = account->mail;
    db().storeMail(r);
    return true;
}

void ServerMethods::CikisGonder(std::unique_ptr<TSonucBilgisi> bilgi)
{
    const Caller caller = authenticate(db(), bilgi.get());
    db().logEvent(caller.user.sirano, u"Çıkış"_s);
}

RecordSet ServerMethods::RaporAlinanSiparisler(std::unique_ptr<TSonucBilgisi> bilgi, double tarih1, double tarih2)
{
    const Caller caller = authenticate(db(), bilgi.get());
    return db().ordersBetween(dateFromDays(tarih1), dateFromDays(tarih2), caller.staff ? 0 : caller.user.carino);
}

RecordSet ServerMethods::RaporEnCokSatilanStoklar(std::unique_ptr<TSonucBilgisi> bilgi, double tarih1, double tarih2)
{
    requireStaff(authenticate(db(), bilgi.get()));
    return db().bestSellers(dateFromDays(tarih1), dateFromDays(tarih2));
}

std::unique_ptr<WireStream> ServerMethods::YedekDunyasiVer()
{
    return std::make_unique<ByteArrayStream>(db().backup());
}

} // namespace morvex::server
