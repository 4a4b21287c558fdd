#include "core/inifile/RememberedLogin.h"

#include "core/inifile/IniFile.h"

#include <QFileInfo>

namespace morvex {

RememberedLogin readRememberedLogin(const QString &path)
{
    RememberedLogin login;
    IniFile ini;
    if (!ini.load(path))
        return login;
    login.remember = ini.boolValue(ayarIni::section, ayarIni::rememberKey, true);
    if (login.remember) {
        login.userName = ini.value(ayarIni::section, ayarIni::userNameKey);
        login.password = ini.value(ayarIni::section, ayarIni::passwordKey);
    }
    return login;
}

bool writeRememberedLogin(const QString &path, const RememberedLogin &login, QString *error)
{
    IniFile ini;
    if (QFileInfo::exists(path))
        ini.load(path); // an unreadable old file is replaced whole
    if (!ini.setValue(ayarIni::section, ayarIni::userNameKey, login.userName)
        || !ini.setValue(ayarIni::section, ayarIni::passwordKey, login.password)) {
        if (error)
            *error = QStringLiteral("line break in a remembered value");
        return false;
    }
    ini.setBool(ayarIni::section, ayarIni::rememberKey, login.remember);
    return ini.save(path, error);
}

} // namespace morvex
