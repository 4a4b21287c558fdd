#pragma once

#include "core/local/IdentitySources.h"
#include "core/local/SystemRoot.h"

namespace morvex {

// The first physical disk: the entries of /sys/block sorted by name (plain code-point order),
// skipping virtual devices by name (loop, ram, zram, dm-, md, sr, nbd, fd, zd, rbd), any entry
// without a `device` link (no hardware behind it) and removable media (`removable` is 1).
// Empty if there is none.
QString firstPhysicalDisk(const SystemRoot &root);

// /sys/block/<disk>/serial, else /sys/block/<disk>/device/serial (virtio, NVMe, MMC disks).
class SysfsDiskSerialSource final : public DiskSerialSource
{
public:
    explicit SysfsDiskSerialSource(SystemRoot root = SystemRoot()) : m_root(std::move(root)) {}
    IdentityReading read() const override;

private:
    SystemRoot m_root;
};

// The unit serial number page (VPD page 0x80) of the disk's identify data, which the kernel
// exposes world-readable as /sys/block/<disk>/device/vpd_pg80 for SCSI, SATA and USB disks;
// no ioctl and no root rights needed.
class SysfsDriveIdentifySource final : public DriveIdentifySource
{
public:
    explicit SysfsDriveIdentifySource(SystemRoot root = SystemRoot()) : m_root(std::move(root)) {}
    IdentityReading read() const override;

private:
    SystemRoot m_root;
};

// The entries of /sys/class/net sorted by name, only those with a `device` link: loopback,
// bridges, veth, ifb and tunnel interfaces get addresses made up when they are created, which
// would change the identity between boots. An adapter whose `address` is missing or holds
// fewer than six bytes gives no result.
class SysfsAdapterStatusSource final : public AdapterStatusSource
{
public:
    explicit SysfsAdapterStatusSource(SystemRoot root = SystemRoot()) : m_root(std::move(root)) {}
    QList<AdapterStatus> adapters() const override;

private:
    SystemRoot m_root;
};

} // namespace morvex
