#pragma once

#include <QString>

// Every text the grid itself shows, in one place.
namespace morvex::gridtexts {

using namespace Qt::StringLiterals;

inline QString stockStatus(int value)
{
    switch (value) {
    case 0:
        return u"Yok"_s;
    case 1:
        return u"Var"_s;
    case 2:
        return u"Telefon Açınız"_s;
    case 3:
        return u"Yolda"_s;
    case 4:
        return u"Özel Sipariş"_s;
    case 5:
        return u"Tedarik Sürecinde"_s;
    default:
        return {};
    }
}

inline QString yes()
{
    return u"Evet"_s;
}
inline QString no()
{
    return u"Hayır"_s;
}

inline QString filterAll()
{
    return u"(Tümü)"_s;
}
inline QString filterBlanks()
{
    return u"(Boş)"_s;
}
inline QString columnChooserTitle()
{
    return u"Sütun Seçimi"_s;
}
inline QString columnChooserMenuItem()
{
    return u"Sütunları Seç..."_s;
}
inline QString clearFiltersMenuItem()
{
    return u"Filtreleri Temizle"_s;
}

inline QString excelDialogTitle()
{
    return u"Excel Kaydet"_s;
}
inline QString excelFilter()
{
    return u"Excel (*.xls*)"_s;
}
inline QString excelSheetName()
{
    return u"Sayfa1"_s;
}
inline QString exportErrorTitle()
{
    return u"Hata"_s;
}
inline QString exportFailed(const QString &path, const QString &reason)
{
    return u"Dosya kaydedilemedi: "_s + path + u"\r\n"_s + reason;
}

} // namespace morvex::gridtexts
