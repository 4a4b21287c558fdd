#pragma once

#include "core/data/RecordSet.h"
#include "core/remote/MethodCatalogue.h"
#include "core/remote/MethodId.h"
#include "core/remote/RemoteCallback.h"
#include "core/wire/WireStream.h"

#include <array>
#include <memory>

namespace morvex {

class DataSnapConnection;
class RemoteCall;
class ServerMethodCommand;

// What every TServerMethods1Client shares: the connection it was made on (not owned) and one
// command per remote method, prepared the first time that method is called and reused until
// the proxy goes. Used by one thread at a time, like its connection.
class ServerMethodsProxy
{
public:
    // Raises ProxyError "Connection cannot be nil.  Make sure the connection has been opened."
    // when the connection is not open.
    explicit ServerMethodsProxy(DataSnapConnection &connection);
    virtual ~ServerMethodsProxy();
    ServerMethodsProxy(const ServerMethodsProxy &) = delete;
    ServerMethodsProxy &operator=(const ServerMethodsProxy &) = delete;

    DataSnapConnection &connection() const { return m_connection; }
    // How many methods this proxy has prepared a command for.
    int preparedCommandCount() const;

protected:
    // The call of one method, on its command (created and prepared on first use).
    RemoteCall startCall(MethodId method);

private:
    DataSnapConnection &m_connection;
    std::array<std::unique_ptr<ServerMethodCommand>, kMethodCount> m_commands;
};

} // namespace morvex
