#include "core/local/SysfsIdentitySources.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <array>

using namespace Qt::StringLiterals;

namespace morvex {

namespace {

// sysfs attributes are at most a page long.
constexpr qint64 kMaxAttributeSize = 4096;

std::optional<QByteArray> readAttribute(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray data = file.read(kMaxAttributeSize);
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return data;
}

// Serials are ASCII; NUL padding is dropped and anything else survives as Latin-1.
QString serialText(QByteArray bytes)
{
    bytes.replace('\0', QByteArray());
    return QString::fromLatin1(bytes);
}

QStringList sortedEntries(const QString &folder)
{
    QStringList names = QDir(folder).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
    std::sort(names.begin(), names.end());
    return names;
}

bool isVirtualDiskName(const QString &name)
{
    static const std::array prefixes = {u"loop"_s, u"ram"_s, u"zram"_s, u"dm-"_s, u"md"_s,
                                        u"sr"_s,   u"nbd"_s, u"fd"_s,   u"zd"_s,  u"rbd"_s};
    return std::any_of(prefixes.begin(), prefixes.end(),
                       [&](const QString &prefix) { return name.startsWith(prefix); });
}

bool hasDevice(const QString &entryPath)
{
    return QFileInfo::exists(entryPath + u"/device"_s);
}

// A USB stick or card reader present at boot must not take the place of the fixed disk.
bool isRemovable(const QString &entryPath)
{
    QFile file(entryPath + u"/removable"_s);
    return file.open(QIODevice::ReadOnly) && file.read(16).trimmed() == "1";
}

std::optional<QByteArray> parseHardwareAddress(const QByteArray &text)
{
    const QList<QByteArray> parts = text.trimmed().split(':');
    if (parts.size() < 6)
        return std::nullopt;
    QByteArray bytes;
    for (const QByteArray &part : parts) {
        bool ok = false;
        const uint value = part.toUInt(&ok, 16);
        if (!ok || part.size() != 2 || value > 0xff)
            return std::nullopt;
        bytes.append(char(value));
    }
    return bytes;
}

} // namespace

QString firstPhysicalDisk(const SystemRoot &root)
{
    const QString blockFolder = root.filePath(u"/sys/block");
    for (const QString &name : sortedEntries(blockFolder)) {
        const QString entry = blockFolder + u'/' + name;
        if (!isVirtualDiskName(name) && hasDevice(entry) && !isRemovable(entry))
            return name;
    }
    return {};
}

IdentityReading SysfsDiskSerialSource::read() const
{
    const QString disk = firstPhysicalDisk(m_root);
    if (disk.isEmpty())
        return {};
    const QString folder = u"/sys/block/"_s + disk;
    for (const QString &path : QStringList{folder + u"/serial"_s, folder + u"/device/serial"_s}) {
        if (const auto data = readAttribute(m_root.filePath(path))) {
            const QString serial = serialText(*data);
            if (!serial.trimmed().isEmpty())
                return {serial, u"disk serial "_s + path};
        }
    }
    return {};
}

IdentityReading SysfsDriveIdentifySource::read() const
{
    const QString disk = firstPhysicalDisk(m_root);
    if (disk.isEmpty())
        return {};
    const QString path = u"/sys/block/"_s + disk + u"/device/vpd_pg80"_s;
    const auto page = readAttribute(m_root.filePath(path));
    // Header: peripheral byte, page code 0x80, 16-bit big-endian length; the serial follows.
    if (!page || page->size() < 4 || quint8(page->at(1)) != 0x80)
        return {};
    const int length = (quint8(page->at(2)) << 8) | quint8(page->at(3));
    return {serialText(page->mid(4, length)), u"drive identify data "_s + path};
}

QList<AdapterStatus> SysfsAdapterStatusSource::adapters() const
{
    QList<AdapterStatus> result;
    const QString netFolder = m_root.filePath(u"/sys/class/net");
    for (const QString &name : sortedEntries(netFolder)) {
        if (!hasDevice(netFolder + u'/' + name))
            continue;
        const QString path = u"/sys/class/net/"_s + name + u"/address"_s;
        AdapterStatus status{u"adapter address "_s + path, std::nullopt};
        if (const auto text = readAttribute(m_root.filePath(path)))
            status.address = parseHardwareAddress(*text);
        result.append(status);
    }
    return result;
}

} // namespace morvex
