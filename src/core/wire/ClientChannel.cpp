#include "core/wire/ClientChannel.h"

#include "core/wire/SocketSource.h"
#include "core/wire/WireChoices.h"

#include <QTcpSocket>

#include <cstring>

using namespace Qt::StringLiterals;

namespace morvex::wire {

namespace {
// The goodbye on close must not keep a closing window waiting long.
constexpr std::chrono::milliseconds kCloseTimeout{2000};
} // namespace

ClientChannel::ClientChannel() = default;

ClientChannel::~ClientChannel()
{
    close();
}

void ClientChannel::requireOpen() const
{
    if (!isOpen())
        throw ConnectionError(u"The connection is not open"_s);
}

bool ClientChannel::isOpen() const
{
    return m_socket && m_socket->state() == QAbstractSocket::ConnectedState;
}

void ClientChannel::open(const QString &host, const QString &port,
                         const std::vector<std::pair<QString, QString>> &properties,
                         std::chrono::milliseconds connectTimeout, std::chrono::milliseconds readTimeout)
{
    close();
    bool ok = false;
    const uint portNumber = port.trimmed().toUInt(&ok);
    if (!ok || portNumber == 0 || portNumber > 65535)
        throw ConnectionError(u"Invalid port \"%1\""_s.arg(port));
    m_readTimeout = readTimeout;
    m_socket = std::make_unique<QTcpSocket>();
    m_socket->connectToHost(host, quint16(portNumber));
    if (!m_socket->waitForConnected(int(connectTimeout.count()))) {
        const QString why = m_socket->error() == QAbstractSocket::SocketTimeoutError
            ? u"no answer within %1 s"_s.arg(double(connectTimeout.count()) / 1000.0)
            : m_socket->errorString();
        abandon();
        throw ConnectionError(u"Cannot connect to %1:%2: %3"_s.arg(host).arg(portNumber).arg(why));
    }
    // Requests and replies are small and strictly alternate: do not let Nagle hold them back.
    m_socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    m_source = std::make_unique<SocketSource>(*m_socket, readTimeout);
    m_reader = std::make_unique<ByteReader>(*m_source);
    ++m_generation;
    m_blobHandle = kFirstBlobHandle;
    try {
        writeAll(*m_socket, QByteArray(kFilterQuery, sizeof kFilterQuery), m_readTimeout);
        const char *reply = m_reader->ensure(sizeof kNoFilterReply);
        if (std::memcmp(reply, kNoFilterReply, sizeof kNoFilterReply) != 0) {
            throw ProtocolError(u"The server requires transport filters (it answered %1 to the filter query)"_s.arg(
                QString::fromLatin1(QByteArray(reply, sizeof kNoFilterReply).toHex(' '))));
        }
        m_reader->skip(sizeof kNoFilterReply);

        MessageWriter w;
        w.beginRequest("connect").raw("{");
        bool first = true;
        for (const auto &[key, value] : properties) {
            if (!first)
                w.raw(",");
            first = false;
            w.string(key).raw(":").string(value);
        }
        w.raw("}").endRequest();
        send(w.take());
        const Node answer = receive();
        if (answer.firstKey() == u"error")
            throwRemoteError(answer);
        const Node *result = answer.member(u"result");
        if (!result || !result->isArray())
            throw ProtocolError(u"Unexpected answer to connect: \"%1\""_s.arg(answer.firstKey()));
        m_connectionHandle = int(result->item(0, "connection handle").asInteger("connection handle"));
        m_productName = result->items.size() > 1 && result->items[1].kind == Node::Kind::String ? result->items[1].string
                                                                                               : QString();
        m_protocolVersion = result->items.size() > 2 && result->items[2].kind == Node::Kind::Number
            ? int(result->items[2].number)
            : 0;
    } catch (...) {
        abandon();
        throw;
    }
}

void ClientChannel::send(const QByteArray &message)
{
    requireOpen();
    if (!m_deferred.isEmpty()) {
        writeAll(*m_socket, m_deferred + message, m_readTimeout);
        m_deferred.clear();
        return;
    }
    writeAll(*m_socket, message, m_readTimeout);
}

void ClientChannel::defer(QByteArray message)
{
    m_deferred += message;
}

Node ClientChannel::receive()
{
    requireOpen();
    return readMessage(*m_reader);
}

void ClientChannel::close() noexcept
{
    if (!m_socket)
        return;
    try {
        if (isOpen()) {
            QByteArray goodbye = std::move(m_deferred);
            for (const int handle : m_openCommands)
                goodbye += request("command_close", QByteArray::number(handle));
            goodbye += request("disconnect", QByteArray::number(m_connectionHandle));
            writeAll(*m_socket, goodbye, std::min(m_readTimeout, kCloseTimeout));
        }
    } catch (...) {
        // The peer is gone already; closing the socket is all that is left.
    }
    abandon();
}

void ClientChannel::abandon() noexcept
{
    m_reader.reset();
    m_source.reset();
    if (m_socket) {
        m_socket->abort();
        m_socket.reset();
    }
    m_deferred.clear();
    m_openCommands.clear();
    ++m_generation;
}

void throwRemoteError(const Node &message)
{
    const Node &error = message.firstValue();
    const Node *name = error.member(u"name");
    const Node *code = error.member(u"code");
    const Node *text = error.member(u"message");
    throw RemoteError(name && name->kind == Node::Kind::String ? name->string : u"Exception"_s,
                      code && code->kind == Node::Kind::Number ? int(code->number) : 0,
                      text && text->kind == Node::Kind::String ? text->string : QString());
}

QByteArray pullBlobChunk(ClientChannel &channel, int commandHandle, int blobHandle, int row, int ordinal, bool isParam,
                         int rowHandle, bool &last)
{
    MessageWriter w;
    w.beginRequest("more_blob")
        .integer(commandHandle)
        .raw(",")
        .integer(blobHandle)
        .raw(",")
        .integer(row)
        .raw(",")
        .integer(ordinal)
        .raw(",")
        .boolean(isParam)
        .raw(",")
        .integer(rowHandle)
        .endRequest();
    channel.send(w.take());
    const Node answer = channel.receive();
    if (answer.firstKey() == u"error")
        throwRemoteError(answer);
    const Node *result = answer.member(u"result");
    if (!result)
        throw ProtocolError(u"Unexpected answer to more_blob: \"%1\""_s.arg(answer.firstKey()));
    const Node *data = result->item(0, "more_blob chunk").member(u"data");
    if (!data)
        throw ProtocolError(u"A more_blob answer without data"_s);
    RawBlock block = rawBlockOf(*data, "more_blob chunk");
    last = block.count <= 0;
    return std::move(block.bytes);
}

} // namespace morvex::wire
