#include "server/methods/MorvexServer.h"

#include "core/remote/ServerMethodsDispatcher.h"
#include "core/wire/DataSnapServer.h"
#include "server/methods/ServerMethods.h"

namespace morvex::server {

MorvexServer::MorvexServer(std::unique_ptr<StorageProvider> provider)
    : m_pool(std::move(provider)),
      m_dispatcher(std::make_unique<ServerMethodsDispatcher>(
          [this]() -> std::unique_ptr<TServerMethods1> { return std::make_unique<ServerMethods>(m_pool); })),
      m_server(std::make_unique<DataSnapServer>(*m_dispatcher))
{
}

MorvexServer::~MorvexServer()
{
    stop();
}

bool MorvexServer::listen(const QHostAddress &address, quint16 port)
{
    return m_server->listen(address, port);
}

quint16 MorvexServer::port() const
{
    return m_server->serverPort();
}

QString MorvexServer::errorString() const
{
    return m_server->errorString();
}

void MorvexServer::stop()
{
    m_server->stop();
}

} // namespace morvex::server
