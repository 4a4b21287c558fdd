#pragma once

#include "core/local/IdentitySources.h"

#include <QString>

namespace morvex {

// The computer identity and a description of the source it came from, for diagnostics.
struct IdentityResult
{
    QString value;  // upper case, without spaces; may be empty
    QString source; // e.g. "disk serial /sys/block/vda/serial", or "none"
};

// The identity the server registers an account to. Sources are tried in a fixed order and the
// first non-empty value wins: the disk serial the system reports, the drive's identify data
// (read twice, as drives sometimes fail the first read), then the first adapter address that is
// not all zeros. The result is the same on every call and nothing raises.
class ComputerIdentity
{
public:
    ComputerIdentity(const DiskSerialSource &diskSerial, const DriveIdentifySource &driveIdentify,
                     const AdapterStatusSource &adapters);

    IdentityResult compute() const noexcept;

private:
    const DiskSerialSource &m_diskSerial;
    const DriveIdentifySource &m_driveIdentify;
    const AdapterStatusSource &m_adapters;
};

// Drive serials shorter than this are taken for noise.
inline constexpr int kMinimumDriveSerialLength = 4;

// The adapter address: walks the adapters while the address formatted last is all zeros. An
// adapter without a result leaves the earlier value, so a first adapter without one ends the
// walk with an empty value. Nothing raises.
IdentityReading adapterAddress(const AdapterStatusSource &adapters) noexcept;

// Six bytes as "AA-BB-CC-DD-EE-FF"; only the first six bytes count, fewer give empty text.
QString formatAdapterAddress(const QByteArray &address);

// This computer's identity from the platform's own sources, read under `root` (tests only).
IdentityResult computerIdentityWithSource(const QString &root = QStringLiteral("/"));
QString computerIdentity();

} // namespace morvex
