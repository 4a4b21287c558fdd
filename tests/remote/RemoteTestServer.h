#pragma once

#include "RoundTripSupport.h"

#include "core/remote/ServerMethodsDispatcher.h"
#include "core/wire/DataSnapConnection.h"
#include "core/wire/DataSnapServer.h"

#include <functional>
#include <memory>

namespace morvex::test {

// Changes a call's values after the dispatcher filled them, to play a server that answers
// what our own never would (an unknown object type, for one).
using Tamper = std::function<void(const MethodSignature &, std::vector<WireValue> &)>;

// The real DataSnap server on a free loopback port, serving the round-trip TServerMethods1
// through the dispatcher generated from the catalogue.
class RemoteTestServer
{
public:
    explicit RemoteTestServer(
        RoundTripPlan plan = {}, DataSnapServerOptions options = {}, Tamper tamper = {});
    ~RemoteTestServer();

    quint16 port() const;
    RoundTripServerBase &methods() { return *m_methods; }
    const ServerMethodRegistry &registry() const;

    // A connection to this server (or to `port`, e.g. a relay in front of it), opened.
    std::unique_ptr<DataSnapConnection> connect(quint16 port = 0) const;

private:
    class Registry;
    std::unique_ptr<RoundTripServerBase> m_methods;
    std::unique_ptr<ServerMethodsDispatcher> m_dispatcher;
    std::unique_ptr<Registry> m_registry;
    std::unique_ptr<DataSnapServer> m_server;
};

} // namespace morvex::test
