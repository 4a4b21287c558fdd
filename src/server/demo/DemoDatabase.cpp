#include "server/demo/DemoDatabase.h"

#include "core/data/NumberFormat.h"
#include "server/demo/DemoAssets.h"
#include "server/demo/DemoCatalogue.h"
#include "server/media/PdfWriter.h"
#include "server/storage/Pricing.h"
#include "server/storage/Schema.h"
#include "server/storage/SqliteDatabase.h"
#include "server/storage/StorageTypes.h"

#include <QFile>
#include <QFileInfo>

#include <cstdint>
#include <iterator>

using namespace Qt::StringLiterals;

namespace morvex::server {

namespace {

using namespace demo;

// splitmix64: a fixed sequence, so the demo database is the same on every run.
class Sequence
{
public:
    std::uint64_t next()
    {
        std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    int below(int n) { return int(next() % std::uint64_t(n)); }
    double between(double lo, double hi) { return lo + (hi - lo) * double(next() % 1000000) / 1000000.0; }

private:
    std::uint64_t m_state = 20261130;
};

struct DemoUser
{
    QStringView adi;
    QStringView sifre;
    int carino;
    int type;
    int aktif;
    int version;
};

constexpr int kMerkez = 1, kTemsilcilik = 2, kDealer0 = 3, kDealer3 = 4, kDealer4 = 5, kBdm = 6, kSecondDealer = 7;

constexpr DemoUser kUsers[] = {
    {u"PERSONEL1", u"1234", kMerkez, 1, 1, 15},  {u"PERSONEL2", u"1234", kTemsilcilik, 2, 1, 15},
    {u"BAYI0", u"1234", kDealer0, 0, 1, 15},     {u"BAYI3", u"1234", kDealer3, 3, 1, 15},
    {u"BAYI4", u"1234", kDealer4, 4, 1, 15},     {u"BOLGE", u"1234", kBdm, 3, 1, 15},
    {u"PASIF", u"1234", kSecondDealer, 0, 0, 15}, {u"ESKI", u"1234", kSecondDealer, 0, 1, 16},
};

QString ean13(qint64 body12)
{
    QString digits = QString::number(body12).rightJustified(12, QChar(u'0'));
    int sum = 0;
    for (int i = 0; i < 12; ++i)
        sum += (digits[i].unicode() - u'0') * (i % 2 ? 3 : 1);
    return digits + QString::number((10 - sum % 10) % 10);
}

QString money(double v)
{
    return QString::number(v, 'f', 2);
}

QString day(const QDate &d, int hour = 10, int minute = 0)
{
    return storedDateTime(QDateTime(d, QTime(hour, minute)));
}

class DemoWriter
{
public:
    DemoWriter(SqliteDatabase &db, const DemoOptions &options) : m_db(db), m_options(options) {}

    DemoSummary write()
    {
        SqliteTransaction t(m_db);
        settings();
        people();
        lookups();
        pictures();
        stock();
        genuineParts();
        baskets();
        orders();
        statement(kDealer0, 14);
        for (int carino = kDealer3; carino <= kSecondDealer; ++carino)
            statement(carino, 4);
        for (int carino = 100; carino < 100 + m_extraDealers; ++carino)
            statement(carino, 2);
        content();
        documents();
        t.commit();
        return m_summary;
    }

private:
    void settings()
    {
        auto &s = m_db.prepare("INSERT INTO ayar (anahtar, metin, veri) VALUES (?1, ?2, ?3)");
        s.bindAll(u"kayan_yazi"_s,
                  u"<b>ORVEX Otomotiv</b> &bull; Saat <font color=\"#cc0000\"><b>16:00</b></font>'a kadar verilen "
                  "siparişler aynı gün kargoda! &bull; <i>Yeni kampanyalar için Kampanyalı sekmesine bakınız.</i>"_s,
                  QByteArray())
            .run();
        s.bindAll(u"banner"_s, QString(), bannerGif()).run();
        s.bindAll(u"yedek"_s, u"Yedek Dünyası"_s,
                  writeTextPdf(u"Yedek Dünyası - Bülten"_s,
                               {u"ORVEX Otomotiv yedek parça bülteni."_s, u"Yeni ürünler ve kampanyalar içindedir."_s}))
            .run();
        m_db.prepare("INSERT INTO kur (kod, deger) VALUES ('USD', 34.8512), ('EUR', 37.9246)").run();
    }

