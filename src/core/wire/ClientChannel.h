#pragma once

#include "core/wire/ByteReader.h"
#include "core/wire/Message.h"
#include "core/wire/WireTypes.h"
#include "core/wire/WireValue.h"

#include <QByteArray>
#include <QString>

#include <chrono>
#include <memory>
#include <set>
#include <utility>
#include <vector>

class QTcpSocket;

namespace morvex::wire {

class SocketSource;

// The state one client connection shares with its commands and stream readers: the socket, the
// reader over it, messages waiting to go out with the next request, the open command handles.
class ClientChannel
{
public:
    ClientChannel();
    ~ClientChannel();

    void open(const QString &host, const QString &port, const std::vector<std::pair<QString, QString>> &properties,
              std::chrono::milliseconds connectTimeout, std::chrono::milliseconds readTimeout);
    // Closes the open commands, sends disconnect and closes the socket. Never raises.
    void close() noexcept;
    // Drops the socket without a word (after a fault left the stream in an unknown state).
    void abandon() noexcept;
    bool isOpen() const;
    // Changes on every open and close, so that commands and readers of an earlier session know
    // their handles are gone.
    quint64 generation() const { return m_generation; }

    // Sends a message, preceded by whatever was deferred.
    void send(const QByteArray &message);
    // Queues a message that needs no answer to go out with the next request (reader_close).
    void defer(QByteArray message);
    Node receive();

    void commandOpened(int handle) { m_openCommands.insert(handle); }
    void commandClosed(int handle) { m_openCommands.erase(handle); }
    int nextBlobHandle() { return m_blobHandle++; }

    int connectionHandle() const { return m_connectionHandle; }
    const QString &productName() const { return m_productName; }
    int protocolVersion() const { return m_protocolVersion; }

    // Runs `work` on the open channel; a fault other than an error reply abandons the channel
    // (the byte stream can no longer be trusted) before the exception goes on.
    template<typename Work>
    auto guarded(Work &&work) -> decltype(work());

private:
    void requireOpen() const;

    std::unique_ptr<QTcpSocket> m_socket;
    std::unique_ptr<SocketSource> m_source;
    std::unique_ptr<ByteReader> m_reader;
    std::chrono::milliseconds m_readTimeout{};
    QByteArray m_deferred;
    std::set<int> m_openCommands;
    quint64 m_generation = 0;
    int m_blobHandle = 1;
    int m_connectionHandle = 0;
    QString m_productName;
    int m_protocolVersion = 0;
};

// Raises the RemoteError an "error" message carries.
[[noreturn]] void throwRemoteError(const Node &message);
// Sends more_blob and returns the chunk; `last` is set for the final one.
// blobHandle numbers the value (the same for all its chunks); the server ignores it.
QByteArray pullBlobChunk(ClientChannel &channel, int commandHandle, int blobHandle, int row, int ordinal, bool isParam,
                         int rowHandle, bool &last);

} // namespace morvex::wire

#include "core/wire/WireError.h"

template<typename Work>
auto morvex::wire::ClientChannel::guarded(Work &&work) -> decltype(work())
{
    requireOpen();
    try {
        return work();
    } catch (const RemoteError &) {
        throw;
    } catch (const WireError &) {
        abandon();
        throw;
    } catch (const std::exception &e) {
        abandon();
        throw ProtocolError(QString::fromUtf8(e.what()));
    }
}
