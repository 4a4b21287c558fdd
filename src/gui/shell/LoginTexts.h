#pragma once

#include <QString>

// The login window's user-visible texts.
namespace morvex::LoginTexts {

inline QString caption()
{
    return QStringLiteral("Giri\u015f");
}
inline QString userNameLabel()
{
    return QStringLiteral(" Kullan\u0131c\u0131 Ad\u0131:");
}
inline QString passwordLabel()
{
    return QStringLiteral(" \u015eifre:");
}
inline QString remember()
{
    return QStringLiteral("Beni hat\u0131rla");
}
inline QString login()
{
    return QStringLiteral("Giri\u015f");
}
inline QString loginAgain()
{
    return QStringLiteral("Giri\u015f!");
}
inline QString connecting()
{
    return QStringLiteral("Ba\u011flan\u0131yor...");
}
inline QString cancel()
{
    return QStringLiteral("Vazge\u00e7");
}

inline QString enterUserName()
{
    return QStringLiteral("L\u00fctfen kullan\u0131c\u0131 ad\u0131n\u0131 giriniz !");
}
inline QString enterPassword()
{
    return QStringLiteral("L\u00fctfen kullan\u0131c\u0131 \u015fifresini giriniz !");
}
inline QString noAddress()
{
    return QStringLiteral("Ba\u011flant\u0131 Kurulam\u0131yor L\u00fctfen Tekrar Deneyiniz !");
}
inline QString fetchFailed()
{
    return QStringLiteral("Ba\u011flant\u0131 Kurulamad\u0131 !");
}
inline QString wrongCredentials()
{
    return QStringLiteral(
        "Kullan\u0131c\u0131 Ad\u0131 ve \u015eifre Hatal\u0131 L\u00fctfen Tekrar Deneyiniz !");
}
inline QString notSaved()
{
    return QStringLiteral("Giri\u015f bilgileri kaydedilemedi: %1");
}

// Shown on the window's own picture.
inline QString brand()
{
    return QStringLiteral("ORVEX");
}
inline QString tagline()
{
    return QStringLiteral("Online Sipari\u015f");
}

} // namespace morvex::LoginTexts