    void people()
    {
        m_db.prepare("INSERT INTO satici (saticino, adi, telefon, mail) VALUES "
                     "(1, 'Mehmet KAYA', '0532 111 22 33', 'mehmet.kaya@orvex.com.tr'), "
                     "(2, 'Ayşe DEMİR', '0533 444 55 66', 'ayse.demir@orvex.com.tr'), "
                     "(3, 'Hakan ÖZTÜRK', '0535 777 88 99', 'hakan.ozturk@orvex.com.tr')")
            .run();
        auto &cari = m_db.prepare(
            "INSERT INTO cari (carino, carikod, cariadi, musteritipi, saticino, yetkili, ozelkod, anagrup, altgrup, "
            "adres1, adres2, ilce, il, vergidairesi, vergino, tel1, tel2, fax1, fax2, gsm, email, kod1, indirim, vade) "
            "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14, ?15, ?16, ?17, ?18, ?19, ?20, ?21, "
            "?22, ?23, ?24)");
        struct Account
        {
            int carino;
            QString kod, adi;
            int type, satici;
            QString yetkili, ilce, il;
            double indirim;
        };
        const QList<Account> accounts = {
            {kMerkez, u"100.MRK.001"_s, u"ORVEX OTOMOTİV MERKEZ"_s, 1, 1, u"Selim ORVEX"_s, u"Bağcılar"_s, u"İSTANBUL"_s, 0},
            {kTemsilcilik, u"100.SAT.001"_s, u"ORVEX SATIŞ TEMSİLCİLİĞİ"_s, 2, 2, u"Ayşe DEMİR"_s, u"Çankaya"_s, u"ANKARA"_s, 0},
            {kDealer0, u"120.01.0001"_s, u"YILDIZ OTO YEDEK PARÇA LTD. ŞTİ."_s, 0, 1, u"Kemal YILDIZ"_s, u"Bağcılar"_s,
             u"İSTANBUL"_s, 10},
            {kDealer3, u"120.03.0001"_s, u"EGE MOTOR PARÇA SAN. TİC. A.Ş."_s, 3, 3, u"Zeynep ÇAKIR"_s, u"Bornova"_s,
             u"İZMİR"_s, 12.5},
            {kDealer4, u"120.04.0001"_s, u"ANADOLU OTO SERVİS"_s, 4, 3, u"Osman KOÇ"_s, u"Melikgazi"_s, u"KAYSERİ"_s, 5},
            {kBdm, u"120.BDM.001"_s, u"ORVEX ANKARA BÖLGE MÜDÜRLÜĞÜ"_s, 3, 2, u"Murat ŞEN"_s, u"Yenimahalle"_s,
             u"ANKARA"_s, 0},
            {kSecondDealer, u"120.01.0002"_s, u"KARADENİZ OTOMOTİV"_s, 0, 1, u"Rıza AKSU"_s, u"Ortahisar"_s, u"TRABZON"_s, 7.5},
        };
        QList<Account> all = accounts;
        m_extraDealers = 24;
        for (int i = 0; i < m_extraDealers; ++i) {
            const QString word = kDealerWords[std::size_t(i) % std::size(kDealerWords)].toString();
            const QString city = kCities[std::size_t(i) % std::size(kCities)].toString();
            all.append({100 + i, u"120.%1.%2"_s.arg(10 + i % 7, 2, 10, QChar(u'0')).arg(100 + i, 4, 10, QChar(u'0')),
                        u"%1 OTOMOTİV %2"_s.arg(word, city), i % 5 == 4 ? 3 : 0, 1 + i % 3, u"Yetkili %1"_s.arg(word),
                        u"Merkez"_s, city, double(5 + i % 4 * 2.5)});
        }
        for (const Account &a : all) {
            const QString n = QString::number(a.carino).rightJustified(3, QChar(u'0'));
            cari.bindAll(a.carino, a.kod, a.adi, a.type, a.satici, a.yetkili, u"BAYİ"_s,
                         a.type == 1 || a.type == 2 ? u"PERSONEL"_s : u"YEDEK PARÇA"_s, u"OTO"_s,
                         u"Sanayi Sitesi %1. Blok No: %2"_s.arg(1 + a.carino % 9).arg(a.carino), u"Kat: 1"_s, a.ilce, a.il,
                         a.il + u" VD"_s, u"1234567%1"_s.arg(n), u"0212 555 0%1"_s.arg(n), u"0212 555 1%1"_s.arg(n),
                         u"0212 555 2%1"_s.arg(n), QString(), u"0532 000 0%1"_s.arg(n),
                         u"cari%1@ornek-bayi.com.tr"_s.arg(a.carino), a.type == 0 ? u"A"_s : u"B"_s, a.indirim,
                         30 + (a.carino % 3) * 15)
                .run();
            ++m_summary.accounts;
        }
        auto &user = m_db.prepare("INSERT INTO kullanici (sirano, carino, adi, sifre, aktif, musteritipi, surum, mail) "
                                  "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8)");
        auto &computer = m_db.prepare("INSERT INTO bilgisayar (kimlik, kullanici) VALUES (?1, ?2)");
        int sirano = 0;
        for (const DemoUser &u : kUsers) {
            ++sirano;
            user.bindAll(sirano, u.carino, u.adi.toString(), u.sifre.toString(), u.aktif, u.type, u.version,
                         u.adi.toString().toLower() + u"@ornek-bayi.com.tr"_s)
                .run();
            computer.bindAll(u"DEMO-"_s + u.adi.toString(), sirano).run();
            ++m_summary.users;
        }
        m_db.prepare("INSERT INTO iskonto (carino, marka, oran) VALUES (?1, 'BOSCH', 15), (?1, 'VALEO', 12.5), "
                     "(?1, 'ORVEX', 20), (?2, 'SACHS', 17.5)")
            .bindAll(kDealer0, kDealer3)
            .run();
    }

