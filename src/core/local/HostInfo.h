#pragma once

#include <QString>

namespace morvex {

// NetBIOS names are at most 15 characters long.
inline constexpr int kComputerNameLength = 15;

// This computer's name: the host name without its domain, cut to 15 characters; empty if the
// system does not say.
QString computerName();
QString shortComputerName(const QString &hostName);

// The name of the user this process runs as; empty if the system does not say.
QString userName();

// The first IPv4 address this computer's own host name resolves to, in dotted form. When the
// name does not resolve, or resolves to IPv6 addresses only, the answer is "127.0.0.1".
// Blocks while the name is looked up.
QString ipv4Address();
QString ipv4AddressOf(const QString &hostName);

} // namespace morvex
