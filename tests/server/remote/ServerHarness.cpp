#include "ServerHarness.h"

#include <stdexcept>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace morvex::test {

ServerHarness::ServerHarness()
    : m_server(std::make_unique<server::MorvexServer>(std::make_unique<server::SqliteStorageProvider>(m_db.path())))
{
    if (!m_server->listen(QHostAddress::LocalHost, 0))
        throw std::runtime_error("the server cannot listen");
}

ServerHarness::~ServerHarness()
{
    m_server->stop();
}

std::unique_ptr<DataSnapConnection> ServerHarness::connect() const
{
    auto connection = std::make_unique<DataSnapConnection>();
    connection->setHostName(u"127.0.0.1"_s);
    connection->setPort(QString::number(port()));
    connection->setReadTimeout(30s);
    connection->setConnectTimeout(5s);
    connection->open();
    return connection;
}

TSonucBilgisi ServerHarness::session(const QString &identity) const
{
    auto connection = connect();
    TServerMethods1Client proxy(*connection);
    auto record = proxy.BuyukGetir(identity);
    if (!record)
        throw std::runtime_error("no session for the identity");
    return *record;
}

server::SqliteStorage &ServerHarness::storage()
{
    if (!m_storage)
        m_storage = std::make_unique<server::SqliteStorage>(m_db.path());
    return *m_storage;
}

} // namespace morvex::test