    void lookups()
    {
        m_db.prepare("INSERT INTO teslim (id, adi) VALUES (1, 'Gel Al'), (2, 'Kargo ile Gönderim'), (3, 'Kendi Aracımızla')").run();
        m_db.prepare("INSERT INTO kargoturu (id, adi) VALUES (1, 'Anlaşmalı Kargo'), (2, 'Alıcı Ödemeli'), (3, 'Ambar')").run();
        m_db.prepare("INSERT INTO kargofirma (sirano, turid, adi, uyari) VALUES "
                     "(1, 1, 'Yurtiçi Kargo', 'Saat 16:00''ya kadar verilen siparişler aynı gün çıkar.'), "
                     "(2, 1, 'Aras Kargo', ''), (3, 1, 'MNG Kargo', 'Doğu illerine teslim 2-3 iş günü sürer.'), "
                     "(4, 2, 'Yurtiçi Kargo (Alıcı Ödemeli)', 'Kargo ücreti teslimde alıcıdan alınır.'), "
                     "(5, 2, 'PTT Kargo', ''), (6, 3, 'Öztürk Nakliyat Ambarı', 'Ambar teslimi 2-3 iş günü sürer.'), "
                     "(7, 3, 'Karadeniz Ambarı', 'Sadece Karadeniz bölgesine.')")
            .run();
        m_db.prepare("INSERT INTO departman (id, adi) VALUES (1, 'YEDEK PARÇA'), (2, 'AKSESUAR'), (3, 'MADENİ YAĞ')").run();
    }

    void pictures()
    {
        auto &s = m_db.prepare("INSERT INTO resim (resimno, jpeg) VALUES (?1, ?2)");
        int n = 0;
        for (const PartType &p : kPartTypes) {
            ++n;
            s.bindAll(n, partPicture(p.name.toString(), n)).run();
        }
    }

