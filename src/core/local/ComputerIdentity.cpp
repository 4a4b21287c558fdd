#include "core/local/ComputerIdentity.h"

#include "core/local/SysfsIdentitySources.h"

using namespace Qt::StringLiterals;

namespace morvex {

namespace {

const QString kAllZeros = u"00-00-00-00-00-00"_s;

template<typename Source>
IdentityReading readSafely(const Source &source) noexcept
{
    try {
        return source.read();
    } catch (...) {
        return {};
    }
}

IdentityReading systemSerial(const DiskSerialSource &source) noexcept
{
    IdentityReading reading = readSafely(source);
    reading.value = reading.value.trimmed().toUpper();
    return reading;
}

IdentityReading identifySerial(const DriveIdentifySource &source) noexcept
{
    IdentityReading reading = readSafely(source);
    reading.value = reading.value.trimmed().toUpper();
    if (reading.value.size() < kMinimumDriveSerialLength)
        reading.value.clear();
    return reading;
}

} // namespace

ComputerIdentity::ComputerIdentity(const DiskSerialSource &diskSerial, const DriveIdentifySource &driveIdentify,
                                   const AdapterStatusSource &adapters)
    : m_diskSerial(diskSerial)
    , m_driveIdentify(driveIdentify)
    , m_adapters(adapters)
{
}

IdentityResult ComputerIdentity::compute() const noexcept
{
    try {
        IdentityReading reading = systemSerial(m_diskSerial);
        if (reading.value.isEmpty())
            reading = identifySerial(m_driveIdentify);
        if (reading.value.isEmpty())
            reading = identifySerial(m_driveIdentify);
        if (reading.value.isEmpty()) {
            reading = adapterAddress(m_adapters);
            reading.value = reading.value.trimmed().toUpper();
        }
        if (reading.value.isEmpty())
            return {QString(), u"none"_s};
        reading.value.remove(u' ');
        return {reading.value, reading.origin};
    } catch (...) {
        return {QString(), u"none"_s};
    }
}

QString formatAdapterAddress(const QByteArray &address)
{
    if (address.size() < 6)
        return {};
    return QString::fromLatin1(address.first(6).toHex('-').toUpper());
}

IdentityReading adapterAddress(const AdapterStatusSource &adapters) noexcept
{
    try {
        IdentityReading reading;
        for (const AdapterStatus &adapter : adapters.adapters()) {
            if (adapter.address) {
                const QString formatted = formatAdapterAddress(*adapter.address);
                if (!formatted.isEmpty())
                    reading = {formatted, adapter.origin};
            }
            if (reading.value != kAllZeros)
                break;
        }
        return reading;
    } catch (...) {
        return {};
    }
}

IdentityResult computerIdentityWithSource(const QString &root)
{
    const SystemRoot systemRoot(root);
    const SysfsDiskSerialSource diskSerial(systemRoot);
    const SysfsDriveIdentifySource driveIdentify(systemRoot);
    const SysfsAdapterStatusSource adapters(systemRoot);
    return ComputerIdentity(diskSerial, driveIdentify, adapters).compute();
}

QString computerIdentity()
{
    return computerIdentityWithSource().value;
}

} // namespace morvex
