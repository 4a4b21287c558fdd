#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>

#include <optional>
#include <stdexcept>

namespace morvex::server {

// Raised by storage for input it refuses (the message is for the client, in Turkish) and for
// database failures. Nothing of a refused change is stored.
class StorageError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
    explicit StorageError(const QString &message) : std::runtime_error(message.toStdString()) {}
};

// Order states as stored; the staff window asks for accounts by state + 1 (1 is the basket).
enum class OrderState { Received = 1, Approved = 2, Seen = 3, PartlyPrepared = 4, Prepared = 5, Shipped = 6 };
QString orderStateText(int state);

// A login: the user bound to a computer identity, with the account it belongs to.
struct UserAccount
{
    int sirano = 0;
    int carino = 0;
    QString adi;
    QString sifre;
    int aktif = 0;
    int musteriTipi = 0;
    int version = 0;
    QString mail;
    QString cariKod;
    QString cariAdi;
    int saticiNo = 0;
    QString saticiAdi;
    QString saticiTelefon;
    QString saticiMail;
};

// Staff: customer types 1 and 2, or an account code containing "BDM" (case-sensitive).
bool isStaff(int musteriTipi, const QString &cariKod);

struct AccountDetails
{
    int carino = 0;
    QString identity;
    QString cariKod, cariAdi, yetkili, ozelKod, anaGrup, altGrup;
    QString adres1, adres2, ilce, sehir, ulke;
    QString vergiDairesi, vergiNo, tel1, tel2, fax1, fax2, gsm, email, mail;
    QString kullaniciAdi, sifre;
    QString saticiAdi, saticiTelefon, saticiMail;
    double borc = 0, alacak = 0;
};

struct BasketAdd
{
    int carino = 0;
    int stokno = 0;
    double miktar = 0;
    // Staff may set the price and discount; for everyone else the server prices the line.
    bool staffPricing = false;
    double fiyat = 0;
    double indirim = 0;
    int verenSirano = 0;
    QString veren;
};

struct BasketChange
{
    int carino = 0;
    int sirano = 0;
    double miktar = 0;
    bool staffPricing = false;
    double fiyat = 0;
    double indirim = 0;
};

struct OrderRequest
{
    int carino = 0;
    int teslimId = 0;
    int kargoTurId = 0;
    int kargoFirmaId = 0;
    QString aciklama;
    int verenSirano = 0;
    QString veren;
};

struct OrderFooter
{
    QString sizinMesaj, durumu, veren, kargo, bizimMesaj, teslimCinsi, kargoCinsi, saticiNotu;
};

struct OrderStateCounts
{
    int alindi = 0, onaylandi = 0, goruldu = 0, parcaliHazirlandi = 0, hazirlandi = 0, sevkEdildi = 0;
};

// The open balance of one order line, addressed by its order-movement number; the account
// must own the line.
struct BalanceChange
{
    int carino = 0;
    int stokharNo = 0;
    double bakiye = 0;
    double fiyat = 0;
    double indirim = 0;
};

struct ExchangeRates
{
    double usd = 1.0;
    double eur = 1.0;
};

struct OpeningScreen
{
    int siraNo = 0;
    QString baslik;
    QString arama;
    QByteArray resim;
};

struct StoredDocument
{
    QString fileName;
    QByteArray content;
};

struct MailRequest
{
    QString method;
    QString idsi, baslik, firmaadi, adres1, adres2, ilce, sehir, telefon, fax, vd, vn, yetkili, kullaniciadi,
        sifre, mail, kargoambar, konu;
};

struct StoredMail
{
    int sirano = 0;
    QString zaman;
    MailRequest request;
};

} // namespace morvex::server