    void stock()
    {
        auto &s = m_db.prepare(
            "INSERT INTO stok (stokno, kod, barkod, barkodno, adi, digeradi, oem1, oem2, oem3, oem4, oemno, ureticikodu, "
            "dpkod, pkod, birim, marka, model, anagrup, altgrup, ozelkod, departman, renk, beden, kdv, listefiyati, "
            "fiyat, maliyet, durum, yeni, kampanyali, kampanyafiyati, kalan, alinansiparis, verilensiparis, resimno, "
            "arama) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14, ?15, ?16, ?17, ?18, ?19, "
            "?20, ?21, ?22, ?23, ?24, ?25, ?26, ?27, ?28, ?29, ?30, ?31, ?32, ?33, ?34, ?35, ?36)");
        Sequence seq;
        const int statusWeights[] = {1, 6, 1, 1, 1, 1};
        const ExchangeRates rates{34.8512, 37.9246};
        for (int i = 0; i < m_options.stockCount; ++i) {
            const int stokno = i + 1;
            const int partIndex = seq.below(int(std::size(kPartTypes)));
            const PartType &part = kPartTypes[std::size_t(partIndex)];
            const Vehicle &car = kVehicles[std::size_t(seq.below(int(std::size(kVehicles))))];
            const Brand &brand = kBrands[std::size_t(seq.below(int(std::size(kBrands))))];
            QString name = part.name.toString();
            if (part.sided)
                name += u' ' + kSides[std::size_t(seq.below(int(std::size(kSides))))].toString();
            name += u' ' + car.make.toString() + u' ' + car.model.toString();
            const QString kod = u"ORV-%1"_s.arg(100000 + stokno);
            const QString oem1 = u"%1%2"_s.arg(car.oemPrefix.toString()).arg(seq.below(900000) + 100000);
            const QString oem2 = i % 3 == 0 ? u"%1 %2"_s.arg(car.oemPrefix.toString()).arg(seq.below(90000) + 10000) : QString();
            const QString oem3 = i % 7 == 0 ? u"A%1"_s.arg(seq.below(9000000) + 1000000) : QString();
            const QString oem4 = i % 11 == 0 ? u"%1-%2"_s.arg(seq.below(900) + 100).arg(seq.below(900) + 100) : QString();
            const QString uretici = u"%1 %2"_s.arg(brand.codePrefix.toString()).arg(seq.below(900000) + 100000);
            const QString barkod = ean13(869000000000LL + stokno);
            const double fiyat = round2(part.basePrice * seq.between(0.7, 1.6));
            const double liste = round2(fiyat * 1.25);
            const int kdv = i % 50 == 49 ? 20 : 18;
            const QString currency = brand.currency.toString();
            const double costTl = fiyat * seq.between(0.55, 0.75) * (1 + kdv / 100.0);
            QString maliyet;
            if (currency == u"$"_s)
                maliyet = money(costTl / rates.usd) + u" $"_s;
            else if (currency == u"€"_s)
                maliyet = money(costTl / rates.eur) + u" €"_s;
            else
                maliyet = money(costTl) + u" TL"_s;
            int durum = i % 6;
            if (i >= 6) {
                int pick = seq.below(11);
                durum = 0;
                while (pick >= statusWeights[durum])
                    pick -= statusWeights[durum++];
            }
            const int yeni = i % 37 == 0 ? 1 : 0;
            const int kampanyali = i % 29 == 3 ? 1 : 0;
            const double kampanyaFiyati = kampanyali ? round2(fiyat * 0.85) : 0;
            const double kalan = durum == 0 ? 0 : double(seq.below(250) + 1);
            const QString haystack = u"%1 %2 %3 %4 %5 %6 %7 %8 %9 "_s.arg(name, part.otherName.toString(),
                                                                          brand.name.toString(), kod, barkod, oem1, oem2,
                                                                          oem3, oem4) +
                                     uretici;
            const QString arama = searchKey(haystack) +
                                  u' ' + compactKey(oem1) + u' ' + compactKey(oem2) + u' ' + compactKey(uretici);
            s.bind(1, stokno).bind(2, kod).bind(3, barkod).bind(4, stokno).bind(5, name).bind(6, part.otherName.toString());
            s.bind(7, oem1).bind(8, oem2).bind(9, oem3).bind(10, oem4).bind(11, oem1).bind(12, uretici);
            s.bind(13, u"DP%1"_s.arg(stokno % 997)).bind(14, u"P%1"_s.arg(stokno % 50)).bind(15, u"ADET"_s);
            s.bind(16, brand.name.toString()).bind(17, car.model.toString()).bind(18, part.group.toString());
            s.bind(19, part.name.toString()).bind(20, car.make.toString()).bind(21, u"YEDEK PARÇA"_s);
            s.bind(22, i % 13 == 0 ? u"SİYAH"_s : QString()).bind(23, QString()).bind(24, kdv).bind(25, liste);
            s.bind(26, fiyat).bind(27, maliyet).bind(28, durum).bind(29, yeni).bind(30, kampanyali);
            s.bind(31, kampanyaFiyati).bind(32, kalan).bind(33, double(seq.below(20))).bind(34, double(seq.below(40)));
            if (i % 10 == 9)
                s.bindNull(35);
            else
                s.bind(35, partIndex + 1);
            s.bind(36, arama);
            s.run();
        }
        m_summary.stockItems = m_options.stockCount;
    }

    void genuineParts()
    {
        auto &s = m_db.prepare("INSERT INTO orjinal (kod, aciklama, kdvharic, kdvdahil, arama) VALUES (?1, ?2, ?3, ?4, ?5)");
        Sequence seq;
        const int count = std::max(300, m_options.stockCount / 4);
        for (int i = 0; i < count; ++i) {
            const PartType &part = kPartTypes[std::size_t(seq.below(int(std::size(kPartTypes))))];
            const Vehicle &car = kVehicles[std::size_t(seq.below(int(std::size(kVehicles))))];
            const QString kod = u"%1%2"_s.arg(car.oemPrefix.toString()).arg(100000 + i * 7);
            const QString aciklama = part.name.toString() + u" (ORJİNAL) "_s + car.make.toString() + u' ' + car.model.toString();
            const double haric = round2(part.basePrice * seq.between(1.3, 2.4));
            s.bindAll(kod, aciklama, haric, round2(haric * 1.18), compactKey(kod) + u' ' + compactKey(aciklama)).run();
        }
    }

