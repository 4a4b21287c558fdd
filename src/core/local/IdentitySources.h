#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

namespace morvex {

// What one identity source yielded and where it came from ("disk serial /sys/block/vda/serial").
// An empty value means the source yielded nothing.
struct IdentityReading
{
    QString value;
    QString origin;
};

// The serial number of the first physical disk as the operating system reports it. Raw: the
// identity trims and upper-cases it. May raise; the identity swallows it.
class DiskSerialSource
{
public:
    virtual ~DiskSerialSource() = default;
    virtual IdentityReading read() const = 0;
};

// The serial number that the first physical disk reports about itself (its identify data).
// Raw, as DiskSerialSource.
class DriveIdentifySource
{
public:
    virtual ~DriveIdentifySource() = default;
    virtual IdentityReading read() const = 0;
};

// One network adapter's answer: the first bytes of its hardware address, or nothing when the
// adapter gave no result.
struct AdapterStatus
{
    QString origin;
    std::optional<QByteArray> address;
};

// The network adapters in the order the identity walks them.
class AdapterStatusSource
{
public:
    virtual ~AdapterStatusSource() = default;
    virtual QList<AdapterStatus> adapters() const = 0;
};

} // namespace morvex
