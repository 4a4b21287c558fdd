#include "core/local/HostInfo.h"

#include <QHostAddress>

#include "QStringPrinter.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace morvex;

namespace {

TEST(ComputerName, IsTheShortHostNameCutToFifteenCharacters)
{
    const struct
    {
        QString host;
        QString name;
    } cases[] = {
        {u"vm"_s, u"vm"_s},
        {u"muhasebe-pc.zerdal.local"_s, u"muhasebe-pc"_s},
        {u"workstation-number-42.example.com"_s, u"workstation-num"_s},
        {QString(), QString()},
    };
    for (const auto &c : cases)
        EXPECT_EQ(shortComputerName(c.host), c.name) << c.host.toStdString();

    const QString name = computerName();
    EXPECT_FALSE(name.isEmpty());
    EXPECT_LE(name.size(), kComputerNameLength);
}

TEST(UserName, NamesTheUserThisProcessRunsAs)
{
    EXPECT_FALSE(userName().isEmpty());
}

TEST(Ipv4Address, FirstIpv4AnswerOrLoopbackFallback)
{
    const struct
    {
        QString host;
        QString address;
    } cases[] = {
        {u"localhost"_s, u"127.0.0.1"_s},
        {u"10.1.2.3"_s, u"10.1.2.3"_s},
        {u"::1"_s, u"127.0.0.1"_s}, // IPv6 only
        {QString(), u"127.0.0.1"_s}, // does not resolve
    };
    for (const auto &c : cases)
        EXPECT_EQ(ipv4AddressOf(c.host), c.address) << c.host.toStdString();

    const QHostAddress own(ipv4Address());
    EXPECT_EQ(own.protocol(), QAbstractSocket::IPv4Protocol);
}

} // namespace
