#pragma once

#include <QString>

namespace morvex {

// The remembered login in ayar.ini: section `kullanici`, keys `isim`, `sifre` and `hatırla`.
struct RememberedLogin
{
    QString userName; // isim: the user-name box as shown
    QString password; // sifre: the password box as typed, in plain text
    bool remember = true; // hatırla: whether the boxes are filled in next time
};

namespace ayarIni {
    inline constexpr char16_t section[] = u"kullanici";
    inline constexpr char16_t userNameKey[] = u"isim";
    inline constexpr char16_t passwordKey[] = u"sifre";
    inline constexpr char16_t rememberKey[] = u"hat\u0131rla";
} // namespace ayarIni

// What the login window puts into its boxes. A missing or unreadable file gives the defaults
// (check box checked, boxes empty); with `hatırla` off only the check box is restored.
RememberedLogin readRememberedLogin(const QString &path);

// Writes the three keys, keeping anything else the file holds. False with a reason on failure.
bool writeRememberedLogin(const QString &path, const RememberedLogin &login, QString *error = nullptr);

} // namespace morvex