    struct StockLine
    {
        int stokno;
        QString barkod, adi;
        double fiyat;
        int kdv;
    };

    StockLine stockLine(int stokno)
    {
        auto &s = m_db.prepare("SELECT stokno, barkod, adi, fiyat, kdv FROM stok WHERE stokno = ?1");
        s.bind(1, stokno);
        s.step();
        StockLine l{s.int32(0), s.text(1), s.text(2), s.real(3), s.int32(4)};
        s.reset();
        return l;
    }

    int pickStock(Sequence &seq)
    {
        return 1 + seq.below(std::min(m_options.stockCount, 2000));
    }

    void baskets()
    {
        auto &s = m_db.prepare(
            "INSERT INTO sepet (carino, stokno, barkod, stokadi, miktar, kdv, birimfiyat, ilkfiyat, indirimorani1, tutar, "
            "indirimtutar, nettutar, netbirimfiyat, vergitutari, kdvlitutar, sec, tarih, saat, verenidno, veren) VALUES "
            "(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14, ?15, ?16, ?17, ?18, ?19, ?20)");
        Sequence seq;
        const struct
        {
            int carino, lines, user;
            QString veren;
        } owners[] = {{kDealer0, 4, 3, u"BAYI0"_s}, {kDealer3, 2, 4, u"BAYI3"_s}, {kSecondDealer, 1, 7, u"PASIF"_s}};
        for (const auto &o : owners) {
            QList<int> used;
            for (int n = 0; n < o.lines; ++n) {
                int stokno = pickStock(seq);
                while (used.contains(stokno))
                    stokno = pickStock(seq);
                used.append(stokno);
                const StockLine l = stockLine(stokno);
                const double miktar = 1 + seq.below(5), indirim = 10;
                const LineAmounts a = lineAmounts(miktar, l.fiyat, indirim, l.kdv);
                s.bindAll(o.carino, stokno, l.barkod, l.adi, miktar, double(l.kdv), l.fiyat, l.fiyat, indirim, a.tutar,
                          a.indirimTutar, a.netTutar, a.netBirimFiyat, a.vergiTutari, a.kdvliTutar, n == 3 ? 0 : 1,
                          day(m_options.today.addDays(-n), 9 + n), u"%1:15"_s.arg(9 + n), o.user, o.veren)
                    .run();
            }
        }
    }

    void orders()
    {
        auto &order = m_db.prepare(
            "INSERT INTO siparis (idno, carino, tarih, saat, durum, teslimid, kargoturid, kargofirmaid, veren, verenidno, "
            "verenin_notu, alan_notu, satici_notu) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13)");
        auto &line = m_db.prepare(
            "INSERT INTO siparis_satir (idno, sepetsirano, carino, stokno, barkod, stokadi, miktar, kdv, birimfiyat, "
            "ilkfiyat, indirimorani1, tutar, indirimtutar, nettutar, netbirimfiyat, vergitutari, kdvlitutar, "
            "teslimedilen, kalan, tarih, saat, verenidno, veren) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, "
            "?12, ?13, ?14, ?15, ?16, ?17, ?18, ?19, ?20, ?21, ?22, ?23)");
        const QString notes[] = {u"Acil lazım, öğlene kadar çıkarsa sevinirim."_s, u"Faturayı şirket adına kesiniz."_s,
                                 QString(), u"Eksik parça varsa haber veriniz.\nTeşekkürler."_s};
        const QString ourNotes[] = {u"Siparişiniz alındı."_s, u"Onaylandı, depoya iletildi."_s, u"Görüldü."_s,
                                    u"2 kalem tedarikte, kalanı hazırlandı."_s, u"Hazırlandı, kargo bekliyor."_s,
                                    u"Yurtiçi Kargo ile gönderildi. Takip no: 4512 7789 01"_s};
        Sequence seq;
        int idno = 1000, sepetSirano = 50000;
        const int owners[] = {kDealer0, kDealer0, kDealer0, kDealer0, kDealer0, kDealer0, kDealer0,
                              kDealer3, kDealer4, kBdm, kSecondDealer, 100, 101, 102, 103};
        int k = 0;
        for (int carino : owners) {
            const int state = carino == kDealer0 ? 1 + k % 6 : 1 + seq.below(6);
            const int kind = 1 + seq.below(3);
            const int company = kind == 1 ? 1 + seq.below(3) : kind == 2 ? 4 + seq.below(2) : 6 + seq.below(2);
            const QDate date = m_options.today.addDays(-(3 + k * 4));
            ++idno;
            order.bindAll(idno, carino, day(date, 10 + k % 6, 5 * k % 60), u"%1:%2"_s.arg(10 + k % 6).arg(5 * k % 60, 2, 10, QChar(u'0')),
                          state, 1 + seq.below(3), kind, company, u"BAYI0"_s, 3, notes[k % 4], ourNotes[state - 1],
                          state >= 4 ? u"Müşteri ile telefonda görüşüldü, vade 60 gün."_s : QString())
                .run();
            const int lines = 2 + seq.below(4);
            for (int n = 0; n < lines; ++n) {
                const StockLine l = stockLine(pickStock(seq));
                const double miktar = 1 + seq.below(10), indirim = 10;
                const LineAmounts a = lineAmounts(miktar, l.fiyat, indirim, l.kdv);
                double delivered = 0;
                if (state == 6)
                    delivered = miktar;
                else if (state == 4)
                    delivered = n % 2 ? miktar : std::floor(miktar / 2);
                line.bindAll(idno, ++sepetSirano, carino, l.stokno, l.barkod, l.adi, miktar, double(l.kdv), l.fiyat,
                             l.fiyat, indirim, a.tutar, a.indirimTutar, a.netTutar, a.netBirimFiyat, a.vergiTutari,
                             a.kdvliTutar, delivered, miktar - delivered, day(date, 10), u"10:00"_s, 3, u"BAYI0"_s)
                    .run();
            }
            ++k;
            ++m_summary.orders;
        }
    }

