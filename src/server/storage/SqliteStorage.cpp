#include "server/storage/SqliteStorage.h"

#include "core/data/NumberFormat.h"
#include "server/storage/Pricing.h"
#include "server/storage/Schema.h"

#include <QFileInfo>

#include <cmath>

using namespace Qt::StringLiterals;

namespace morvex::server {

namespace {

constexpr int kMaxSearchTokens = 6;
constexpr double kMaxQuantity = 100000;
constexpr double kMaxPrice = 1e9;

void requireText(const QString &value, int limit, const QString &field)
{
    if (value.size() > limit)
        throw StorageError(u"%1 en fazla %2 karakter olabilir (%3 karakter gönderildi)"_s.arg(field).arg(limit).arg(value.size()));
}

void requireQuantity(double miktar)
{
    if (!std::isfinite(miktar) || miktar <= 0)
        throw StorageError(u"Miktar sıfırdan büyük olmalıdır"_s);
    if (miktar > kMaxQuantity)
        throw StorageError(u"Miktar en fazla %1 olabilir"_s.arg(kMaxQuantity));
}

void requirePrice(double fiyat)
{
    if (!std::isfinite(fiyat) || fiyat < 0 || fiyat > kMaxPrice)
        throw StorageError(u"Geçersiz fiyat"_s);
}

void requireDiscount(double indirim)
{
    if (!std::isfinite(indirim) || indirim < 0 || indirim > 100)
        throw StorageError(u"İndirim oranı 0 ile 100 arasında olmalıdır"_s);
}

QString nowText()
{
    return storedDateTime(QDateTime::currentDateTime());
}

QString timeText()
{
    return QTime::currentTime().toString(u"HH:mm"_s);
}

QString fromDate(std::optional<QDate> d, const QString &fallback)
{
    return d && d->isValid() ? d->toString(u"yyyy-MM-dd"_s) : fallback;
}

// Keeps a document name a plain file name, whatever the database holds.
QString plainFileName(const QString &stored, int sirano)
{
    QString name = stored;
    name.replace(QChar(u'\\'), QChar(u'/'));
    name = QFileInfo(name).fileName();
    QString clean;
    for (QChar c : name)
        clean.append(c.unicode() < 0x20 || c == u':' ? QChar(u'_') : c);
    if (clean.isEmpty() || clean == u"."_s || clean == u".."_s)
        clean = u"belge%1"_s.arg(sirano);
    return clean;
}

const char *const kStockSelect =
    "SELECT s.barkod, s.kod, s.oem1, s.oem2, s.oem3, s.adi, s.oem4, s.stokno, s.ureticikodu, s.barkodno, "
    "s.digeradi, s.dpkod, s.oemno, s.birim, s.marka, s.model, s.anagrup, s.ozelkod, s.kalan, s.pkod, s.kdv, "
    "s.alinansiparis, s.verilensiparis, s.listefiyati, s.maliyet, s.fiyat, s.yeni, s.kampanyali, s.kampanyafiyati, "
    "s.durum, COALESCE(i.oran, c.indirim, 0) FROM stok s LEFT JOIN cari c ON c.carino = ?1 "
    "LEFT JOIN iskonto i ON i.carino = ?1 AND i.marka = s.marka ";

const char *const kBasketSelect =
    "SELECT b.sirano AS SIRANO, b.carino AS CARINO, b.stokno AS STOKNO, b.stokno AS STOK_STOKNO, b.sec AS SEC, "
    "b.tarih AS VERILISTARIHI, b.tarih AS TARIH, b.saat AS SAAT, b.barkod AS BARKOD, s.kod AS FINISHKOD, "
    "b.stokadi AS STOKADI, b.miktar AS MIKTAR, b.birimfiyat AS BIRIMFIYAT, b.tutar AS TUTAR, "
    "b.indirimorani1 AS INDIRIMORANI1, b.indirimorani2 AS INDIRIMORANI2, b.indirimorani3 AS INDIRIMORANI3, "
    "b.indirimtutar AS INDIRIMTUTAR, b.netbirimfiyat AS NETBIRIMFIYAT, b.kdv AS KDV, b.vergitutari AS VERGITUTARI, "
    "b.nettutar AS NETTUTAR, b.kdvlitutar AS KDVLITUTAR, b.veren AS VEREN, b.verenidno AS VERENIDNO, "
    "b.verenidno AS VERENSIRANO, s.durum AS DURUM, 0 AS SIPARISNO, s.oemno AS OEMNO, s.oem1 AS OEM1, "
    "s.oem2 AS OEM2, s.oem3 AS OEM3, s.oem4 AS OEM4, s.digeradi AS DIGERADI, s.dpkod AS DPKOD, s.pkod AS PKOD, "
    "s.marka AS MARKA, s.model AS MODEL, s.anagrup AS ANAGRUP, s.ozelkod AS OZELKOD, s.ureticikodu AS URETICIKODU, "
    "b.kur AS KUR, b.kurtl AS KURTL, '' AS ACIKLAMA, 0 AS AKTAR, 0 AS TESLIMID, 0 AS KARGOID, b.sirano AS IDNO, "
    "c.carikod AS CARIKOD, c.cariadi AS CARIADI, s.kalan AS KALAN "
    "FROM sepet b JOIN stok s ON s.stokno = b.stokno JOIN cari c ON c.carino = b.carino "
    "WHERE b.carino = ?1 ORDER BY b.sirano";

#define MORVEX_ORDER_LINE_SELECT                                                                                  \
    "SELECT l.sepetsirano AS SIRANO, l.carino AS CARINO, l.stokno AS STOKNO, l.stokno AS STOK_STOKNO, "           \
    "l.idno AS IDNO, l.idno AS SIPARISNO, l.stokhar_no AS STOKHAR_NO, o.tarih AS VERILISTARIHI, l.tarih AS TARIH, " \
    "l.saat AS SAAT, l.barkod AS BARKOD, s.kod AS FINISHKOD, s.oemno AS OEMNO, l.stokadi AS STOKADI, "              \
    "l.miktar AS MIKTAR, l.birimfiyat AS BIRIMFIYAT, l.ilkfiyat AS ILKFIYAT, l.tutar AS TUTAR, "                   \
    "l.indirimorani1 AS INDIRIMORANI1, l.indirimorani2 AS INDIRIMORANI2, l.indirimorani3 AS INDIRIMORANI3, "       \
    "l.indirimtutar AS INDIRIMTUTAR, l.netbirimfiyat AS NETBIRIMFIYAT, l.kdv AS KDV, "                              \
    "l.vergitutari AS VERGITUTARI, l.nettutar AS NETTUTAR, l.veren AS VEREN, l.verenidno AS VERENIDNO, "           \
    "l.verenidno AS VERENSIRANO, l.teslimedilen AS TESLIMEDILEN, l.kalan AS KALAN, "                               \
    "printf('%g', s.kalan) AS ELDEKI, s.alinansiparis AS ALINANSIPARIS, s.verilensiparis AS VERILENSIPARIS, "      \
    "s.durum AS DURUM, l.kur AS KUR, l.kurtl AS KURTL, l.stokadi AS ACIKLAMA, s.oem1 AS OEM1, s.oem2 AS OEM2, "    \
    "s.oem3 AS OEM3, s.oem4 AS OEM4, s.digeradi AS DIGERADI, s.dpkod AS DPKOD, s.marka AS MARKA, "                 \
    "s.model AS MODEL, s.anagrup AS ANAGRUP, s.ozelkod AS OZELKOD, s.pkod AS PKOD, "                               \
    "s.ureticikodu AS URETICIKODU, 0 AS AKTAR, COALESCE(o.teslimid, 0) AS TESLIMID, "                              \
    "COALESCE(o.kargoturid, 0) AS KARGOID, c.carikod AS CARIKOD, c.cariadi AS CARIADI, "                           \
    "COALESCE(t.adi, '') AS TESLIM, COALESCE(kt.adi, '') AS KARGO "                                                \
    "FROM siparis_satir l JOIN siparis o ON o.idno = l.idno JOIN stok s ON s.stokno = l.stokno "                  \
    "JOIN cari c ON c.carino = l.carino LEFT JOIN teslim t ON t.id = o.teslimid "                                  \
    "LEFT JOIN kargoturu kt ON kt.id = o.kargoturid "

#define MORVEX_STATE_TEXT(column)                                                                                  \
    "CASE " column " WHEN 1 THEN 'Alındı' WHEN 2 THEN 'Onaylandı' WHEN 3 THEN 'Görüldü' "                       \
    "WHEN 4 THEN 'Parçalı Hazırlandı' WHEN 5 THEN 'Hazırlandı' WHEN 6 THEN 'Sevk Edildi' ELSE '' END"

#define MORVEX_ACCOUNT_SELECT                                                                                      \
    "SELECT c.carikod AS CARIKOD, c.cariadi AS CARIADI, COALESCE(sa.adi, '') AS SATICISI, "                        \
    "abs(COALESCE(h.bakiye, 0)) AS TLBAKIYE, "                                                                      \
    "CASE WHEN COALESCE(h.bakiye, 0) > 0.004 THEN 'B' WHEN COALESCE(h.bakiye, 0) < -0.004 THEN 'A' ELSE '' END "   \
    "AS DURUM, (SELECT count(*) FROM sepet b WHERE b.carino = c.carino) AS SEPET, "                               \
    "(SELECT count(*) FROM siparis o WHERE o.carino = c.carino AND o.durum = 1) AS ALINDI, "                      \
    "(SELECT count(*) FROM siparis o WHERE o.carino = c.carino AND o.durum = 2) AS ONAYLANDI, "                   \
    "(SELECT count(*) FROM siparis o WHERE o.carino = c.carino AND o.durum = 3) AS GORULDU, "                     \
    "(SELECT count(*) FROM siparis o WHERE o.carino = c.carino AND o.durum = 5) AS HAZIRLANDI, "                  \
    "(SELECT count(*) FROM siparis o WHERE o.carino = c.carino AND o.durum = 4) AS PARCALIHAZIRLANDI, "           \
    "(SELECT count(*) FROM siparis o WHERE o.carino = c.carino AND o.durum = 6) AS SEVKEDILDI, "                  \
    "c.carino AS CARINO, c.ozelkod AS OZELKOD, c.kod1 AS KOD1, c.kod2 AS KOD2, c.kod3 AS KOD3, c.kod4 AS KOD4, "   \
    "c.kod5 AS KOD5, c.tel1 AS TEL1, c.tel2 AS TEL2, c.ilce AS ILCE, c.il AS IL, c.gsm AS GSM, "                   \
    "c.yetkili AS YETKILI, printf('%.2f', c.indirim) AS INDIRIM, CAST(c.vade AS TEXT) AS VADE, "                   \
    "c.vadekontrolgun AS VADEKONTROLGUN, c.vadekontrolay AS VADEKONTROLAY, c.vergidairesi AS VERGIDAIRESI, "       \
    "c.vergino AS VERGINO, c.adres1 AS ADRES1, c.adres2 AS ADRES2, c.anagrup AS ANAGRUP, c.altgrup AS ALTGRUP, "   \
    "c.fax1 AS FAX1, c.fax2 AS FAX2, c.email AS EMAIL FROM cari c LEFT JOIN satici sa ON sa.saticino = c.saticino " \
    "LEFT JOIN (SELECT carino, sum(borc - alacak) AS bakiye FROM cari_hareket GROUP BY carino) h "                \
    "ON h.carino = c.carino "

} // namespace

QString orderStateText(int state)
{
    switch (state) {
    case 1: return u"Alındı"_s;
    case 2: return u"Onaylandı"_s;
    case 3: return u"Görüldü"_s;
    case 4: return u"Parçalı Hazırlandı"_s;
    case 5: return u"Hazırlandı"_s;
    case 6: return u"Sevk Edildi"_s;
    default: return {};
    }
}

bool isStaff(int musteriTipi, const QString &cariKod)
{
    return musteriTipi == 1 || musteriTipi == 2 || cariKod.contains(u"BDM"_s);
}

SqliteStorage::SqliteStorage(const QString &path, int maxStockRows) : m_db(path), m_maxStockRows(maxStockRows)
{
    checkSchema(m_db);
}

RecordSet SqliteStorage::query(const char *sql, ResultShape shape, int argument)
{
    RecordSet set = emptyResult(shape);
    SqliteStatement &s = m_db.prepare(sql);
    if (std::strchr(sql, '?'))
        s.bind(1, argument);
    s.fillInto(set, shape);
    return set;
}

int SqliteStorage::customerType(int carino)
{
    SqliteStatement &s = m_db.prepare("SELECT musteritipi FROM cari WHERE carino = ?1");
    s.bind(1, carino);
    const int type = s.step() ? s.int32(0) : 0;
    s.reset();
    return type;
}

std::optional<UserAccount> SqliteStorage::userForIdentity(const QString &identity)
{
    if (identity.isEmpty() || identity.size() > limits::kIdentity)
        return std::nullopt;
    SqliteStatement &s = m_db.prepare(
        "SELECT k.sirano, k.carino, k.adi, k.sifre, k.aktif, k.musteritipi, k.surum, k.mail, c.carikod, c.cariadi, "
        "COALESCE(sa.saticino, 0), COALESCE(sa.adi, ''), COALESCE(sa.telefon, ''), COALESCE(sa.mail, '') "
        "FROM bilgisayar b JOIN kullanici k ON k.sirano = b.kullanici JOIN cari c ON c.carino = k.carino "
        "LEFT JOIN satici sa ON sa.saticino = c.saticino WHERE b.kimlik = ?1");
    s.bind(1, identity);
    if (!s.step()) {
        s.reset();
        return std::nullopt;
    }
    UserAccount u;
    u.sirano = s.int32(0);
    u.carino = s.int32(1);
    u.adi = s.text(2);
    u.sifre = s.text(3);
    u.aktif = s.int32(4);
    u.musteriTipi = s.int32(5);
    u.version = s.int32(6);
    u.mail = s.text(7);
    u.cariKod = s.text(8);
    u.cariAdi = s.text(9);
    u.saticiNo = s.int32(10);
    u.saticiAdi = s.text(11);
    u.saticiTelefon = s.text(12);
    u.saticiMail = s.text(13);
    s.reset();
    return u;
}

std::optional<AccountDetails> SqliteStorage::accountForIdentity(const QString &identity)
{
    const auto user = userForIdentity(identity);
    if (!user)
        return std::nullopt;
    SqliteStatement &s = m_db.prepare(
        "SELECT c.carikod, c.cariadi, c.yetkili, c.ozelkod, c.anagrup, c.altgrup, c.adres1, c.adres2, c.ilce, c.il, "
        "c.ulke, c.vergidairesi, c.vergino, c.tel1, c.tel2, c.fax1, c.fax2, c.gsm, c.email, "
        "COALESCE(sa.adi, ''), COALESCE(sa.telefon, ''), COALESCE(sa.mail, ''), "
        "COALESCE((SELECT sum(borc) FROM cari_hareket h WHERE h.carino = c.carino), 0), "
        "COALESCE((SELECT sum(alacak) FROM cari_hareket h WHERE h.carino = c.carino), 0) "
        "FROM cari c LEFT JOIN satici sa ON sa.saticino = c.saticino WHERE c.carino = ?1");
    s.bind(1, user->carino);
    if (!s.step()) {
        s.reset();
        return std::nullopt;
    }
    AccountDetails a;
    a.carino = user->carino;
    a.identity = identity;
    a.cariKod = s.text(0);
    a.cariAdi = s.text(1);
    a.yetkili = s.text(2);
    a.ozelKod = s.text(3);
    a.anaGrup = s.text(4);
    a.altGrup = s.text(5);
    a.adres1 = s.text(6);
    a.adres2 = s.text(7);
    a.ilce = s.text(8);
    a.sehir = s.text(9);
    a.ulke = s.text(10);
    a.vergiDairesi = s.text(11);
    a.vergiNo = s.text(12);
    a.tel1 = s.text(13);
    a.tel2 = s.text(14);
    a.fax1 = s.text(15);
    a.fax2 = s.text(16);
    a.gsm = s.text(17);
    a.email = s.text(18);
    a.saticiAdi = s.text(19);
    a.saticiTelefon = s.text(20);
    a.saticiMail = s.text(21);
    a.borc = s.real(22);
    a.alacak = s.real(23);
    s.reset();
    a.mail = user->mail.isEmpty() ? a.email : user->mail;
    a.kullaniciAdi = user->adi;
    a.sifre = user->sifre;
    return a;
}

bool SqliteStorage::accountExists(int carino)
{
    SqliteStatement &s = m_db.prepare("SELECT 1 FROM cari WHERE carino = ?1");
    s.bind(1, carino);
    const bool found = s.step();
    s.reset();
    return found;
}

QString SqliteStorage::accountBalanceText(int carino)
{
    if (!accountExists(carino))
        return {};
    SqliteStatement &s = m_db.prepare("SELECT COALESCE(sum(borc - alacak), 0) FROM cari_hareket WHERE carino = ?1");
    s.bind(1, carino);
    const double balance = s.step() ? s.real(0) : 0;
    s.reset();
    return QString::number(round2(balance), 'f', 2);
}

RecordSet SqliteStorage::searchAccounts(const QString &text)
{
    requireText(text, limits::kSearch, u"Arama metni"_s);
    const QString key = searchKey(text);
    RecordSet set = emptyResult(ResultShape::Accounts);
    SqliteStatement &s = m_db.prepare(
        MORVEX_ACCOUNT_SELECT "WHERE ?1 = '' OR instr(upper(c.carikod), ?2) > 0 OR instr(upper(c.cariadi), ?2) > 0 "
                              "OR instr(upper(c.yetkili), ?2) > 0 OR instr(upper(c.il), ?2) > 0 ORDER BY c.carikod");
    s.bind(1, key).bind(2, text.trimmed().toUpper());
    s.fillInto(set, ResultShape::Accounts);
    return set;
}

RecordSet SqliteStorage::accountsInState(int n)
{
    if (n < 1 || n > 7)
        throw StorageError(u"Geçersiz sipariş durumu: %1"_s.arg(n));
    if (n == 1)
        return query(MORVEX_ACCOUNT_SELECT "WHERE EXISTS (SELECT 1 FROM sepet b WHERE b.carino = c.carino) "
                                           "AND ?1 = 1 ORDER BY c.carikod",
                     ResultShape::Accounts, n);
    return query(MORVEX_ACCOUNT_SELECT "WHERE EXISTS (SELECT 1 FROM siparis o WHERE o.carino = c.carino "
                                       "AND o.durum = ?1 - 1) ORDER BY c.carikod",
                 ResultShape::Accounts, n);
}

int SqliteStorage::accountsWithBasket()
{
    SqliteStatement &s = m_db.prepare("SELECT count(DISTINCT carino) FROM sepet");
    const int n = s.step() ? s.int32(0) : 0;
    s.reset();
    return n;
}

OrderStateCounts SqliteStorage::orderStateCounts()
{
    OrderStateCounts c;
    SqliteStatement &s = m_db.prepare("SELECT durum, count(*) FROM siparis GROUP BY durum");
    while (s.step()) {
        const int n = s.int32(1);
        switch (s.int32(0)) {
        case 1: c.alindi = n; break;
        case 2: c.onaylandi = n; break;
        case 3: c.goruldu = n; break;
        case 4: c.parcaliHazirlandi = n; break;
        case 5: c.hazirlandi = n; break;
        case 6: c.sevkEdildi = n; break;
        default: break;
        }
    }
    s.reset();
    return c;
}

void SqliteStorage::logEvent(int userSirano, const QString &event)
{
    requireText(event, limits::kText, u"Olay"_s);
    SqliteTransaction t(m_db);
    m_db.prepare("INSERT INTO olay (zaman, kullanici, olay) VALUES (?1, ?2, ?3)").bindAll(nowText(), userSirano, event).run();
    t.commit();
}

RecordSet SqliteStorage::stockRows(const QString &sql, ResultShape shape, const std::vector<QString> &texts, int carino,
                                   int stokno)
{
    const int type = customerType(carino);
    RecordSet set = emptyResult(shape);
    const QByteArray sqlText = sql.toUtf8();
    SqliteStatement &s = m_db.prepare(sqlText.constData());
    s.bind(1, carino);
    int index = 1;
    for (const QString &t : texts)
        s.bind(++index, t);
    if (stokno)
        s.bind(2, stokno);
    const bool campaignShape = shape == ResultShape::CampaignStock;
    const auto columns = columnsOf(shape);
    std::u16string scratch;
    while (s.step()) {
        const int row = set.appendRow();
        for (int c = 0; c <= 24; ++c) {
            switch (columns[std::size_t(c)].type) {
            case FieldType::Text: setTextUtf8(set, row, c, s.utf8(c), scratch); break;
            case FieldType::Int32: set.setInt32(row, c, s.int32(c)); break;
            default: set.setReal(row, c, s.real(c)); break;
            }
        }
        const AccountPrice p = accountPrice(s.real(25), s.int32(27) != 0, s.real(28), s.real(30), s.int32(20), type);
        set.setReal(row, 25, p.fiyat);
        set.setInt32(row, 26, s.int32(26) != 0 ? 1 : 0);
        set.setInt32(row, 27, p.kampanyali);
        set.setReal(row, 28, p.indirim);
        set.setReal(row, 29, p.netFiyat);
        set.setReal(row, 30, p.kdvDahil);
        set.setInt32(row, 31, s.int32(29));
        if (campaignShape)
            set.setReal(row, 32, p.eskiFiyat);
    }
    s.reset();
    return set;
}

RecordSet SqliteStorage::searchStock(const QString &text, int carino)
{
    requireText(text, limits::kSearch, u"Arama metni"_s);
    std::vector<QString> tokens;
    for (const QString &t : searchKey(text).split(QChar(u' '), Qt::SkipEmptyParts)) {
        if (tokens.size() < std::size_t(kMaxSearchTokens))
            tokens.push_back(t);
    }
    if (tokens.empty())
        return emptyResult(ResultShape::Stock);
    QString sql = QString::fromLatin1(kStockSelect) + u"WHERE "_s;
    for (std::size_t i = 0; i < tokens.size(); ++i)
        sql += (i ? u" AND "_s : QString()) + u"instr(s.arama, ?%1) > 0"_s.arg(i + 2);
    sql += u" ORDER BY s.kod"_s;
    if (m_maxStockRows > 0)
        sql += u" LIMIT %1"_s.arg(m_maxStockRows);
    return stockRows(sql, ResultShape::Stock, tokens, carino);
}

RecordSet SqliteStorage::stockByNumber(int stokno, int carino)
{
    return stockRows(QString::fromLatin1(kStockSelect) + u"WHERE s.stokno = ?2"_s, ResultShape::Stock, {}, carino, stokno);
}

RecordSet SqliteStorage::newStock(int carino)
{
    return stockRows(QString::fromLatin1(kStockSelect) + u"WHERE s.yeni <> 0 ORDER BY s.kod"_s, ResultShape::Stock, {},
                     carino);
}

RecordSet SqliteStorage::campaignStock(int carino)
{
    if (customerType(carino) == 4)
        return emptyResult(ResultShape::CampaignStock);
    return stockRows(QString::fromLatin1(kStockSelect) + u"WHERE s.kampanyali <> 0 ORDER BY s.kod"_s,
                     ResultShape::CampaignStock, {}, carino);
}

RecordSet SqliteStorage::searchGenuineParts(const QString &text)
{
    requireText(text, limits::kSearch, u"Arama metni"_s);
    const QString key = compactKey(text);
    RecordSet set = emptyResult(ResultShape::GenuineParts);
    if (key.isEmpty())
        return set;
    SqliteStatement &s = m_db.prepare("SELECT kod AS KOD, aciklama AS ACIKLAMA, kdvharic AS KDVHARIC, "
                                      "kdvdahil AS KDVDAHIL FROM orjinal WHERE instr(arama, ?1) > 0 "
                                      "ORDER BY kod LIMIT 5000");
    s.bind(1, key);
    s.fillInto(set, ResultShape::GenuineParts);
    return set;
}

QByteArray SqliteStorage::stockPicture(int stokno)
{
    SqliteStatement &s = m_db.prepare("SELECT r.jpeg FROM stok s JOIN resim r ON r.resimno = s.resimno WHERE s.stokno = ?1");
    s.bind(1, stokno);
    const QByteArray jpeg = s.step() ? s.blob(0) : QByteArray();
    s.reset();
    return jpeg;
}

RecordSet SqliteStorage::departments()
{
    return query("SELECT id AS ID, adi AS ADI FROM departman ORDER BY id", ResultShape::Departments, 0);
}

RecordSet SqliteStorage::basket(int carino)
{
    return query(kBasketSelect, ResultShape::Basket, carino);
}

int SqliteStorage::addToBasket(const BasketAdd &line)
{
    requireQuantity(line.miktar);
    if (line.staffPricing) {
        requirePrice(line.fiyat);
        requireDiscount(line.indirim);
    }
    requireText(line.veren, limits::kShortText, u"Veren"_s);
    SqliteTransaction t(m_db);
    SqliteStatement &account = m_db.prepare("SELECT musteritipi, indirim FROM cari WHERE carino = ?1");
    account.bind(1, line.carino);
    if (!account.step()) {
        account.reset();
        throw StorageError(u"Cari bulunamadı: %1"_s.arg(line.carino));
    }
    const int type = account.int32(0);
    account.reset();

    SqliteStatement &stock = m_db.prepare(
        "SELECT s.adi, s.barkod, s.kdv, s.fiyat, s.kampanyali, s.kampanyafiyati, COALESCE(i.oran, c.indirim, 0) "
        "FROM stok s LEFT JOIN cari c ON c.carino = ?2 LEFT JOIN iskonto i ON i.carino = ?2 AND i.marka = s.marka "
        "WHERE s.stokno = ?1");
    stock.bindAll(line.stokno, line.carino);
    if (!stock.step()) {
        stock.reset();
        throw StorageError(u"Stok bulunamadı: %1"_s.arg(line.stokno));
    }
    const QString adi = stock.text(0), barkod = stock.text(1);
    const int kdv = stock.int32(2);
    const AccountPrice price =
        accountPrice(stock.real(3), stock.int32(4) != 0, stock.real(5), stock.real(6), kdv, type);
    stock.reset();
    const double fiyat = line.staffPricing ? line.fiyat : price.fiyat;
    const double indirim = line.staffPricing ? line.indirim : price.indirim;

    SqliteStatement &existing = m_db.prepare("SELECT sirano, miktar FROM sepet WHERE carino = ?1 AND stokno = ?2");
    existing.bindAll(line.carino, line.stokno);
    int sirano = 0;
    double miktar = line.miktar;
    if (existing.step()) {
        sirano = existing.int32(0);
        miktar += existing.real(1);
    }
    existing.reset();
    requireQuantity(miktar);
    const LineAmounts a = lineAmounts(miktar, fiyat, indirim, kdv);
    if (sirano) {
        m_db.prepare("UPDATE sepet SET miktar = ?2, birimfiyat = ?3, indirimorani1 = ?4, tutar = ?5, "
                     "indirimtutar = ?6, nettutar = ?7, netbirimfiyat = ?8, vergitutari = ?9, kdvlitutar = ?10, "
                     "sec = 1 WHERE sirano = ?1")
            .bindAll(sirano, miktar, fiyat, indirim, a.tutar, a.indirimTutar, a.netTutar, a.netBirimFiyat,
                     a.vergiTutari, a.kdvliTutar)
            .run();
    } else {
        m_db.prepare("INSERT INTO sepet (carino, stokno, barkod, stokadi, miktar, kdv, birimfiyat, ilkfiyat, "
                     "indirimorani1, tutar, indirimtutar, nettutar, netbirimfiyat, vergitutari, kdvlitutar, sec, "
                     "tarih, saat, verenidno, veren, kampanyali) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, "
                     "?11, ?12, ?13, ?14, ?15, 1, ?16, ?17, ?18, ?19, ?20)")
            .bindAll(line.carino, line.stokno, barkod, adi, miktar, double(kdv), fiyat, price.eskiFiyat, indirim,
                     a.tutar, a.indirimTutar, a.netTutar, a.netBirimFiyat, a.vergiTutari, a.kdvliTutar, nowText(),
                     timeText(), line.verenSirano, line.veren, price.kampanyali)
            .run();
        sirano = int(m_db.lastInsertId());
    }
    t.commit();
    return sirano;
}

void SqliteStorage::changeBasketLine(const BasketChange &change)
{
    requireQuantity(change.miktar);
    if (change.staffPricing) {
        requirePrice(change.fiyat);
        requireDiscount(change.indirim);
    }
    SqliteTransaction t(m_db);
    SqliteStatement &line = m_db.prepare("SELECT birimfiyat, indirimorani1, kdv FROM sepet WHERE sirano = ?1 AND carino = ?2");
    line.bindAll(change.sirano, change.carino);
    if (!line.step()) {
        line.reset();
        throw StorageError(u"Sepet satırı bulunamadı: %1"_s.arg(change.sirano));
    }
    const double fiyat = change.staffPricing ? change.fiyat : line.real(0);
    const double indirim = change.staffPricing ? change.indirim : line.real(1);
    const double kdv = line.real(2);
    line.reset();
    const LineAmounts a = lineAmounts(change.miktar, fiyat, indirim, kdv);
    m_db.prepare("UPDATE sepet SET miktar = ?2, birimfiyat = ?3, indirimorani1 = ?4, tutar = ?5, indirimtutar = ?6, "
                 "nettutar = ?7, netbirimfiyat = ?8, vergitutari = ?9, kdvlitutar = ?10 WHERE sirano = ?1")
        .bindAll(change.sirano, change.miktar, fiyat, indirim, a.tutar, a.indirimTutar, a.netTutar, a.netBirimFiyat,
                 a.vergiTutari, a.kdvliTutar)
        .run();
    t.commit();
}

void SqliteStorage::deleteBasketLine(int carino, int sirano)
{
    SqliteTransaction t(m_db);
    m_db.prepare("DELETE FROM sepet WHERE sirano = ?1 AND carino = ?2").bindAll(sirano, carino).run();
    if (m_db.changes() != 1)
        throw StorageError(u"Sepet satırı bulunamadı: %1"_s.arg(sirano));
    t.commit();
}

int SqliteStorage::clearBasket(int carino)
{
    SqliteTransaction t(m_db);
    m_db.prepare("DELETE FROM sepet WHERE carino = ?1").bind(1, carino).run();
    const int removed = m_db.changes();
    t.commit();
    return removed;
}

void SqliteStorage::setBasketSelection(int sirano, int selected)
{
    if (selected != 0 && selected != 1)
        throw StorageError(u"Seçim 0 ya da 1 olmalıdır"_s);
    SqliteTransaction t(m_db);
    m_db.prepare("UPDATE sepet SET sec = ?2 WHERE sirano = ?1").bindAll(sirano, selected).run();
    if (m_db.changes() != 1)
        throw StorageError(u"Sepet satırı bulunamadı: %1"_s.arg(sirano));
    t.commit();
}

RecordSet SqliteStorage::deliveryKinds()
{
    return query("SELECT id AS ID, adi AS ADI FROM teslim ORDER BY id", ResultShape::DeliveryKinds, 0);
}

RecordSet SqliteStorage::cargoKinds()
{
    return query("SELECT id AS ID, adi AS ADI FROM kargoturu ORDER BY id", ResultShape::CargoKinds, 0);
}

RecordSet SqliteStorage::cargoCompanies(int kind)
{
    return query("SELECT sirano AS SIRANO, adi AS ADI, uyari AS UYARI, turid AS TURID FROM kargofirma "
                 "WHERE turid = ?1 ORDER BY sirano",
                 ResultShape::CargoCompanies, kind);
}

std::optional<int> SqliteStorage::saveOrder(const OrderRequest &order)
{
    requireText(order.aciklama, limits::kOrderNote, u"Sipariş notu"_s);
    requireText(order.veren, limits::kShortText, u"Veren"_s);
    SqliteTransaction t(m_db);
    SqliteStatement &check = m_db.prepare(
        "SELECT (SELECT count(*) FROM teslim WHERE id = ?1), (SELECT count(*) FROM kargoturu WHERE id = ?2), "
        "(SELECT count(*) FROM kargofirma WHERE sirano = ?3 AND turid = ?2), (SELECT count(*) FROM cari WHERE carino = ?4)");
    check.bindAll(order.teslimId, order.kargoTurId, order.kargoFirmaId, order.carino);
    check.step();
    const bool teslimOk = check.int32(0) == 1, kargoOk = check.int32(1) == 1, firmaOk = check.int32(2) == 1,
               cariOk = check.int32(3) == 1;
    check.reset();
    if (!cariOk)
        throw StorageError(u"Cari bulunamadı: %1"_s.arg(order.carino));
    if (!teslimOk)
        throw StorageError(u"Geçersiz teslim durumu: %1"_s.arg(order.teslimId));
    if (!kargoOk)
        throw StorageError(u"Geçersiz kargo türü: %1"_s.arg(order.kargoTurId));
    if (!firmaOk)
        throw StorageError(u"Kargo firması bu kargo türünde değil: %1"_s.arg(order.kargoFirmaId));

    SqliteStatement &count = m_db.prepare("SELECT count(*) FROM sepet WHERE carino = ?1 AND sec = 1");
    count.bind(1, order.carino);
    const int lines = count.step() ? count.int32(0) : 0;
    count.reset();
    if (lines == 0)
        return std::nullopt;

    const QString now = nowText(), time = timeText();
    m_db.prepare("INSERT INTO siparis (carino, tarih, saat, durum, teslimid, kargoturid, kargofirmaid, veren, "
                 "verenidno, verenin_notu) VALUES (?1, ?2, ?3, 1, ?4, ?5, ?6, ?7, ?8, ?9)")
        .bindAll(order.carino, now, time, order.teslimId, order.kargoTurId, order.kargoFirmaId, order.veren,
                 order.verenSirano, order.aciklama)
        .run();
    const int idno = int(m_db.lastInsertId());
    m_db.prepare("INSERT INTO siparis_satir (idno, sepetsirano, carino, stokno, barkod, stokadi, miktar, kdv, "
                 "birimfiyat, ilkfiyat, indirimorani1, indirimorani2, indirimorani3, tutar, indirimtutar, nettutar, "
                 "netbirimfiyat, vergitutari, kdvlitutar, teslimedilen, kalan, tarih, saat, verenidno, veren, kur, kurtl) "
                 "SELECT ?1, sirano, carino, stokno, barkod, stokadi, miktar, kdv, birimfiyat, ilkfiyat, "
                 "indirimorani1, indirimorani2, indirimorani3, tutar, indirimtutar, nettutar, netbirimfiyat, "
                 "vergitutari, kdvlitutar, 0, miktar, ?3, ?4, verenidno, veren, kur, kurtl FROM sepet "
                 "WHERE carino = ?2 AND sec = 1 ORDER BY sirano")
        .bindAll(idno, order.carino, now, time)
        .run();
    m_db.prepare("UPDATE stok SET alinansiparis = alinansiparis + (SELECT sum(miktar) FROM sepet b "
                 "WHERE b.carino = ?1 AND b.sec = 1 AND b.stokno = stok.stokno) "
                 "WHERE stokno IN (SELECT stokno FROM sepet WHERE carino = ?1 AND sec = 1)")
        .bind(1, order.carino)
        .run();
    m_db.prepare("DELETE FROM sepet WHERE carino = ?1 AND sec = 1").bind(1, order.carino).run();
    t.commit();
    return idno;
}

RecordSet SqliteStorage::orders(int carino)
{
    return query("SELECT o.idno AS IDNO, o.tarih AS TARIH, COALESCE(kt.adi, '') AS KARGO, COALESCE(t.adi, '') AS TESLIM, "
                 "o.veren AS VEREN, COALESCE(sum(l.vergitutari), 0) AS VERGI, COALESCE(sum(l.nettutar), 0) AS NETTUTAR, "
                 "COALESCE(sum(l.tutar), 0) AS TUTAR, " MORVEX_STATE_TEXT("o.durum") " AS DURUM, "
                 "COALESCE(kf.adi, '') AS KARGOADI, o.verenin_notu AS VERENINNOTU, o.alan_notu AS ALANNOTU, "
                 "o.satici_notu AS SATICINOTU, c.carikod AS CARIKOD, c.cariadi AS CARIADI, o.kur AS KUR, "
                 "o.kurtl AS KURTL, o.verenidno AS VERENIDNO, o.carino AS CARINO FROM siparis o "
                 "JOIN cari c ON c.carino = o.carino LEFT JOIN siparis_satir l ON l.idno = o.idno "
                 "LEFT JOIN teslim t ON t.id = o.teslimid LEFT JOIN kargoturu kt ON kt.id = o.kargoturid "
                 "LEFT JOIN kargofirma kf ON kf.sirano = o.kargofirmaid WHERE o.carino = ?1 "
                 "GROUP BY o.idno ORDER BY o.idno DESC",
                 ResultShape::Orders, carino);
}

RecordSet SqliteStorage::orderLines(int carino, int idno)
{
    RecordSet set = emptyResult(ResultShape::OrderLines);
    SqliteStatement &s =
        m_db.prepare(MORVEX_ORDER_LINE_SELECT "WHERE l.idno = ?2 AND o.carino = ?1 ORDER BY l.stokhar_no");
    s.bindAll(carino, idno);
    s.fillInto(set, ResultShape::OrderLines);
    return set;
}

std::optional<OrderFooter> SqliteStorage::orderFooter(int idno)
{
    SqliteStatement &s = m_db.prepare(
        "SELECT o.verenin_notu, o.durum, o.veren, COALESCE(kf.adi, ''), o.alan_notu, COALESCE(t.adi, ''), "
        "COALESCE(kt.adi, ''), o.satici_notu FROM siparis o LEFT JOIN teslim t ON t.id = o.teslimid "
        "LEFT JOIN kargoturu kt ON kt.id = o.kargoturid LEFT JOIN kargofirma kf ON kf.sirano = o.kargofirmaid "
        "WHERE o.idno = ?1");
    s.bind(1, idno);
    if (!s.step()) {
        s.reset();
        return std::nullopt;
    }
    OrderFooter f{s.text(0), orderStateText(s.int32(1)), s.text(2), s.text(3), s.text(4), s.text(5), s.text(6), s.text(7)};
    s.reset();
    return f;
}

RecordSet SqliteStorage::orderMovements(int carino, int stokno)
{
    RecordSet set = emptyResult(ResultShape::OrderLines);
    SqliteStatement &s = m_db.prepare(MORVEX_ORDER_LINE_SELECT
                                      "WHERE l.carino = ?1 AND (?2 = 0 OR l.stokno = ?2) ORDER BY l.stokhar_no DESC");
    s.bindAll(carino, stokno);
    s.fillInto(set, ResultShape::OrderLines);
    return set;
}

RecordSet SqliteStorage::ordersBetween(QDate from, QDate to, int carino)
{
    RecordSet set = emptyResult(ResultShape::OrderReport);
    SqliteStatement &s = m_db.prepare(
        "SELECT o.idno AS IDNO, o.tarih AS TARIH, c.carikod AS CARIKOD, c.cariadi AS CARIADI, "
        MORVEX_STATE_TEXT("o.durum") " AS DURUM, count(l.stokhar_no) AS SATIR, COALESCE(sum(l.nettutar), 0) AS NETTUTAR "
        "FROM siparis o JOIN cari c ON c.carino = o.carino LEFT JOIN siparis_satir l ON l.idno = o.idno "
        "WHERE o.tarih >= ?1 AND o.tarih < ?2 AND (?3 = 0 OR o.carino = ?3) GROUP BY o.idno ORDER BY o.tarih, o.idno");
    s.bindAll(from.toString(u"yyyy-MM-dd"_s), to.addDays(1).toString(u"yyyy-MM-dd"_s), carino);
    s.fillInto(set, ResultShape::OrderReport);
    return set;
}

RecordSet SqliteStorage::bestSellers(QDate from, QDate to)
{
    RecordSet set = emptyResult(ResultShape::BestSellers);
    SqliteStatement &s = m_db.prepare(
        "SELECT l.stokno AS STOK_STOKNO, s.kod AS FINISHKOD, s.adi AS ADI, s.marka AS MARKA, sum(l.miktar) AS MIKTAR, "
        "sum(l.nettutar) AS NETTUTAR FROM siparis_satir l JOIN stok s ON s.stokno = l.stokno "
        "WHERE l.tarih >= ?1 AND l.tarih < ?2 GROUP BY l.stokno ORDER BY sum(l.miktar) DESC, l.stokno LIMIT 100");
    s.bindAll(from.toString(u"yyyy-MM-dd"_s), to.addDays(1).toString(u"yyyy-MM-dd"_s));
    s.fillInto(set, ResultShape::BestSellers);
    return set;
}

RecordSet SqliteStorage::statement(int carino, std::optional<QDate> from, std::optional<QDate> to)
{
    RecordSet set = emptyResult(ResultShape::Statement);
    SqliteStatement &s = m_db.prepare(
        "SELECT tarih AS TARIH, turadi AS TURADI, evrak AS EVRAK, borc AS BORC, alacak AS ALACAK, kur AS KUR, "
        "0.0 AS BAKIYE, ' ' AS D, idno AS IDNO, carino AS CARINO, aciklama AS ACIKLAMA FROM cari_hareket "
        "WHERE carino = ?1 AND tarih >= ?2 AND tarih < ?3 ORDER BY tarih, sirano");
    s.bindAll(carino, fromDate(from, u"0000"_s), to && to->isValid() ? to->addDays(1).toString(u"yyyy-MM-dd"_s) : u"9999"_s);
    s.fillInto(set, ResultShape::Statement);
    const int borc = columnIndex(ResultShape::Statement, u"BORC"), alacak = columnIndex(ResultShape::Statement, u"ALACAK");
    const int bakiye = columnIndex(ResultShape::Statement, u"BAKIYE"), side = columnIndex(ResultShape::Statement, u"D");
    double balance = 0;
    for (int row = 0; row < set.rowCount(); ++row) {
        balance += set.real(row, borc) - set.real(row, alacak);
        set.setReal(row, bakiye, balance);
        set.setText(row, side, balance > 0 ? u"B"_s : balance < 0 ? u"A"_s : u" "_s);
    }
    return set;
}

RecordSet SqliteStorage::statementHeader(int carino, QDate before)
{
    RecordSet set = emptyResult(ResultShape::StatementHeader);
    SqliteStatement &s = m_db.prepare(
        "SELECT c.carino AS CARINO, c.carikod AS CARIKOD, c.cariadi AS CARIADI, ?2 AS TARIH, "
        "COALESCE(sum(h.borc), 0) AS BORC, COALESCE(sum(h.alacak), 0) AS ALACAK, "
        "COALESCE(sum(h.borc - h.alacak), 0) AS BAKIYE FROM cari c LEFT JOIN cari_hareket h "
        "ON h.carino = c.carino AND h.tarih < ?2 WHERE c.carino = ?1 GROUP BY c.carino");
    s.bindAll(carino, fromDate(before, u"9999"_s));
    s.fillInto(set, ResultShape::StatementHeader);
    return set;
}

RecordSet SqliteStorage::invoiceLines(int carino, int idno)
{
    RecordSet set = emptyResult(ResultShape::InvoiceLines);
    SqliteStatement &s = m_db.prepare(
        "SELECT s.oemno AS OEMNO, s.adi AS STOKADI, s.kod AS FINISHKOD, s.marka AS MARKA, s.model AS MODEL, "
        "s.anagrup AS ANAGRUP, s.birim AS BIRIM, x.miktar AS STOKHAR_MIKTAR, x.birimfiyat AS STOKHAR_TLBIRIMFIYATI, "
        "x.tutar AS STOKHAR_TLTUTAR, x.indirim1 AS STOKHAR_INDIRIM1, x.indirim2 AS STOKHAR_INDIRIM2, "
        "0.0 AS STOKHAR_INDIRIM3, 0.0 AS STOKHAR_INDIRIM4, 0.0 AS STOKHAR_INDIRIM5, 0.0 AS STOKHAR_INDIRIM6, "
        "0.0 AS STOKHAR_INDIRIM7, 0.0 AS STOKHAR_INDIRIM8, x.kdv AS KDV, x.indirimtutar AS STOKHAR_TOPLAMINDIRIM, "
        "x.masraf AS STOKHAR_TOPLAMMASRAF, round(x.net / x.miktar, 2) AS STOKHAR_NETTLBIRIMFIYATI, "
        "x.net AS STOKHAR_NETTLTUTAR, s.ozelkod AS OZELKOD, s.barkod AS BARKOD, f.tarih AS STOKHAR_HAREKETTARIHI, "
        "f.hareket_tipi AS STOKHAR_HAREKETTIPI2, f.evrakno AS EVRAKNO, round(x.net * x.kdv / 100.0, 2) AS STOKHAR_TLVERGI, "
        "f.irsaliye_no AS IRSALIYEEVRAKNO, f.irsaliye_tarihi AS STOKHAR_IRSTARIHI, x.aciklama AS SATIRACIKLMASI, "
        "f.saat AS STOKHAR_SAAT, f.vade AS STOKHAR_VADE, f.siparis_evrakno AS SIPARISEVRAKNO, "
        "f.siparis_tarihi AS SIPARISTARIHI, f.irsaliye_tipi AS IRSALIYETIP2, 0.0 AS STOKHAR_DOVIZBIRIMFIYATI, "
        "0.0 AS STOKHAR_DOVIZVERGI, 0.0 AS STOKHAR_DOVIZTUTAR, '' AS STOKHAR_PARTI, s.beden AS STOKHAR_BEDEN, "
        "s.renk AS STOKHAR_RENK, 0.0 AS STOKHAR_MASRAF1, 0.0 AS STOKHAR_MASRAF2, 0.0 AS STOKHAR_DOVIZTOPLAMINDIRIM, "
        "0.0 AS STOKHAR_DOVIZTOPLAMMASRAF, 0.0 AS STOKHAR_NETDOVIZBIRIMFIYATI, 0.0 AS STOKHAR_NETDOVIZTUTAR, "
        "1.0 AS STOKHAR_KURTL, f.saticiadi AS SATICIADI, 1 AS SIPARISTIPI, 1 AS IRSALIYETIPINO, c.carikod AS STOKCARIKOD, "
        "1 AS SUBE_NO, f.carino AS STOKHAR_CARINO, 'TL' AS KUR_KURSIMGE, s.ureticikodu AS URETICIKODU, "
        "s.dpkod AS DPKOD, s.digeradi AS ENADI, s.pkod AS PKOD, f.evrakno AS BELGENO, f.idno AS IDNO "
        "FROM (SELECT fs.*, round(fs.miktar * fs.birimfiyat, 2) AS tutar, "
        "round(round(fs.miktar * fs.birimfiyat, 2) * (1 - (1 - fs.indirim1 / 100.0) * (1 - fs.indirim2 / 100.0)), 2) "
        "AS indirimtutar, round(fs.miktar * fs.birimfiyat, 2) - round(round(fs.miktar * fs.birimfiyat, 2) * "
        "(1 - (1 - fs.indirim1 / 100.0) * (1 - fs.indirim2 / 100.0)), 2) + fs.masraf AS net FROM fatura_satir fs) x "
        "JOIN fatura f ON f.idno = x.idno JOIN stok s ON s.stokno = x.stokno JOIN cari c ON c.carino = f.carino "
        "WHERE x.idno = ?2 AND f.carino = ?1 ORDER BY x.sirano");
    s.bindAll(carino, idno);
    s.fillInto(set, ResultShape::InvoiceLines);
    return set;
}

RecordSet SqliteStorage::invoiceTotals(int idno)
{
    RecordSet set = emptyResult(ResultShape::InvoiceTotals);
    SqliteStatement &s = m_db.prepare(
        "SELECT COALESCE(sum(tutar), 0) AS TOPLAM, COALESCE(sum(indirimtutar), 0) AS TOPLAMINDIRIM, "
        "COALESCE(sum(net), 0) AS MATRAH, COALESCE(sum(vergi), 0) AS KDVTUTAR, "
        "COALESCE(sum(net + vergi), 0) AS KDVDAHIL FROM (SELECT tutar, indirimtutar, tutar - indirimtutar + masraf AS net, "
        "round((tutar - indirimtutar + masraf) * kdv / 100.0, 2) AS vergi FROM (SELECT fs.*, "
        "round(fs.miktar * fs.birimfiyat, 2) AS tutar, round(round(fs.miktar * fs.birimfiyat, 2) * "
        "(1 - (1 - fs.indirim1 / 100.0) * (1 - fs.indirim2 / 100.0)), 2) AS indirimtutar FROM fatura_satir fs "
        "WHERE fs.idno = ?1)) HAVING EXISTS (SELECT 1 FROM fatura WHERE idno = ?1)");
    s.bind(1, idno);
    s.fillInto(set, ResultShape::InvoiceTotals);
    return set;
}

RecordSet SqliteStorage::collection(int idno)
{
    return query("SELECT tarih AS \"Tarih\", turu AS \"Türü\", cins AS \"Cins\", evrakno AS \"EvrakNo\", vade AS \"Vade\", "
                 "tutar AS \"Tutar\", kur AS \"Kur\", kurtl AS \"KurTL\", aciklama AS \"Açıklama\", "
                 "doviztutar AS \"Döviz Tutar\", ref AS \"Ref\", saat AS \"Saat\" FROM tahsilat WHERE idno = ?1 "
                 "ORDER BY sirano",
                 ResultShape::Collection, idno);
}

RecordSet SqliteStorage::balances(int carino)
{
    RecordSet set = emptyResult(ResultShape::OrderLines);
    SqliteStatement &s =
        m_db.prepare(MORVEX_ORDER_LINE_SELECT "WHERE l.carino = ?1 AND l.kalan > 0 ORDER BY l.idno, l.stokhar_no");
    s.bind(1, carino);
    s.fillInto(set, ResultShape::OrderLines);
    return set;
}

void SqliteStorage::rewriteOrderLine(int stokharNo, double miktar, double kalan, double fiyat, double indirim)
{
    SqliteStatement &kdv = m_db.prepare("SELECT kdv FROM siparis_satir WHERE stokhar_no = ?1");
    kdv.bind(1, stokharNo);
    const double rate = kdv.step() ? kdv.real(0) : 0;
    kdv.reset();
    const LineAmounts a = lineAmounts(miktar, fiyat, indirim, rate);
    m_db.prepare("UPDATE siparis_satir SET miktar = ?2, kalan = ?3, birimfiyat = ?4, indirimorani1 = ?5, tutar = ?6, "
                 "indirimtutar = ?7, nettutar = ?8, netbirimfiyat = ?9, vergitutari = ?10, kdvlitutar = ?11 "
                 "WHERE stokhar_no = ?1")
        .bindAll(stokharNo, miktar, kalan, fiyat, indirim, a.tutar, a.indirimTutar, a.netTutar, a.netBirimFiyat,
                 a.vergiTutari, a.kdvliTutar)
        .run();
}

namespace {

struct OpenLine
{
    double miktar = 0, teslimEdilen = 0, kalan = 0, fiyat = 0, indirim = 0;
};

OpenLine openLine(SqliteDatabase &db, const BalanceChange &change)
{
    SqliteStatement &s = db.prepare("SELECT miktar, teslimedilen, kalan, birimfiyat, indirimorani1 FROM siparis_satir "
                                    "WHERE stokhar_no = ?1 AND carino = ?2");
    s.bindAll(change.stokharNo, change.carino);
    if (!s.step()) {
        s.reset();
        throw StorageError(u"Sipariş satırı bulunamadı: %1"_s.arg(change.stokharNo));
    }
    OpenLine l{s.real(0), s.real(1), s.real(2), s.real(3), s.real(4)};
    s.reset();
    if (l.kalan <= 0)
        throw StorageError(u"Bu sipariş satırının açık bakiyesi yok: %1"_s.arg(change.stokharNo));
    return l;
}

} // namespace

void SqliteStorage::cancelBalance(const BalanceChange &change)
{
    SqliteTransaction t(m_db);
    openLine(m_db, change);
    m_db.prepare("UPDATE siparis_satir SET iptal = iptal + kalan, kalan = 0 WHERE stokhar_no = ?1")
        .bind(1, change.stokharNo)
        .run();
    t.commit();
}

void SqliteStorage::changeBalance(const BalanceChange &change)
{
    requireQuantity(change.bakiye);
    SqliteTransaction t(m_db);
    const OpenLine l = openLine(m_db, change);
    rewriteOrderLine(change.stokharNo, l.teslimEdilen + change.bakiye, change.bakiye, l.fiyat, l.indirim);
    t.commit();
}

void SqliteStorage::changeBalancePrice(const BalanceChange &change)
{
    requirePrice(change.fiyat);
    requireDiscount(change.indirim);
    SqliteTransaction t(m_db);
    const OpenLine l = openLine(m_db, change);
    rewriteOrderLine(change.stokharNo, l.miktar, l.kalan, change.fiyat, change.indirim);
    t.commit();
}

QString SqliteStorage::tickerText()
{
    SqliteStatement &s = m_db.prepare("SELECT metin FROM ayar WHERE anahtar = 'kayan_yazi'");
    const QString text = s.step() ? s.text(0) : QString();
    s.reset();
    return text;
}

QByteArray SqliteStorage::banner()
{
    SqliteStatement &s = m_db.prepare("SELECT veri FROM ayar WHERE anahtar = 'banner'");
    const QByteArray gif = s.step() ? s.blob(0) : QByteArray();
    s.reset();
    return gif;
}

ExchangeRates SqliteStorage::exchangeRates()
{
    ExchangeRates rates;
    SqliteStatement &s = m_db.prepare("SELECT kod, deger FROM kur");
    while (s.step()) {
        if (s.text(0) == u"USD"_s)
            rates.usd = s.real(1);
        else if (s.text(0) == u"EUR"_s)
            rates.eur = s.real(1);
    }
    s.reset();
    return rates;
}

RecordSet SqliteStorage::counters(int carino)
{
    return query("SELECT (SELECT count(*) FROM sepet WHERE carino = ?1) AS SEPET, "
                 "(SELECT count(*) FROM stok WHERE yeni <> 0) AS YENI, "
                 "CASE WHEN (SELECT musteritipi FROM cari WHERE carino = ?1) = 4 THEN 0 "
                 "ELSE (SELECT count(*) FROM stok WHERE kampanyali <> 0) END AS KAMPANYA, "
                 "(SELECT count(*) FROM acilis_ekran WHERE tur = 'duyuru') AS DUYURU, "
                 "CAST((SELECT count(*) FROM siparis_satir WHERE carino = ?1 AND kalan > 0) AS REAL) AS BAKIYE",
                 ResultShape::Counters, carino);
}

int SqliteStorage::advertisementCount()
{
    SqliteStatement &s = m_db.prepare("SELECT count(*) FROM acilis_ekran WHERE tur = 'reklam'");
    const int n = s.step() ? s.int32(0) : 0;
    s.reset();
    return n;
}

std::optional<OpeningScreen> SqliteStorage::advertisement(int index)
{
    if (index < 0)
        return std::nullopt;
    SqliteStatement &s = m_db.prepare("SELECT sira, baslik, arama, resim FROM acilis_ekran WHERE tur = 'reklam' "
                                      "ORDER BY sira, sirano LIMIT 1 OFFSET ?1");
    s.bind(1, index);
    if (!s.step()) {
        s.reset();
        return std::nullopt;
    }
    OpeningScreen screen{s.int32(0), s.text(1), s.text(2), s.blob(3)};
    s.reset();
    return screen;
}

std::vector<OpeningScreen> SqliteStorage::announcements()
{
    std::vector<OpeningScreen> screens;
    SqliteStatement &s =
        m_db.prepare("SELECT sira, baslik, arama, resim FROM acilis_ekran WHERE tur = 'duyuru' ORDER BY sira, sirano");
    while (s.step())
        screens.push_back({s.int32(0), s.text(1), s.text(2), s.blob(3)});
    s.reset();
    return screens;
}

RecordSet SqliteStorage::documents()
{
    return query("SELECT sirano AS SIRANO, aciklama AS ACIKLAMA, dosyayol AS DOSYAYOL, 0 AS TUR, 0 AS ILERI FROM dosya "
                 "ORDER BY sirano",
                 ResultShape::Documents, 0);
}

std::optional<StoredDocument> SqliteStorage::document(int sirano)
{
    SqliteStatement &s = m_db.prepare("SELECT dosyayol, icerik FROM dosya WHERE sirano = ?1");
    s.bind(1, sirano);
    if (!s.step()) {
        s.reset();
        return std::nullopt;
    }
    StoredDocument d{plainFileName(s.text(0), sirano), s.blob(1)};
    s.reset();
    return d;
}

QByteArray SqliteStorage::backup()
{
    SqliteStatement &s = m_db.prepare("SELECT veri FROM ayar WHERE anahtar = 'yedek'");
    const QByteArray bytes = s.step() ? s.blob(0) : QByteArray();
    s.reset();
    return bytes;
}

int SqliteStorage::storeMail(const MailRequest &r)
{
    requireText(r.idsi, limits::kIdentity, u"Bilgisayar ID"_s);
    const std::pair<const QString *, const char16_t *> shortFields[] = {
        {&r.baslik, u"Başlık"}, {&r.firmaadi, u"Firma adı"}, {&r.adres1, u"Adres"}, {&r.adres2, u"Adres2"},
        {&r.ilce, u"İlçe"}, {&r.sehir, u"Şehir"}, {&r.telefon, u"Telefon"}, {&r.fax, u"Fax"},
        {&r.vd, u"Vergi dairesi"}, {&r.vn, u"Vergi no"}, {&r.yetkili, u"Yetkili"}, {&r.kullaniciadi, u"Kullanıcı adı"},
        {&r.sifre, u"Şifre"}, {&r.mail, u"Mail"}, {&r.kargoambar, u"Kargo ambar"}};
    for (const auto &[value, name] : shortFields)
        requireText(*value, limits::kText, QString::fromUtf16(name));
    requireText(r.konu, limits::kMailBody, u"Mesaj"_s);
    SqliteTransaction t(m_db);
    m_db.prepare("INSERT INTO mail_kutusu (zaman, yontem, idsi, baslik, firmaadi, adres1, adres2, ilce, sehir, telefon, "
                 "fax, vd, vn, yetkili, kullaniciadi, sifre, mail, kargoambar, konu) VALUES (?1, ?2, ?3, ?4, ?5, ?6, "
                 "?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14, ?15, ?16, ?17, ?18, ?19)")
        .bindAll(nowText(), r.method, r.idsi, r.baslik, r.firmaadi, r.adres1, r.adres2, r.ilce, r.sehir, r.telefon, r.fax,
                 r.vd, r.vn, r.yetkili, r.kullaniciadi, r.sifre, r.mail, r.kargoambar, r.konu)
        .run();
    const int id = int(m_db.lastInsertId());
    t.commit();
    return id;
}

std::vector<StoredMail> SqliteStorage::outbox()
{
    std::vector<StoredMail> mails;
    SqliteStatement &s = m_db.prepare(
        "SELECT sirano, zaman, yontem, idsi, baslik, firmaadi, adres1, adres2, ilce, sehir, telefon, fax, vd, vn, "
        "yetkili, kullaniciadi, sifre, mail, kargoambar, konu FROM mail_kutusu ORDER BY sirano");
    while (s.step()) {
        StoredMail m;
        m.sirano = s.int32(0);
        m.zaman = s.text(1);
        m.request = {s.text(2),  s.text(3),  s.text(4),  s.text(5),  s.text(6),  s.text(7),  s.text(8),
                     s.text(9),  s.text(10), s.text(11), s.text(12), s.text(13), s.text(14), s.text(15),
                     s.text(16), s.text(17), s.text(18), s.text(19)};
        mails.push_back(std::move(m));
    }
    s.reset();
    return mails;
}

SqliteStorageProvider::SqliteStorageProvider(QString path, int maxStockRows)
    : m_path(std::move(path)), m_maxStockRows(maxStockRows)
{
    SqliteStorage probe(m_path);
}

std::unique_ptr<Storage> SqliteStorageProvider::open()
{
    return std::make_unique<SqliteStorage>(m_path, m_maxStockRows);
}

} // namespace morvex::server
