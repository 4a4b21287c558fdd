#pragma once

#include "DemoDatabaseFixture.h"

#include "core/remote/TServerMethods1Client.h"
#include "core/wire/DataSnapConnection.h"
#include "server/methods/MorvexServer.h"
#include "server/storage/SqliteStorage.h"

#include <memory>

namespace morvex::test {

// A reference server on a free loopback port over a fresh demo database, and clients for it.
class ServerHarness
{
public:
    ServerHarness();
    ~ServerHarness();

    quint16 port() const { return m_server->port(); }
    const QString &databasePath() const { return m_db.path(); }
    std::unique_ptr<DataSnapConnection> connect() const;
    // The session record the server keeps for a demo identity ("DEMO-BAYI0", ...).
    TSonucBilgisi session(const QString &identity) const;
    // A second, direct look at the database, to check what a call stored.
    server::SqliteStorage &storage();

private:
    DemoDatabaseFixture m_db;
    std::unique_ptr<server::MorvexServer> m_server;
    std::unique_ptr<server::SqliteStorage> m_storage;
};

inline std::unique_ptr<TSonucBilgisi> copyOf(const TSonucBilgisi &s)
{
    return std::make_unique<TSonucBilgisi>(s);
}

} // namespace morvex::test
