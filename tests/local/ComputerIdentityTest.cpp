#include "core/local/ComputerIdentity.h"
#include "core/local/SysfsIdentitySources.h"

#include <QFileInfo>
#include <QProcess>

#include "QStringPrinter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

using namespace Qt::StringLiterals;
using namespace morvex;

namespace {

QString fixture(const char *name)
{
    return QStringLiteral(MORVEX_TEST_DATA_DIR "/identity/") + QString::fromLatin1(name);
}

struct FixtureCase
{
    const char *tree;
    const char *value;
    const char *source;
};

void PrintTo(const FixtureCase &c, std::ostream *os) { *os << c.tree; }

class IdentityFromFixture : public testing::TestWithParam<FixtureCase>
{
};

TEST_P(IdentityFromFixture, YieldsExpectedValueAndSource)
{
    const FixtureCase &c = GetParam();
    const IdentityResult result = computerIdentityWithSource(fixture(c.tree));
    EXPECT_EQ(result.value, QString::fromLatin1(c.value));
    EXPECT_EQ(result.source, QString::fromLatin1(c.source));
}

INSTANTIATE_TEST_SUITE_P(
    Trees, IdentityFromFixture,
    testing::Values(
        FixtureCase{"serial-with-spaces", "AB12CD34EF56", "disk serial /sys/block/vda/serial"},
        FixtureCase{"sorted-disks", "AAAA1111", "disk serial /sys/block/sda/device/serial"},
        FixtureCase{"identify-serial", "WD-WCC4E1234567", "drive identify data /sys/block/sda/device/vpd_pg80"},
        FixtureCase{"short-identify-serial", "52-54-00-AB-CD-EF", "adapter address /sys/class/net/eth0/address"},
        FixtureCase{"removable-first", "S3Z9NB0K12", "drive identify data /sys/block/sdb/device/vpd_pg80"},
        FixtureCase{"second-disk-only", "52-54-00-AB-CD-EF", "adapter address /sys/class/net/eth0/address"},
        FixtureCase{"virtual-disks-only", "08-00-27-AA-BB-CC", "adapter address /sys/class/net/enp0s3/address"},
        FixtureCase{"zero-then-real-adapter", "08-00-27-0A-0B-0C",
                    "adapter address /sys/class/net/enp0s8/address"},
        FixtureCase{"zero-then-no-result", "08-00-27-0A-0B-0C", "adapter address /sys/class/net/eth2/address"},
        FixtureCase{"all-adapters-zero", "00-00-00-00-00-00", "adapter address /sys/class/net/eth1/address"},
        FixtureCase{"adapter-without-result", "", "none"}, FixtureCase{"no-sources", "", "none"},
        FixtureCase{"does-not-exist", "", "none"}),
    [](const testing::TestParamInfo<FixtureCase> &info) {
        std::string name = info.param.tree;
        std::replace(name.begin(), name.end(), '-', '_');
        return name;
    });

TEST(FirstPhysicalDisk, SkipsVirtualDevicesAndSortsByName)
{
    EXPECT_EQ(firstPhysicalDisk(SystemRoot(fixture("serial-with-spaces"))), u"vda"_s);
    EXPECT_EQ(firstPhysicalDisk(SystemRoot(fixture("sorted-disks"))), u"sda"_s);
    EXPECT_EQ(firstPhysicalDisk(SystemRoot(fixture("virtual-disks-only"))), QString());
}

// Stand-ins for the Windows sources, which cannot exist here.
struct ScriptedDiskSerial : DiskSerialSource
{
    QString value;
    bool raises = false;
    IdentityReading read() const override
    {
        if (raises)
            throw std::runtime_error("management service unavailable");
        return {value, u"disk"_s};
    }
};

struct ScriptedIdentify : DriveIdentifySource
{
    QStringList answers; // one per read, then empty
    bool raises = false;
    mutable int reads = 0;
    IdentityReading read() const override
    {
        const int index = reads++;
        if (raises)
            throw 42;
        return {index < answers.size() ? answers.at(index) : QString(), u"identify"_s};
    }
};

struct ScriptedAdapters : AdapterStatusSource
{
    QList<AdapterStatus> list;
    bool raises = false;
    QList<AdapterStatus> adapters() const override
    {
        if (raises)
            throw std::bad_alloc();
        return list;
    }
};

const QByteArray kMac = QByteArray::fromHex("0a1b2c3d4e5f");

TEST(ComputerIdentity, SourceOrderAndNormalisation)
{
    ScriptedDiskSerial disk;
    ScriptedIdentify identify;
    ScriptedAdapters adapters;
    adapters.list = {{u"nic"_s, kMac}};
    const ComputerIdentity identity(disk, identify, adapters);

    // The system's serial wins and is never held to the drive minimum.
    disk.value = u" x1z "_s;
    EXPECT_EQ(identity.compute().value, u"X1Z"_s);
    EXPECT_EQ(identify.reads, 0);

    // The identify data is read a second time when the first read yields nothing.
    disk.value.clear();
    identify.answers = {QString(), u" wd 77 aa "_s};
    EXPECT_EQ(identity.compute().value, u"WD77AA"_s);
    EXPECT_EQ(identify.reads, 2);

    // Identify serials under four characters count as missing, both times.
    identify.reads = 0;
    identify.answers = {u"abc"_s, u" ab "_s};
    const IdentityResult fromAdapter = identity.compute();
    EXPECT_EQ(fromAdapter.value, u"0A-1B-2C-3D-4E-5F"_s);
    EXPECT_EQ(fromAdapter.source, u"nic"_s);
}

TEST(ComputerIdentity, SwallowsFailuresOfEverySource)
{
    ScriptedDiskSerial disk;
    ScriptedIdentify identify;
    ScriptedAdapters adapters;
    disk.raises = identify.raises = true;
    adapters.list = {{u"nic"_s, kMac}};
    const ComputerIdentity identity(disk, identify, adapters);
    EXPECT_EQ(identity.compute().value, u"0A-1B-2C-3D-4E-5F"_s);

    adapters.raises = true;
    const IdentityResult nothing = identity.compute();
    EXPECT_EQ(nothing.value, QString());
    EXPECT_EQ(nothing.source, u"none"_s);
}

TEST(AdapterAddress, WalksWhileZeroAndKeepsValueOverSilentAdapters)
{
    const QByteArray zeros(6, '\0');
    struct Case
    {
        QList<AdapterStatus> adapters;
        QString value;
    };
    const QList<Case> cases = {
        {{}, QString()},
        {{{u"a"_s, zeros}, {u"b"_s, kMac}}, u"0A-1B-2C-3D-4E-5F"_s},
        {{{u"a"_s, kMac}, {u"b"_s, zeros}}, u"0A-1B-2C-3D-4E-5F"_s},
        {{{u"a"_s, std::nullopt}, {u"b"_s, kMac}}, QString()},
        {{{u"a"_s, zeros}, {u"b"_s, std::nullopt}}, u"00-00-00-00-00-00"_s},
        {{{u"a"_s, QByteArray::fromHex("0102")}, {u"b"_s, kMac}}, QString()},
        {{{u"a"_s, QByteArray::fromHex("00000000000000000000ff")}, {u"b"_s, kMac}}, u"0A-1B-2C-3D-4E-5F"_s},
    };
    for (qsizetype i = 0; i < cases.size(); ++i) {
        ScriptedAdapters source;
        source.list = cases[i].adapters;
        EXPECT_EQ(adapterAddress(source).value, cases[i].value) << "case " << i;
    }
}

TEST(ComputerIdentity, ThisMachineYieldsTheSameIdentityEveryTime)
{
    const IdentityResult first = computerIdentityWithSource();
    const IdentityResult second = computerIdentityWithSource();
    EXPECT_EQ(first.value, second.value);
    EXPECT_EQ(first.source, second.source);
    EXPECT_EQ(first.value, first.value.toUpper());
    EXPECT_FALSE(first.value.contains(u' '));
    EXPECT_EQ(computerIdentity(), first.value);
}

TEST(PrintIdentity, ClientPrintsThisMachinesIdentityAndSource)
{
    const QString client = QStringLiteral(MORVEX_CLIENT_PATH);
    if (!QFileInfo(client).isExecutable())
        GTEST_SKIP() << "client not built: " << client.toStdString();
    QProcess process;
    process.start(client, {u"--print-identity"_s});
    ASSERT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 0);
    const IdentityResult expected = computerIdentityWithSource();
    EXPECT_EQ(QString::fromUtf8(process.readAllStandardOutput()),
              u"identity: "_s + expected.value + u" (source: "_s + expected.source + u")\n"_s);
}

} // namespace
