#pragma once

#include "core/wire/ByteReader.h"
#include "core/wire/Message.h"
#include "core/wire/SocketSource.h"

#include <QByteArray>
#include <QHostAddress>
#include <QString>
#include <QTcpSocket>

#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

namespace morvex::test {

inline constexpr std::chrono::milliseconds kPeerTimeout{10'000};

// One end of a test connection, read with the protocol's own tokenizer.
class PeerSocket
{
public:
    explicit PeerSocket(QTcpSocket &socket);
    wire::Node readMessage();
    QByteArray readExactly(qsizetype n);
    // Whatever arrives until the other side closes (or the time-out passes).
    QByteArray readRest(std::chrono::milliseconds timeout = kPeerTimeout);
    void write(const QByteArray &bytes);
    void close();
    QTcpSocket &socket() { return m_socket; }

private:
    QTcpSocket &m_socket;
    wire::SocketSource m_source;
    wire::ByteReader m_reader;
};

// A TCP server on loopback that accepts one connection and runs a script on it in its own
// thread. With `greet` it first answers the filter query and connect the way a DataSnap server
// does; the connect properties are kept.
class ScriptedPeer
{
public:
    using Script = std::function<void(PeerSocket &)>;
    explicit ScriptedPeer(Script script, bool greet = true);
    ~ScriptedPeer();

    quint16 port() const { return m_port; }
    // Waits for the script to end; returns the failures it recorded.
    std::vector<QString> finish();
    std::vector<std::pair<QString, QString>> connectProperties();
    QByteArray handshakeBytes();

    // Records a failure (scripts run on the peer thread, where gtest assertions do not belong).
    void fail(const QString &what);

private:
    std::thread m_thread;
    quint16 m_port = 0;
    std::mutex m_mutex;
    std::vector<QString> m_failures;
    std::vector<std::pair<QString, QString>> m_properties;
    QByteArray m_handshake;
};

// A plain TCP client for feeding recorded bytes to a server.
class RawClient
{
public:
    explicit RawClient(quint16 port);
    PeerSocket &peer() { return *m_peer; }
    bool connected() const { return m_socket.state() == QAbstractSocket::ConnectedState; }

private:
    QTcpSocket m_socket;
    std::unique_ptr<PeerSocket> m_peer;
};

QString hexDump(const QByteArray &bytes);

} // namespace morvex::test
