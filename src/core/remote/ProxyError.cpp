#include "core/remote/ProxyError.h"

namespace morvex {

ProxyError::ProxyError(const QString &kind, const QString &message)
    : WireError(message)
    , m_kind(kind)
{
}

} // namespace morvex