    void statement(int carino, int documents)
    {
        auto &move = m_db.prepare("INSERT INTO cari_hareket (carino, tarih, turadi, evrak, borc, alacak, aciklama, idno) "
                                  "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8)");
        auto &invoice = m_db.prepare(
            "INSERT INTO fatura (idno, carino, evrakno, tarih, saat, hareket_tipi, saticiadi, vade, irsaliye_no, "
            "irsaliye_tarihi, irsaliye_tipi, siparis_evrakno, siparis_tarihi) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, "
            "?9, ?10, ?11, ?12, ?13)");
        auto &invoiceLine = m_db.prepare("INSERT INTO fatura_satir (idno, stokno, miktar, birimfiyat, indirim1, indirim2, "
                                         "kdv, aciklama) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8)");
        auto &payment = m_db.prepare(
            "INSERT INTO tahsilat (idno, carino, tarih, turu, cins, evrakno, vade, tutar, kur, kurtl, aciklama, ref, saat) "
            "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, 'TL', 1, ?9, ?10, ?11)");
        Sequence seq;
        for (int i = 0; i < carino; ++i)
            seq.next();
        QDate date = m_options.today.addDays(-(documents * 6 + 10));
        move.bindAll(carino, day(date, 8), u"Devir"_s, u"DVR-%1"_s.arg(carino), 1500.0 + carino * 10, 0.0,
                     u"Önceki dönemden devir"_s, 0)
            .run();
        for (int d = 0; d < documents; ++d) {
            date = date.addDays(6);
            const int idno = ++m_documentNo;
            const int kind = d % 5;
            if (kind == 3) {
                const double amount = round2(seq.between(2000, 9000));
                const QString cins = d % 2 ? u"Kredi Kartı"_s : u"Nakit"_s;
                payment.bindAll(idno, carino, day(date, 14), u"Tahsilat"_s, cins, u"THS-%1"_s.arg(idno), day(date.addDays(30)),
                                amount, u"Tahsilat makbuzu"_s, u"R%1"_s.arg(idno), u"14:30"_s)
                    .run();
                if (d % 2 == 0)
                    payment.bindAll(idno, carino, day(date, 14), u"Tahsilat"_s, u"Çek"_s, u"CEK-%1"_s.arg(idno),
                                    day(date.addDays(60)), 1250.0, u"Çek, 60 gün vadeli"_s, u"R%1-2"_s.arg(idno), u"14:35"_s)
                        .run();
                move.bindAll(carino, day(date, 14), u"Tahsilat"_s, u"THS-%1"_s.arg(idno), 0.0,
                             amount + (d % 2 == 0 ? 1250.0 : 0.0), u"%1 tahsilat"_s.arg(cins), idno)
                    .run();
                continue;
            }
            if (kind == 4 && d % 2 == 1) {
                const double amount = 300.0 + d * 10;
                payment.bindAll(idno, carino, day(date, 11), u"Tediye"_s, u"Havale"_s, u"TED-%1"_s.arg(idno), day(date),
                                amount, u"Fazla ödeme iadesi"_s, u"T%1"_s.arg(idno), u"11:00"_s)
                    .run();
                move.bindAll(carino, day(date, 11), u"Tediye"_s, u"TED-%1"_s.arg(idno), amount, 0.0,
                             u"Havale ile iade"_s, idno)
                    .run();
                continue;
            }
            const bool refund = kind == 4;
            const QString type = refund ? u"Satış İade Faturası"_s : u"Satış Faturası"_s;
            const QString evrak = (refund ? u"IAD"_s : u"FTR"_s) + u"%1"_s.arg(2026000 + idno);
            invoice.bindAll(idno, carino, evrak, day(date, 16), u"16:20"_s, type, u"Mehmet KAYA"_s, 60,
                            u"IRS%1"_s.arg(2026000 + idno), day(date, 15), u"Satış İrsaliyesi"_s, u"SIP%1"_s.arg(idno),
                            day(date.addDays(-2), 9))
                .run();
            double total = 0;
            const int lines = 2 + seq.below(5);
            for (int n = 0; n < lines; ++n) {
                const StockLine l = stockLine(pickStock(seq));
                const double miktar = refund ? 1 : 1 + seq.below(6);
                const double i1 = 10, i2 = n % 2 ? 5 : 0;
                invoiceLine.bindAll(idno, l.stokno, miktar, l.fiyat, i1, i2, double(l.kdv), QString()).run();
                const double tutar = round2(miktar * l.fiyat);
                const double net = tutar - round2(tutar * (1 - (1 - i1 / 100) * (1 - i2 / 100)));
                total += net + round2(net * l.kdv / 100.0);
            }
            total = round2(total);
            move.bindAll(carino, day(date, 16), type, evrak, refund ? 0.0 : total, refund ? total : 0.0,
                         refund ? u"İade faturası"_s : u"Satış faturası"_s, idno)
                .run();
        }
    }

