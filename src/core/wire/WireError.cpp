#include "core/wire/WireError.h"

using namespace Qt::StringLiterals;

namespace morvex {

WireError::WireError(const QString &message)
    : std::runtime_error(message.toStdString())
    , m_message(message)
{
}

QString WireError::kind() const
{
    return u"WireError"_s;
}

RemoteError::RemoteError(const QString &name, int code, const QString &message)
    : WireError(message)
    , m_name(name)
    , m_code(code)
{
}

QString RemoteError::plainMessage() const
{
    static const QString prefix = u"Remote error: "_s;
    return message().startsWith(prefix) ? message().mid(prefix.size()) : message();
}

QString ConnectionError::kind() const
{
    return u"ConnectionError"_s;
}

QString TimeoutError::kind() const
{
    return u"TimeoutError"_s;
}

QString ProtocolError::kind() const
{
    return u"ProtocolError"_s;
}

ServerMethodError::ServerMethodError(const QString &name, int code, const QString &message)
    : std::runtime_error(message.toStdString())
    , m_name(name)
    , m_code(code)
    , m_message(message)
{
}

} // namespace morvex
