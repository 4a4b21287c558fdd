#pragma once

#include <QString>

// The main window's user-visible texts.
namespace morvex::MainWindowTexts {

inline QString caption()
{
    return QStringLiteral("ORVEX Otomotiv Online Sipari\u015f Program\u0131 (Zerdal)");
}
// The application title has two blanks before the parenthesis.
inline QString applicationTitle()
{
    return QStringLiteral("ORVEX Otomotiv Online Sipari\u015f Program\u0131  (Zerdal)");
}

inline QString userCaption()
{
    return QStringLiteral("Kullan\u0131c\u0131: ");
}
inline QString companyCaption()
{
    return QStringLiteral("Firma: ");
}
inline QString representativeCaption()
{
    return QStringLiteral("Temsilci: ");
}
inline QString representativePhone()
{
    return QStringLiteral(" Telefonu: ");
}
inline QString representativeMail()
{
    return QStringLiteral(" email: ");
}

inline QString searchHint()
{
    return QStringLiteral("Ara");
}
inline QString clearHint()
{
    return QStringLiteral("Temizle");
}
inline QString otherCustomer()
{
    return QStringLiteral("Ba\u015fka Cari Se\u00e7");
}
inline QString rates()
{
    return QStringLiteral("Kurlar");
}
inline QString generalMenuHint()
{
    return QStringLiteral("Genel Men\u00fc");
}

inline QString mail()
{
    return QStringLiteral("Mail G\u00f6nder");
}
inline QString passwordRequest()
{
    return QStringLiteral("\u015eifre De\u011fi\u015ftirme \u0130ste\u011fi");
}
inline QString quit()
{
    return QStringLiteral("\u00c7\u0131k\u0131\u015f");
}

inline QString closeQuestion()
{
    return QStringLiteral("Programdan \u00c7\u0131kmak \u0130stiyor musunuz ?");
}

// Windows that other parts of the program provide; named in the error shown while one is missing.
inline QString missingWindow(const QString &window)
{
    return QStringLiteral("%1 penceresi bu s\u00fcr\u00fcmde hen\u00fcz yok.").arg(window);
}
inline QString programUpdateWindow()
{
    return QStringLiteral("Program g\u00fcncelleme (Tdosyaindir)");
}
inline QString accountRequestWindow()
{
    return QStringLiteral("Kullan\u0131c\u0131 kay\u0131t iste\u011fi (Tkullanicikayit)");
}
inline QString customerSelectionWindow()
{
    return QStringLiteral("Cari se\u00e7imi (Tseccari)");
}
inline QString mailWindow()
{
    return QStringLiteral("Mail (Tmailform)");
}

} // namespace morvex::MainWindowTexts