    void content()
    {
        auto &s = m_db.prepare("INSERT INTO acilis_ekran (tur, sira, baslik, arama, resim) VALUES (?1, ?2, ?3, ?4, ?5)");
        s.bindAll(u"reklam"_s, 1, u"Kış Kampanyası Başladı"_s, u"#KAMPANYA#"_s,
                  screenPicture(u"KIŞ KAMPANYASI"_s, u"SEÇİLİ ÜRÜNLERDE %15 İNDİRİM"_s, 600, 400, 1))
            .run();
        s.bindAll(u"reklam"_s, 2, u"Bosch Fren Ürünleri"_s, u"BOSCH"_s,
                  screenPicture(u"BOSCH FREN"_s, u"TÜM FREN ÜRÜNLERİ STOKTA"_s, 600, 400, 0))
            .run();
        s.bindAll(u"duyuru"_s, 1, u"Kampanyalı Ürünler"_s, u"#KAMPANYA#"_s,
                  screenPicture(u"KAMPANYA"_s, u"KAMPANYALI SEKMESİNE GÖZ ATIN"_s, 605, 405, 1))
            .run();
        s.bindAll(u"duyuru"_s, 2, u"Yeni Gelen Ürünler"_s, u"#YENİ#"_s,
                  screenPicture(u"YENİ ÜRÜNLER"_s, u"BU HAFTA GELEN PARÇALAR"_s, 605, 405, 2))
            .run();
        s.bindAll(u"duyuru"_s, 3, u"Fren Balatası Fırsatı"_s, u"FREN BALATASI"_s,
                  screenPicture(u"FREN BALATASI"_s, u"TÜM MARKALARDA UYGUN FİYAT"_s, 605, 405, 3))
            .run();
        s.bindAll(u"duyuru"_s, 4, u"Bayram Tatili Duyurusu"_s, QString(),
                  screenPicture(u"DUYURU"_s, u"BAYRAMDA DEPOMUZ KAPALIDIR"_s, 605, 405, 5))
            .run();
    }

