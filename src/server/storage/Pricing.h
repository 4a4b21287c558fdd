#pragma once

#include <QString>
#include <QStringView>

namespace morvex::server {

// Amounts of one basket or order line, each rounded to kuruş (halves away from zero).
struct LineAmounts
{
    double tutar = 0;         // quantity x unit price
    double indirimTutar = 0;  // discount on tutar
    double netTutar = 0;      // tutar - discount
    double netBirimFiyat = 0; // unit price after discount
    double vergiTutari = 0;   // VAT on netTutar
    double kdvliTutar = 0;    // netTutar + VAT
};

LineAmounts lineAmounts(double miktar, double birimFiyat, double indirimOrani, double kdvOrani);

// What an account pays for a stock item: campaign items at the campaign price without a further
// discount (never for customer type 4, which sees no campaigns), others at the unit price less
// the account's discount.
struct AccountPrice
{
    double fiyat = 0;
    double indirim = 0;
    double netFiyat = 0;
    double kdvDahil = 0;
    double eskiFiyat = 0;
    int kampanyali = 0;
};

AccountPrice accountPrice(double stokFiyat, bool kampanyali, double kampanyaFiyati, double indirim, int kdv,
                          int musteriTipi);

// Search text in the catalogue's form: Turkish letters folded to their base capitals (as the
// client's search box maps them), every other character upper-cased, punctuation to blanks.
QString searchKey(QStringView text);
// The same with every blank removed, so that codes match with or without their spaces.
QString compactKey(QStringView text);

} // namespace morvex::server
