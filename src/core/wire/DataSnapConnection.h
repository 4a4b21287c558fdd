#pragma once

#include "core/local/RetryingOpener.h"
#include "core/wire/WireChoices.h"

#include <QString>

#include <chrono>
#include <memory>
#include <utility>
#include <vector>

namespace morvex {

namespace wire {
class ClientChannel;
}

// The settings of a DataSnap TCP/IP connection. All of them travel to the server as the
// properties of connect, as JSON strings, in this order (extra properties after them).
struct DataSnapSettings
{
    QString driverName = QStringLiteral("DataSnap");
    QString communicationProtocol = QStringLiteral("tcp/ip");
    QString hostName = QStringLiteral("localhost");
    QString port = QStringLiteral("9090");
    QString filters = QStringLiteral("{}");
    QString datasnapContext = QStringLiteral("datasnap/");
    QString dsProxyPort = QStringLiteral("8094");
    // Further connect properties (DSAuthenticationUser, ...), sent after the ones above.
    std::vector<std::pair<QString, QString>> extraProperties;

    std::vector<std::pair<QString, QString>> connectProperties() const;
};

// A client connection to a DataSnap server over TCP/IP without transport filters. Used by one
// thread at a time: open, use and close it on the same thread; clones work in parallel.
class DataSnapConnection : public OpenableConnection
{
public:
    DataSnapConnection();
    explicit DataSnapConnection(DataSnapSettings settings);
    ~DataSnapConnection() override;
    DataSnapConnection(const DataSnapConnection &) = delete;
    DataSnapConnection &operator=(const DataSnapConnection &) = delete;

    const DataSnapSettings &settings() const { return m_settings; }
    QString hostName() const { return m_settings.hostName; }
    void setHostName(const QString &host) { m_settings.hostName = host; }
    QString port() const { return m_settings.port; }
    void setPort(const QString &port) { m_settings.port = port; }
    void setProperty(const QString &name, const QString &value);

    // Time-out of every read and write (from the next open on; clones take it over).
    std::chrono::milliseconds readTimeout() const { return m_readTimeout; }
    void setReadTimeout(std::chrono::milliseconds timeout) { m_readTimeout = timeout; }
    std::chrono::milliseconds connectTimeout() const { return m_connectTimeout; }
    void setConnectTimeout(std::chrono::milliseconds timeout) { m_connectTimeout = timeout; }

    // A new connection with the same settings, not open.
    std::unique_ptr<DataSnapConnection> clone() const;

    // TCP connect, filter handshake, connect. Raises ConnectionError, ProtocolError or
    // RemoteError (for example rejected credentials); the connection is then closed.
    void open() override;
    // Closes the open commands, says goodbye and closes the socket. Never raises.
    void close() override;
    bool isOpen() const override;

    // The server's answer to connect: its connection handle, product name and protocol version.
    int connectionHandle() const;
    QString productName() const;
    int protocolVersion() const;

    // Shared with the commands created on this connection.
    const std::shared_ptr<wire::ClientChannel> &channel() const { return m_channel; }

private:
    DataSnapSettings m_settings;
    std::chrono::milliseconds m_readTimeout = wire::kReadTimeout;
    std::chrono::milliseconds m_connectTimeout = wire::kConnectTimeout;
    std::shared_ptr<wire::ClientChannel> m_channel;
};

} // namespace morvex
