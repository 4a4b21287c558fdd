#include "core/remote/ServerMethodsProxy.h"

#include "core/remote/ProxyError.h"
#include "core/remote/RemoteCall.h"
#include "core/wire/DataSnapConnection.h"
#include "core/wire/ServerMethodCommand.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace morvex {

ServerMethodsProxy::ServerMethodsProxy(DataSnapConnection &connection)
    : m_connection(connection)
{
    if (!connection.isOpen())
        throw ProxyError(u"EInvalidOperation"_s,
            u"Connection cannot be nil.  Make sure the connection has been opened."_s);
}

ServerMethodsProxy::~ServerMethodsProxy() = default;

int ServerMethodsProxy::preparedCommandCount() const
{
    return static_cast<int>(std::count_if(m_commands.begin(), m_commands.end(),
        [](const auto &command) { return command && command->isPrepared(); }));
}

RemoteCall ServerMethodsProxy::startCall(MethodId method)
{
    const RemoteMethod &spec = remoteMethod(method);
    std::unique_ptr<ServerMethodCommand> &command = m_commands[static_cast<std::size_t>(method)];
    if (!command || !command->isPrepared()) {
        // A failed prepare leaves no command behind, so the next call prepares afresh.
        auto fresh = std::make_unique<ServerMethodCommand>(m_connection, spec.commandText());
        fresh->prepare();
        command = std::move(fresh);
    }
    return RemoteCall(spec, *command);
}

} // namespace morvex
