#include "server/methods/Conversions.h"

#include <cmath>

using namespace Qt::StringLiterals;

namespace morvex::server {

namespace {

const QDate kDayZero(1899, 12, 30);

int col(const RecordSet &set, QStringView name)
{
    return set.fieldIndex(name);
}

QString text(const RecordSet &set, int row, QStringView name)
{
    const int c = col(set, name);
    return c < 0 ? QString() : set.text(row, c);
}

double real(const RecordSet &set, int row, QStringView name)
{
    const int c = col(set, name);
    return c < 0 ? 0.0 : set.value(row, c).toDouble();
}

int integer(const RecordSet &set, int row, QStringView name)
{
    const int c = col(set, name);
    return c < 0 ? 0 : set.value(row, c).toInt();
}

} // namespace

TSonucBilgisi sessionFor(const QString &identity, const std::optional<UserAccount> &user)
{
    TSonucBilgisi s;
    s.setBILGISAYARID(identity);
    if (!user) {
        s.setVarmi(false);
        s.setMusteriTipi(0);
        s.setVersion(kExpectedClientVersion);
        return s;
    }
    s.setSaticiMail(user->saticiMail);
    s.setSirano(user->sirano);
    s.setCariAdi(user->cariAdi);
    s.setSIFRE(user->sifre);
    s.setSaticiNo(user->saticiNo);
    s.setCARINO(user->carino);
    s.setAKTIF(user->aktif);
    s.setKullanicimail(user->mail);
    s.setADI(user->adi);
    s.setSaticiTelefon(user->saticiTelefon);
    s.setcarikod(user->cariKod);
    s.setVarmi(true);
    s.setSaticiAdi(user->saticiAdi);
    s.setMusteriTipi(user->musteriTipi);
    s.setVersion(user->version);
    return s;
}

TMobilStok mobileStock(const RecordSet &stock, int row)
{
    TMobilStok m;
    m.setStokNo(integer(stock, row, u"STOK_STOKNO"));
    m.setYeni(integer(stock, row, u"Y"));
    m.setDurum(integer(stock, row, u"DURUM"));
    m.setBirim(text(stock, row, u"BIRIM"));
    m.setKDV(real(stock, row, u"KDV"));
    m.setAlinanSiparis(real(stock, row, u"ALINANSIPARIS"));
    m.setVerilenSiparis(real(stock, row, u"VERILENSIPARIS"));
    m.setAnaGrup(text(stock, row, u"ANAGRUP"));
    m.setKod(text(stock, row, u"FINISHKOD"));
    m.setListeFiyati(real(stock, row, u"LISTEFIYATI"));
    m.setNetFiyat(real(stock, row, u"NETFIYAT"));
    m.setIsk1(real(stock, row, u"INDIRIM"));
    m.setKDVliFiyat(real(stock, row, u"KDVDAHIL"));
    m.setOzelKod(text(stock, row, u"OZELKOD"));
    m.setKampnayali(integer(stock, row, u"K"));
    m.setBarkod(text(stock, row, u"BARKOD"));
    m.setIndirimOran(real(stock, row, u"INDIRIM"));
    m.setKalan(real(stock, row, u"KALAN"));
    m.setUreticiKod(text(stock, row, u"URETICIKODU"));
    m.setKampanyaliFiyat(integer(stock, row, u"K") ? real(stock, row, u"FIYAT") : 0.0);
    m.setOemNo(text(stock, row, u"OEMNO"));
    m.setBarkodNo(integer(stock, row, u"BARKOD_BARKODNO"));
    m.setPKod(text(stock, row, u"PKOD"));
    m.setDpKod(text(stock, row, u"DPKOD"));
    m.setAdi(text(stock, row, u"ADI"));
    m.setFiyat(real(stock, row, u"FIYAT"));
    return m;
}

TMobilSepet mobileBasketLine(const RecordSet &basket, int row)
{
    TMobilSepet m;
    m.setKARGOID(integer(basket, row, u"KARGOID"));
    m.setStokNo(integer(basket, row, u"STOKNO"));
    const int tarih = col(basket, u"TARIH");
    if (tarih >= 0) {
        m.setTARIH(daysFromDateTime(basket.dateTime(row, tarih)));
        m.setVERILISTARIHI(daysFromDateTime(basket.dateTime(row, tarih)));
    }
    m.setSIRANO(integer(basket, row, u"SIRANO"));
    m.setCARIADI(text(basket, row, u"CARIADI"));
    m.setDurum(integer(basket, row, u"DURUM"));
    m.setMIKTAR(real(basket, row, u"MIKTAR"));
    m.setVERENIDNO(integer(basket, row, u"VERENIDNO"));
    m.setNETTUTAR(real(basket, row, u"NETTUTAR"));
    m.setKDVLITUTAR(real(basket, row, u"KDVLITUTAR"));
    m.setKDV(real(basket, row, u"KDV"));
    m.setSAAT(text(basket, row, u"SAAT"));
    m.setVERGITUTARI(real(basket, row, u"VERGITUTARI"));
    m.setPKod(text(basket, row, u"PKOD"));
    m.setMODEL(text(basket, row, u"MODEL"));
    m.setINDIRIMTUTAR(real(basket, row, u"INDIRIMTUTAR"));
    m.setSTOK_STOKNO(integer(basket, row, u"STOK_STOKNO"));
    m.setBIRIMFIYAT(real(basket, row, u"BIRIMFIYAT"));
    m.setSEC(integer(basket, row, u"SEC"));
    m.setOEM1(text(basket, row, u"OEM1"));
    m.setOEM2(text(basket, row, u"OEM2"));
    m.setOEM3(text(basket, row, u"OEM3"));
    m.setOEM4(text(basket, row, u"OEM4"));
    m.setAnaGrup(text(basket, row, u"ANAGRUP"));
    m.setMARKA(text(basket, row, u"MARKA"));
    m.setVEREN(text(basket, row, u"VEREN"));
    m.setSTOKADI(text(basket, row, u"STOKADI"));
    m.setCARINO(integer(basket, row, u"CARINO"));
    m.setVERENSIRANO(integer(basket, row, u"VERENSIRANO"));
    m.setINDIRIMORANI1(real(basket, row, u"INDIRIMORANI1"));
    m.setINDIRIMORANI2(real(basket, row, u"INDIRIMORANI2"));
    m.setINDIRIMORANI3(real(basket, row, u"INDIRIMORANI3"));
    m.setKUR(text(basket, row, u"KUR"));
    m.setKURTL(real(basket, row, u"KURTL"));
    m.setIDNO(real(basket, row, u"IDNO"));
    m.setOzelKod(text(basket, row, u"OZELKOD"));
    m.setDpKod(text(basket, row, u"DPKOD"));
    m.setDIGERADI(text(basket, row, u"DIGERADI"));
    m.setBarkod(text(basket, row, u"BARKOD"));
    m.setTUTAR(real(basket, row, u"TUTAR"));
    m.setURETICIKODU(text(basket, row, u"URETICIKODU"));
    m.setKalan(real(basket, row, u"KALAN"));
    m.setFINISHKOD(text(basket, row, u"FINISHKOD"));
    m.setCARIKOD(text(basket, row, u"CARIKOD"));
    m.setNETBIRIMFIYAT(real(basket, row, u"NETBIRIMFIYAT"));
    m.setOemNo(text(basket, row, u"OEMNO"));
    return m;
}

TMobilCariBilgisi mobileAccount(const AccountDetails &a)
{
    TMobilCariBilgisi m;
    m.setBILGISAYARID(a.identity);
    m.setSEHIR(a.sehir);
    m.setFAX1(a.fax1);
    m.setSATICIMAIL(a.saticiMail);
    m.setSATICIADI(a.saticiAdi);
    m.setCARIADI(a.cariAdi);
    m.setEMAIL(a.email);
    m.setVERGIDAIRESI(a.vergiDairesi);
    m.setYETKILI(a.yetkili);
    m.setAltGrup(a.altGrup);
    m.setTEL2(a.tel2);
    m.setSIFRE(a.sifre);
    m.setGSM(a.gsm);
    m.setTEL1(a.tel1);
    m.setADRES2(a.adres2);
    m.setTLBORC(a.borc);
    m.setTLALACAK(a.alacak);
    m.setADRES1(a.adres1);
    m.setULKE(a.ulke);
    m.setAnaGrup(a.anaGrup);
    m.setCARINO(a.carino);
    m.setTLBAKIYE(a.borc - a.alacak);
    m.setVERGINO(a.vergiNo);
    m.setMAIL(a.mail);
    m.setOzelKod(a.ozelKod);
    m.setKULLANICIADI(a.kullaniciAdi);
    m.setSATICITELEFON(a.saticiTelefon);
    m.setCARIKOD(a.cariKod);
    m.setFAX2(a.fax2);
    m.setILCE(a.ilce);
    return m;
}

QString hexText(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.toHex().toUpper());
}

QDate dateFromDays(double days)
{
    if (!std::isfinite(days) || days < -657434 || days > 2958465)
        throw StorageError(u"Geçersiz tarih"_s);
    return kDayZero.addDays(qint64(std::floor(days)));
}

double daysFromDateTime(const QDateTime &value)
{
    if (!value.isValid())
        return 0;
    const QTime t = value.time();
    return double(kDayZero.daysTo(value.date())) + (t.msecsSinceStartOfDay() / 86400000.0);
}

} // namespace morvex::server
