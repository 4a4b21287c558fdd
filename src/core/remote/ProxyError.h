#pragma once

#include "core/wire/WireError.h"

namespace morvex {

// Raised by the proxy itself (not the transport or the server): a proxy made on a connection
// that is not open, or a result of a kind the method does not declare.
class ProxyError : public WireError
{
public:
    ProxyError(const QString &kind, const QString &message);
    QString kind() const override { return m_kind; }

private:
    QString m_kind;
};

} // namespace morvex
