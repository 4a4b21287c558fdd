#include "TestPeer.h"

#include "core/wire/WireChoices.h"
#include "core/wire/WireError.h"

#include <QTcpServer>

#include <future>

using namespace Qt::StringLiterals;

namespace morvex::test {

PeerSocket::PeerSocket(QTcpSocket &socket)
    : m_socket(socket)
    , m_source(socket, kPeerTimeout)
    , m_reader(m_source)
{
}

wire::Node PeerSocket::readMessage()
{
    return wire::readMessage(m_reader);
}

QByteArray PeerSocket::readExactly(qsizetype n)
{
    return m_reader.readRaw(n);
}

QByteArray PeerSocket::readRest(std::chrono::milliseconds timeout)
{
    QByteArray rest;
    m_source.setTimeout(timeout);
    try {
        for (;;)
            rest += m_reader.readRaw(m_reader.buffered() > 0 ? m_reader.buffered() : 1);
    } catch (const WireError &) {
    }
    return rest;
}

void PeerSocket::write(const QByteArray &bytes)
{
    wire::writeAll(m_socket, bytes, kPeerTimeout);
}

void PeerSocket::close()
{
    m_socket.disconnectFromHost();
    if (m_socket.state() != QAbstractSocket::UnconnectedState)
        m_socket.waitForDisconnected(2000);
}

ScriptedPeer::ScriptedPeer(Script script, bool greet)
{
    std::promise<quint16> listening;
    auto port = listening.get_future();
    m_thread = std::thread([this, script = std::move(script), greet, &listening] {
        QTcpServer server;
        if (!server.listen(QHostAddress::LocalHost, 0)) {
            listening.set_value(0);
            return;
        }
        listening.set_value(server.serverPort());
        if (!server.waitForNewConnection(int(kPeerTimeout.count()))) {
            fail(u"no client connected"_s);
            return;
        }
        std::unique_ptr<QTcpSocket> socket(server.nextPendingConnection());
        server.close();
        PeerSocket peer(*socket);
        try {
            if (greet) {
                const QByteArray query = peer.readExactly(5);
                {
                    std::lock_guard lock(m_mutex);
                    m_handshake = query;
                }
                peer.write(QByteArray(wire::kNoFilterReply, 5));
                const wire::Node connect = peer.readMessage();
                const wire::Node *params = connect.member(u"params");
                if (connect.member(u"method") == nullptr || connect.member(u"method")->string != u"connect" || !params)
                    fail(u"expected connect"_s);
                else if (!params->items.empty()) {
                    std::lock_guard lock(m_mutex);
                    const wire::Node &object = params->items[0];
                    for (size_t i = 0; i < object.keys.size(); ++i) {
                        const wire::Node &v = object.values[i];
                        m_properties.emplace_back(object.keys[i],
                                                  v.kind == wire::Node::Kind::String ? v.string : u"<not a string>"_s);
                    }
                }
                peer.write("{\"result\":[0,\"DataSnap\",2]}");
            }
            script(peer);
        } catch (const std::exception &e) {
            fail(u"peer script: "_s + QString::fromUtf8(e.what()));
        }
        peer.close();
    });
    m_port = port.get();
}

ScriptedPeer::~ScriptedPeer()
{
    if (m_thread.joinable())
        m_thread.join();
}

std::vector<QString> ScriptedPeer::finish()
{
    if (m_thread.joinable())
        m_thread.join();
    std::lock_guard lock(m_mutex);
    return m_failures;
}

std::vector<std::pair<QString, QString>> ScriptedPeer::connectProperties()
{
    std::lock_guard lock(m_mutex);
    return m_properties;
}

QByteArray ScriptedPeer::handshakeBytes()
{
    std::lock_guard lock(m_mutex);
    return m_handshake;
}

void ScriptedPeer::fail(const QString &what)
{
    std::lock_guard lock(m_mutex);
    m_failures.push_back(what);
}

RawClient::RawClient(quint16 port)
{
    m_socket.connectToHost(QHostAddress::LocalHost, port);
    m_socket.waitForConnected(int(kPeerTimeout.count()));
    m_peer = std::make_unique<PeerSocket>(m_socket);
}

QString hexDump(const QByteArray &bytes)
{
    QString out;
    for (const char c : bytes) {
        const uchar u = uchar(c);
        if (u >= 0x20 && u < 0x7F && u != '\'')
            out += QChar(char16_t(u));
        else
            out += u"<%1>"_s.arg(uint(u), 2, 16, QLatin1Char('0')).toUpper();
    }
    return out;
}

} // namespace morvex::test
