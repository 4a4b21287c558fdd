#pragma once

#include "server/storage/StoragePool.h"

#include <QHostAddress>
#include <QString>

#include <memory>

namespace morvex {
class DataSnapServer;
class ServerMethodsDispatcher;
} // namespace morvex

namespace morvex::server {

// The reference application server: TServerMethods1 over a storage pool, served by the DataSnap
// server with a thread per connection.
class MorvexServer
{
public:
    explicit MorvexServer(std::unique_ptr<StorageProvider> provider);
    ~MorvexServer();

    // Port 0 takes any free port. Returns false with errorString() set on failure.
    bool listen(const QHostAddress &address, quint16 port);
    quint16 port() const;
    QString errorString() const;
    void stop();

private:
    StoragePool m_pool;
    std::unique_ptr<ServerMethodsDispatcher> m_dispatcher;
    std::unique_ptr<DataSnapServer> m_server;
};

} // namespace morvex::server
