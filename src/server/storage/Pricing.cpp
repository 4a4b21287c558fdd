#include "server/storage/Pricing.h"

#include "core/data/NumberFormat.h"

namespace morvex::server {

LineAmounts lineAmounts(double miktar, double birimFiyat, double indirimOrani, double kdvOrani)
{
    LineAmounts a;
    a.tutar = round2(miktar * birimFiyat);
    a.indirimTutar = round2(a.tutar * indirimOrani / 100.0);
    a.netTutar = round2(a.tutar - a.indirimTutar);
    a.netBirimFiyat = round2(birimFiyat - birimFiyat * indirimOrani / 100.0);
    a.vergiTutari = round2(a.netTutar * kdvOrani / 100.0);
    a.kdvliTutar = round2(a.netTutar + a.vergiTutari);
    return a;
}

AccountPrice accountPrice(double stokFiyat, bool kampanyali, double kampanyaFiyati, double indirim, int kdv,
                          int musteriTipi)
{
    AccountPrice p;
    p.eskiFiyat = stokFiyat;
    if (kampanyali && musteriTipi != 4 && kampanyaFiyati > 0) {
        p.kampanyali = 1;
        p.fiyat = kampanyaFiyati;
        p.indirim = 0;
    } else {
        p.fiyat = stokFiyat;
        p.indirim = indirim;
    }
    p.netFiyat = round2(p.fiyat - p.fiyat * p.indirim / 100.0);
    p.kdvDahil = round2(p.netFiyat * (1.0 + kdv / 100.0));
    return p;
}

QString searchKey(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (QChar qc : text) {
        char16_t c = qc.unicode();
        switch (c) {
        case u'\u00E7': case u'\u00C7': c = u'C'; break;
        case u'\u011F': case u'\u011E': c = u'G'; break;
        case u'\u0131': case u'\u0130': case u'i': c = u'I'; break;
        case u'\u00F6': case u'\u00D6': c = u'O'; break;
        case u'\u015F': case u'\u015E': c = u'S'; break;
        case u'\u00FC': case u'\u00DC': c = u'U'; break;
        default:
            if (QChar(c).isLetterOrNumber())
                c = QChar(c).toUpper().unicode();
            else
                c = u' ';
        }
        out.append(QChar(c));
    }
    return out.simplified();
}

QString compactKey(QStringView text)
{
    QString key = searchKey(text);
    key.remove(QChar(u' '));
    return key;
}

} // namespace morvex::server