    void documents()
    {
        auto &s = m_db.prepare("INSERT INTO dosya (sirano, aciklama, dosyayol, icerik) VALUES (?1, ?2, ?3, ?4)");
        QStringList priceLines;
        QList<QStringList> priceRows;
        auto &items = m_db.prepare("SELECT kod, adi, marka, fiyat FROM stok ORDER BY stokno LIMIT 150");
        while (items.step()) {
            priceLines << u"%1  %2  %3"_s.arg(items.text(0), items.text(1).left(48).leftJustified(48), money(items.real(3)).rightJustified(10));
            priceRows << QStringList{items.text(0), items.text(1), items.text(2), money(items.real(3))};
        }
        items.reset();
        s.bindAll(1, u"Okuyunuz - Sipariş Kuralları"_s, u"D:\\Belgeler\\okuyunuz.txt"_s,
                  u"Siparişleriniz saat 16:00'ya kadar aynı gün kargoya verilir.\r\nİade süresi 14 gündür.\r\n"_s.toUtf8())
            .run();
        s.bindAll(2, u"Eski Fiyat Veritabanı (Access)"_s, u"eski_fiyatlar.mdb"_s,
                  QByteArray("\x00\x01\x00\x00Standard Jet DB\x00", 20) + QByteArray(2028, '\0'))
            .run();
        s.bindAll(3, u"Kampanya Afişi"_s, u"kampanya_afisi.JPG"_s,
                  screenPicture(u"KAMPANYA"_s, u"ORVEX OTOMOTİV"_s, 800, 500, 1))
            .run();
        s.bindAll(4, u"Bayi Sözleşmesi"_s, u"bayi_sozlesmesi.doc"_s,
                  rtfDocument(u"Bayi Sözleşmesi"_s, {u"ORVEX Otomotiv ile bayi arasında yapılan sözleşmedir."_s,
                                                     u"Madde 1: Siparişler çevrim içi sipariş programından verilir."_s,
                                                     u"Madde 2: Ödemeler vade günü içinde yapılır."_s}))
            .run();
        s.bindAll(5, u"Fiyat Listesi (PDF)"_s, u"fiyat_listesi.pdf"_s, writeTextPdf(u"ORVEX Otomotiv Fiyat Listesi"_s, priceLines))
            .run();
        s.bindAll(6, u"Ürün Sunumu"_s, u"urun_sunumu.pptx"_s,
                  presentationPptx(u"ORVEX Otomotiv Ürün Sunumu"_s,
                                   {u"Fren, debriyaj ve süspansiyon grubunda geniş ürün yelpazesi"_s,
                                    u"Aynı gün kargo"_s, u"Online sipariş ve cari takip"_s}))
            .run();
        s.bindAll(7, u"Fiyat Listesi (Excel)"_s, u"fiyat_listesi.xls"_s,
                  spreadsheetXml({u"Kod"_s, u"Açıklama"_s, u"Marka"_s, u"Fiyat"_s}, priceRows))
            .run();
    }

    SqliteDatabase &m_db;
    const DemoOptions &m_options;
    DemoSummary m_summary;
    int m_extraDealers = 0;
    int m_documentNo = 5000;
};

} // namespace

DemoSummary createDemoDatabase(const QString &path, const DemoOptions &options)
{
    if (options.stockCount < 50 || options.stockCount > 2000000)
        throw StorageError(u"Stok sayısı 50 ile 2000000 arasında olmalıdır"_s);
    const QString part = path + u".part"_s;
    for (const QString &suffix : {QString(), u"-wal"_s, u"-shm"_s})
        QFile::remove(part + suffix);
    DemoSummary summary;
    {
        SqliteDatabase db(part, true);
        db.exec("PRAGMA journal_mode=DELETE");
        createSchema(db);
        DemoWriter writer(db, options);
        summary = writer.write();
    }
    if (!options.registerIdentity.isEmpty())
        bindIdentity(part, options.registerIdentity, options.registerAs.isEmpty() ? u"BAYI0"_s : options.registerAs);
    {
        SqliteDatabase db(part);
        db.exec("PRAGMA journal_mode=WAL");
    }
    for (const QString &suffix : {QString(), u"-wal"_s, u"-shm"_s})
        QFile::remove(path + suffix);
    if (!QFile::rename(part, path))
        throw StorageError(u"Veritabanı dosyası yazılamadı: "_s + path);
    summary.fileBytes = QFileInfo(path).size();
    return summary;
}

void bindIdentity(const QString &path, const QString &identity, const QString &userName)
{
    const QString id = identity.trimmed();
    if (id.isEmpty() || id.size() > limits::kIdentity)
        throw StorageError(u"Bilgisayar kimliği 1 ile %1 karakter arasında olmalıdır"_s.arg(limits::kIdentity));
    SqliteDatabase db(path);
    checkSchema(db);
    SqliteTransaction t(db);
    auto &user = db.prepare("SELECT sirano FROM kullanici WHERE adi = ?1");
    user.bind(1, userName);
    if (!user.step()) {
        user.reset();
        throw StorageError(u"Kullanıcı bulunamadı: "_s + userName);
    }
    const int sirano = user.int32(0);
    user.reset();
    db.prepare("INSERT INTO bilgisayar (kimlik, kullanici) VALUES (?1, ?2) "
               "ON CONFLICT (kimlik) DO UPDATE SET kullanici = excluded.kullanici")
        .bindAll(id, sirano)
        .run();
    t.commit();
}

} // namespace morvex::server
