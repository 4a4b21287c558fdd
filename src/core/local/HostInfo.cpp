#include "core/local/HostInfo.h"

#include <QHostAddress>
#include <QHostInfo>
#include <QSysInfo>

#include <pwd.h>
#include <unistd.h>

#include <vector>

using namespace Qt::StringLiterals;

namespace morvex {

QString shortComputerName(const QString &hostName)
{
    return hostName.section(u'.', 0, 0).left(kComputerNameLength);
}

QString computerName()
{
    return shortComputerName(QSysInfo::machineHostName());
}

QString userName()
{
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd *found = nullptr;
    if (getpwuid_r(geteuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found && found->pw_name)
        return QString::fromLocal8Bit(found->pw_name);
    return qEnvironmentVariable("USER");
}

QString ipv4AddressOf(const QString &hostName)
{
    const QHostInfo answer = QHostInfo::fromName(hostName);
    if (answer.error() == QHostInfo::NoError) {
        for (const QHostAddress &address : answer.addresses()) {
            if (address.protocol() == QAbstractSocket::IPv4Protocol)
                return address.toString();
        }
    }
    return u"127.0.0.1"_s;
}

QString ipv4Address()
{
    return ipv4AddressOf(QHostInfo::localHostName());
}

} // namespace morvex
