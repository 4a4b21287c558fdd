#include "server/storage/Schema.h"

#include "server/storage/SqliteDatabase.h"
#include "server/storage/StorageTypes.h"

using namespace Qt::StringLiterals;

namespace morvex::server {

namespace {

const char *const kSchema = R"SQL(
CREATE TABLE ayar (anahtar TEXT PRIMARY KEY, metin TEXT NOT NULL DEFAULT '', veri BLOB);
CREATE TABLE satici (
  saticino INTEGER PRIMARY KEY, adi TEXT NOT NULL, telefon TEXT NOT NULL DEFAULT '', mail TEXT NOT NULL DEFAULT '');
CREATE TABLE cari (
  carino INTEGER PRIMARY KEY, carikod TEXT NOT NULL UNIQUE, cariadi TEXT NOT NULL,
  musteritipi INTEGER NOT NULL DEFAULT 0, saticino INTEGER REFERENCES satici,
  yetkili TEXT NOT NULL DEFAULT '', ozelkod TEXT NOT NULL DEFAULT '', anagrup TEXT NOT NULL DEFAULT '',
  altgrup TEXT NOT NULL DEFAULT '', adres1 TEXT NOT NULL DEFAULT '', adres2 TEXT NOT NULL DEFAULT '',
  ilce TEXT NOT NULL DEFAULT '', il TEXT NOT NULL DEFAULT '', ulke TEXT NOT NULL DEFAULT 'TÜRKİYE',
  vergidairesi TEXT NOT NULL DEFAULT '', vergino TEXT NOT NULL DEFAULT '', tel1 TEXT NOT NULL DEFAULT '',
  tel2 TEXT NOT NULL DEFAULT '', fax1 TEXT NOT NULL DEFAULT '', fax2 TEXT NOT NULL DEFAULT '',
  gsm TEXT NOT NULL DEFAULT '', email TEXT NOT NULL DEFAULT '', kod1 TEXT NOT NULL DEFAULT '',
  kod2 TEXT NOT NULL DEFAULT '', kod3 TEXT NOT NULL DEFAULT '', kod4 TEXT NOT NULL DEFAULT '',
  kod5 TEXT NOT NULL DEFAULT '', indirim REAL NOT NULL DEFAULT 0, vade INTEGER NOT NULL DEFAULT 30,
  vadekontrolgun INTEGER NOT NULL DEFAULT 0, vadekontrolay INTEGER NOT NULL DEFAULT 0);
CREATE TABLE kullanici (
  sirano INTEGER PRIMARY KEY, carino INTEGER NOT NULL REFERENCES cari, adi TEXT NOT NULL UNIQUE,
  sifre TEXT NOT NULL, aktif INTEGER NOT NULL DEFAULT 1, musteritipi INTEGER NOT NULL DEFAULT 0,
  surum INTEGER NOT NULL DEFAULT 15, mail TEXT NOT NULL DEFAULT '');
CREATE TABLE bilgisayar (
  kimlik TEXT PRIMARY KEY CHECK (length(kimlik) BETWEEN 1 AND 64),
  kullanici INTEGER NOT NULL REFERENCES kullanici);
CREATE TABLE iskonto (
  carino INTEGER NOT NULL REFERENCES cari, marka TEXT NOT NULL, oran REAL NOT NULL,
  PRIMARY KEY (carino, marka)) WITHOUT ROWID;
CREATE TABLE resim (resimno INTEGER PRIMARY KEY, jpeg BLOB NOT NULL);
CREATE TABLE stok (
  stokno INTEGER PRIMARY KEY, kod TEXT NOT NULL, barkod TEXT NOT NULL DEFAULT '', barkodno INTEGER NOT NULL DEFAULT 0,
  adi TEXT NOT NULL, digeradi TEXT NOT NULL DEFAULT '', oem1 TEXT NOT NULL DEFAULT '', oem2 TEXT NOT NULL DEFAULT '',
  oem3 TEXT NOT NULL DEFAULT '', oem4 TEXT NOT NULL DEFAULT '', oemno TEXT NOT NULL DEFAULT '',
  ureticikodu TEXT NOT NULL DEFAULT '', dpkod TEXT NOT NULL DEFAULT '', pkod TEXT NOT NULL DEFAULT '',
  birim TEXT NOT NULL DEFAULT 'ADET', marka TEXT NOT NULL DEFAULT '', model TEXT NOT NULL DEFAULT '',
  anagrup TEXT NOT NULL DEFAULT '', altgrup TEXT NOT NULL DEFAULT '', ozelkod TEXT NOT NULL DEFAULT '',
  departman TEXT NOT NULL DEFAULT '', renk TEXT NOT NULL DEFAULT '', beden TEXT NOT NULL DEFAULT '',
  kdv INTEGER NOT NULL DEFAULT 18, listefiyati REAL NOT NULL DEFAULT 0, fiyat REAL NOT NULL DEFAULT 0,
  maliyet TEXT NOT NULL DEFAULT '', durum INTEGER NOT NULL DEFAULT 1 CHECK (durum BETWEEN 0 AND 5),
  yeni INTEGER NOT NULL DEFAULT 0, kampanyali INTEGER NOT NULL DEFAULT 0, kampanyafiyati REAL NOT NULL DEFAULT 0,
  kalan REAL NOT NULL DEFAULT 0, alinansiparis REAL NOT NULL DEFAULT 0, verilensiparis REAL NOT NULL DEFAULT 0,
  resimno INTEGER REFERENCES resim, arama TEXT NOT NULL);
-- Stock searches scan this in code order: no sort of the matches, and the search text is
-- tested without reading the row.
CREATE INDEX stok_kod ON stok (kod, arama);
CREATE INDEX stok_yeni ON stok (yeni) WHERE yeni <> 0;
CREATE INDEX stok_kampanyali ON stok (kampanyali) WHERE kampanyali <> 0;
CREATE TABLE orjinal (sirano INTEGER PRIMARY KEY, kod TEXT NOT NULL, aciklama TEXT NOT NULL,
  kdvharic REAL NOT NULL, kdvdahil REAL NOT NULL, arama TEXT NOT NULL);
CREATE TABLE departman (id INTEGER PRIMARY KEY, adi TEXT NOT NULL);
CREATE TABLE teslim (id INTEGER PRIMARY KEY, adi TEXT NOT NULL);
CREATE TABLE kargoturu (id INTEGER PRIMARY KEY, adi TEXT NOT NULL);
CREATE TABLE kargofirma (
  sirano INTEGER PRIMARY KEY, turid INTEGER NOT NULL REFERENCES kargoturu, adi TEXT NOT NULL,
  uyari TEXT NOT NULL DEFAULT '');
CREATE TABLE sepet (
  sirano INTEGER PRIMARY KEY, carino INTEGER NOT NULL REFERENCES cari, stokno INTEGER NOT NULL REFERENCES stok,
  barkod TEXT NOT NULL, stokadi TEXT NOT NULL, miktar REAL NOT NULL CHECK (miktar > 0), kdv REAL NOT NULL,
  birimfiyat REAL NOT NULL CHECK (birimfiyat >= 0), ilkfiyat REAL NOT NULL,
  indirimorani1 REAL NOT NULL DEFAULT 0 CHECK (indirimorani1 BETWEEN 0 AND 100),
  indirimorani2 REAL NOT NULL DEFAULT 0, indirimorani3 REAL NOT NULL DEFAULT 0,
  tutar REAL NOT NULL, indirimtutar REAL NOT NULL, nettutar REAL NOT NULL, netbirimfiyat REAL NOT NULL,
  vergitutari REAL NOT NULL, kdvlitutar REAL NOT NULL, sec INTEGER NOT NULL DEFAULT 1,
  tarih TEXT NOT NULL, saat TEXT NOT NULL, verenidno INTEGER NOT NULL, veren TEXT NOT NULL,
  kampanyali INTEGER NOT NULL DEFAULT 0, kur TEXT NOT NULL DEFAULT 'TL', kurtl REAL NOT NULL DEFAULT 1,
  UNIQUE (carino, stokno));
CREATE TABLE siparis (
  idno INTEGER PRIMARY KEY, carino INTEGER NOT NULL REFERENCES cari, tarih TEXT NOT NULL, saat TEXT NOT NULL,
  durum INTEGER NOT NULL CHECK (durum BETWEEN 1 AND 6), teslimid INTEGER REFERENCES teslim,
  kargoturid INTEGER REFERENCES kargoturu, kargofirmaid INTEGER REFERENCES kargofirma,
  veren TEXT NOT NULL, verenidno INTEGER NOT NULL, verenin_notu TEXT NOT NULL DEFAULT '',
  alan_notu TEXT NOT NULL DEFAULT '', satici_notu TEXT NOT NULL DEFAULT '', kur TEXT NOT NULL DEFAULT 'TL',
  kurtl REAL NOT NULL DEFAULT 1);
CREATE INDEX siparis_cari ON siparis (carino, idno);
CREATE INDEX siparis_durum ON siparis (durum, carino);
CREATE TABLE siparis_satir (
  stokhar_no INTEGER PRIMARY KEY, idno INTEGER NOT NULL REFERENCES siparis, sepetsirano INTEGER NOT NULL,
  carino INTEGER NOT NULL REFERENCES cari, stokno INTEGER NOT NULL REFERENCES stok, barkod TEXT NOT NULL,
  stokadi TEXT NOT NULL, miktar REAL NOT NULL, kdv REAL NOT NULL, birimfiyat REAL NOT NULL, ilkfiyat REAL NOT NULL,
  indirimorani1 REAL NOT NULL DEFAULT 0, indirimorani2 REAL NOT NULL DEFAULT 0,
  indirimorani3 REAL NOT NULL DEFAULT 0, tutar REAL NOT NULL, indirimtutar REAL NOT NULL,
  nettutar REAL NOT NULL, netbirimfiyat REAL NOT NULL, vergitutari REAL NOT NULL, kdvlitutar REAL NOT NULL,
  teslimedilen REAL NOT NULL DEFAULT 0, kalan REAL NOT NULL CHECK (kalan >= 0), iptal REAL NOT NULL DEFAULT 0,
  tarih TEXT NOT NULL, saat TEXT NOT NULL, verenidno INTEGER NOT NULL, veren TEXT NOT NULL,
  kur TEXT NOT NULL DEFAULT 'TL', kurtl REAL NOT NULL DEFAULT 1);
CREATE INDEX siparis_satir_siparis ON siparis_satir (idno);
CREATE INDEX siparis_satir_cari ON siparis_satir (carino, stokno);
CREATE TABLE cari_hareket (
  sirano INTEGER PRIMARY KEY, carino INTEGER NOT NULL REFERENCES cari, tarih TEXT NOT NULL, turadi TEXT NOT NULL,
  evrak TEXT NOT NULL, borc REAL NOT NULL DEFAULT 0, alacak REAL NOT NULL DEFAULT 0, kur TEXT NOT NULL DEFAULT 'TL',
  aciklama TEXT NOT NULL DEFAULT '', idno INTEGER NOT NULL DEFAULT 0);
CREATE INDEX cari_hareket_cari ON cari_hareket (carino, tarih);
CREATE TABLE fatura (
  idno INTEGER PRIMARY KEY, carino INTEGER NOT NULL REFERENCES cari, evrakno TEXT NOT NULL, tarih TEXT NOT NULL,
  saat TEXT NOT NULL, hareket_tipi TEXT NOT NULL, saticiadi TEXT NOT NULL DEFAULT '', vade INTEGER NOT NULL DEFAULT 0,
  irsaliye_no TEXT NOT NULL DEFAULT '', irsaliye_tarihi TEXT, irsaliye_tipi TEXT NOT NULL DEFAULT '',
  siparis_evrakno TEXT NOT NULL DEFAULT '', siparis_tarihi TEXT);
CREATE TABLE fatura_satir (
  sirano INTEGER PRIMARY KEY, idno INTEGER NOT NULL REFERENCES fatura, stokno INTEGER NOT NULL REFERENCES stok,
  miktar REAL NOT NULL, birimfiyat REAL NOT NULL, indirim1 REAL NOT NULL DEFAULT 0, indirim2 REAL NOT NULL DEFAULT 0,
  kdv REAL NOT NULL, masraf REAL NOT NULL DEFAULT 0, aciklama TEXT NOT NULL DEFAULT '');
CREATE INDEX fatura_satir_fatura ON fatura_satir (idno);
CREATE TABLE tahsilat (
  sirano INTEGER PRIMARY KEY, idno INTEGER NOT NULL, carino INTEGER NOT NULL REFERENCES cari, tarih TEXT NOT NULL,
  turu TEXT NOT NULL, cins TEXT NOT NULL, evrakno TEXT NOT NULL, vade TEXT, tutar REAL NOT NULL,
  kur TEXT NOT NULL DEFAULT 'TL', kurtl REAL NOT NULL DEFAULT 1, aciklama TEXT NOT NULL DEFAULT '',
  doviztutar REAL NOT NULL DEFAULT 0, ref TEXT NOT NULL DEFAULT '', saat TEXT NOT NULL DEFAULT '');
CREATE INDEX tahsilat_belge ON tahsilat (idno);
CREATE TABLE dosya (sirano INTEGER PRIMARY KEY, aciklama TEXT NOT NULL, dosyayol TEXT NOT NULL, icerik BLOB NOT NULL);
CREATE TABLE acilis_ekran (
  sirano INTEGER PRIMARY KEY, tur TEXT NOT NULL CHECK (tur IN ('reklam', 'duyuru')), sira INTEGER NOT NULL,
  baslik TEXT NOT NULL, arama TEXT NOT NULL DEFAULT '', resim BLOB);
CREATE TABLE kur (kod TEXT PRIMARY KEY, deger REAL NOT NULL CHECK (deger > 0));
CREATE TABLE mail_kutusu (
  sirano INTEGER PRIMARY KEY, zaman TEXT NOT NULL, yontem TEXT NOT NULL, durum TEXT NOT NULL DEFAULT 'bekliyor',
  idsi TEXT NOT NULL, baslik TEXT NOT NULL, firmaadi TEXT NOT NULL, adres1 TEXT NOT NULL, adres2 TEXT NOT NULL,
  ilce TEXT NOT NULL, sehir TEXT NOT NULL, telefon TEXT NOT NULL, fax TEXT NOT NULL, vd TEXT NOT NULL,
  vn TEXT NOT NULL, yetkili TEXT NOT NULL, kullaniciadi TEXT NOT NULL, sifre TEXT NOT NULL, mail TEXT NOT NULL,
  kargoambar TEXT NOT NULL, konu TEXT NOT NULL);
CREATE TABLE olay (sirano INTEGER PRIMARY KEY, zaman TEXT NOT NULL, kullanici INTEGER NOT NULL, olay TEXT NOT NULL);
)SQL";

} // namespace

void createSchema(SqliteDatabase &db)
{
    SqliteTransaction transaction(db);
    db.exec(kSchema);
    db.exec("PRAGMA user_version = 1");
    transaction.commit();
}

void checkSchema(SqliteDatabase &db)
{
    SqliteStatement &version = db.prepare("PRAGMA user_version");
    const int found = version.step() ? version.int32(0) : 0;
    version.reset();
    if (found != kSchemaVersion)
        throw StorageError(u"Veritabanı bu sunucunun değil (şema sürümü %1, beklenen %2); --init-demo ile oluşturun"_s
                               .arg(found)
                               .arg(kSchemaVersion));
}

} // namespace morvex::server
