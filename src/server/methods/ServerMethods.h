#pragma once

#include "core/remote/TServerMethods1.h"
#include "server/storage/StoragePool.h"

namespace morvex::server {

// TServerMethods1 of the reference server: one instance per call, holding a database session
// leased from the pool for the call's length. Refused input raises (the client receives the
// message as an error reply) and stores nothing.
class ServerMethods final : public TServerMethods1
{
public:
    explicit ServerMethods(StoragePool &pool);

    std::unique_ptr<TSonucBilgisi> BuyukGetir(const QString &idsi) override;
    RecordSet StokAraOrvex(const QString &kod, std::unique_ptr<TSonucBilgisi> bilgi) override;
    RecordSet OrvexdeAra(const QString &s) override;
    RecordSet OrvexYenilerVer(qint32 carino) override;
    RecordSet OrvexKampanyaliVer(qint32 cario, qint32 satici) override;
    std::unique_ptr<WireStream> ResimVer5(qint32 stokno, qint64 &boy) override;
    RecordSet StokAra(const QString &kod, const QString &carino, qint32 satici) override;
    RecordSet StokAraTelvo(const QString &kod, std::unique_ptr<TSonucBilgisi> bilgi) override;
    RecordSet Dravik(const QString &kod, std::unique_ptr<TSonucBilgisi> bilgi) override;
    std::unique_ptr<TMobilStoklar> MobilStokara(const QString &kod, std::unique_ptr<TSonucBilgisi> bilgi, qint32 neresi, qint32 nekadar) override;
    std::unique_ptr<TMobilStok> MobilStokNoAra(qint32 stokno, std::unique_ptr<TSonucBilgisi> bilgi) override;
    qint32 MobilStokaraGeri(const QString &kod, std::unique_ptr<TSonucBilgisi> bilgi, qint32 neresi, qint32 nekadar, RemoteCallback geri) override;
    std::unique_ptr<TMobilStoklar> MobilStokaraAdimli(const QString &kod, std::unique_ptr<TSonucBilgisi> bilgi, qint32 neresi, qint32 nekadar, qint32 ilk, qint32 Adet, bool &kalan, qint32 &toplam) override;
    RecordSet YenilerVer(qint32 carino) override;
    RecordSet YenilerVerMobile(qint32 carino) override;
    RecordSet KampanyaliVer(qint32 cario, qint32 satici) override;
    RecordSet KampanyaliVermMobil(qint32 cario, qint32 satici) override;
    QJsonArray ResimVer6(qint32 stokno, qint64 &boy) override;
    QString BuyukResimVer(qint32 stokno, qint32 &boy) override;
    std::unique_ptr<WireStream> HttpResimVer(qint32 stokno) override;
    QString KucukResimVer(qint32 stokno) override;
    RecordSet DepartmanlariGetir() override;
    QString EchoString(const QString &Value) override;
    QString ReverseString(const QString &Value) override;
    void DSServerModuleCreate(std::unique_ptr<TransferObject> Sender) override;
    RecordSet SepetVer(qint32 carino) override;
    qint32 SepetEkle(std::unique_ptr<TSonucBilgisi> bilgim, qint32 carino, qint32 stokno, const QString &barkod, const QString &stokadi, double miktar, double kdv, double fiyat, double indirim, qint32 verenid, qint32 k) override;
    qint32 SepetGuncelle(std::unique_ptr<TSonucBilgisi> bilgim, qint32 carino, qint32 stokno, const QString &barkod, const QString &stokadi, double miktar, double kdv, double fiyat, double indirim, qint32 verenid, qint32 _sepetsirano) override;
    qint32 SepetSatirSil(std::unique_ptr<TSonucBilgisi> bilgi, qint32 satirno, const QString &aciklamam) override;
    qint32 SepetHepsiniSil(std::unique_ptr<TSonucBilgisi> bilgi) override;
    RecordSet TeslimVer() override;
    RecordSet KargoVer() override;
    RecordSet KargolarVer(qint32 gn) override;
    bool SiparisKaydet(std::unique_ptr<TSonucBilgisi> BB, qint32 _carino, qint32 _teslim, qint32 _kargo, const QString &_aciklama, qint32 _verenid, qint32 _kargoyeni) override;
    RecordSet OncekiSiparisler2(qint32 carino) override;
    RecordSet SiparisAyrintisi(qint32 carino, qint32 idnosu) override;
    std::unique_ptr<TSiparisDipAyrinti> SiparisAytintisiDip(qint32 carino, qint32 siranosu) override;
    RecordSet TumSiparislerVer(qint32 carino, qint32 stokno) override;
    RecordSet CariEkstreVer(qint32 carino) override;
    RecordSet FaturaGetir(qint32 carino, qint32 idnosu) override;
    RecordSet FaturaAltGetir(qint32 idnosu) override;
    RecordSet Tahsilat(qint32 idnosu) override;
    RecordSet BakiyelerVer(qint32 carino) override;
    qint32 BakiyeDuzenle(std::unique_ptr<TSonucBilgisi> k, qint32 stokno, qint32 sepetsirano, qint32 siparissirano, double Adet, double Bakiye, const QString &barkod) override;
    qint32 BakiyeDegistir(std::unique_ptr<TSonucBilgisi> k, qint32 stokno, qint32 sepetsirano, qint32 siparissirano, double Adet, double Bakiye, const QString &barkod) override;
    qint32 BakiyeFiyatDegistir(std::unique_ptr<TSonucBilgisi> k, qint32 stokno, qint32 sepetsirano, qint32 siparissirano, double Adet, double Bakiye, const QString &barkod, double fiyat, double ind) override;
    QString CariDurumVer(qint32 carino) override;
    qint32 SepetSayisi(std::unique_ptr<TSonucBilgisi> bil) override;
    RecordSet CariSepetVer(std::unique_ptr<TSonucBilgisi> bil, qint32 n) override;
    void SepetSecimGuncelle(qint32 sirano, qint32 secim) override;
    std::unique_ptr<TMobilSepetler> SepetMobilVer(qint32 carino) override;
    qint32 MobilSiparisKaydet(qint32 idnosu) override;
    RecordSet OncekiSiparisler(qint32 carino) override;
    RecordSet Oncekiler(qint32 carino) override;
    RecordSet CariEkstreVer2(qint32 carino, double TARIH1, double TARIH2) override;
    RecordSet CariEkstreVer2Baslik(qint32 carino, double tarih1) override;
    QString KayanYaziGetir() override;
    std::unique_ptr<WireStream> BannerResimVer(qint64 &size) override;
    qint32 KurlariAl(double &usd, double &eur) override;
    RecordSet BalonGetir(std::unique_ptr<TSonucBilgisi> bil) override;
    qint32 AcilisReklamAdet() override;
    std::unique_ptr<TAcilisEkran> AcilisREklamVer(qint32 sira) override;
    std::unique_ptr<TAcilisEkranlar> AcilisEkranlarVer() override;
    RecordSet DosyaListesi2() override;
    std::unique_ptr<WireStream> BelgeIndir(qint32 sirano, qint64 &size, QString &adi) override;
    std::unique_ptr<TMobilCariBilgisi> MobilCariBilgisiGetir(qint32 sirano, const QString &_idsi) override;
    qint32 MailGonserCari(const QString &idsi, const QString &baslik, const QString &firmaadi, const QString &adres1, const QString &adres2, const QString &ilce, const QString &sehir, const QString &telefon, const QString &fax, const QString &vd, const QString &vn, const QString &yetkili, const QString &kullaniciadi, const QString &sifre, const QString &mail, const QString &kargoambar) override;
    qint32 MailGonserCariNormal(const QString &idsi, const QString &baslik, const QString &firmaadi, const QString &adres1, const QString &adres2, const QString &ilce, const QString &sehir, const QString &telefon, const QString &fax, const QString &vd, const QString &vn, const QString &yetkili, const QString &kullaniciadi, const QString &sifre, const QString &mail, const QString &kargoambar, const QString &konu) override;
    RecordSet CariAra(std::unique_ptr<TSonucBilgisi> bil, const QString &aranan) override;
    std::unique_ptr<TTusSonuclari> TusSonuclariVer(std::unique_ptr<TSonucBilgisi> bil) override;
    std::unique_ptr<WireStream> RaporGetir(qint32 raporno, qint32 bolum, qint32 idno, qint32 carino, const QString &saticiadi, double tarih1, double tarih2, qint64 &size) override;
    RecordSet DuyuruVer() override;
    RecordSet DuyuruVer2() override;
    qint32 BalonGetir2(qint32 carino, qint32 &sepet, qint32 &yenistok, qint32 &kampnayali, qint32 &duyuru, qint32 &Bakiye, qint32 &dosya) override;
    std::unique_ptr<TAcilisEkranlariki> AcilisEkranlarVer2() override;
    RecordSet AcilisEkranlariVerData() override;
    RecordSet DosyaListesi() override;
    std::unique_ptr<WireStream> DosyaIndir(qint64 &size) override;
    std::unique_ptr<WireStream> BelgeIndir2(qint32 sirano, qint64 &size, QString &adi, std::unique_ptr<TSonucBilgisi> bilgi) override;
    bool SifremiUnuttum(const QString &idsi, qint32 &mailvarmi) override;
    void CikisGonder(std::unique_ptr<TSonucBilgisi> bilgi) override;
    RecordSet RaporAlinanSiparisler(std::unique_ptr<TSonucBilgisi> bilgi, double tarih1, double tarih2) override;
    RecordSet RaporEnCokSatilanStoklar(std::unique_ptr<TSonucBilgisi> bilgi, double tarih1, double tarih2) override;
    std::unique_ptr<WireStream> YedekDunyasiVer() override;

private:
    Storage &db() { return *m_storage; }

    StoragePool::Lease m_storage;
};

} // namespace morvex::server
