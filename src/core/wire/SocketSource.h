#pragma once

#include "core/wire/ByteReader.h"

#include <atomic>
#include <chrono>

class QTcpSocket;

namespace morvex::wire {

// Blocking reads from a socket owned by the calling thread. Raises TimeoutError when nothing
// arrives within the time-out, ConnectionError when the peer has closed the connection.
class SocketSource : public ByteSource
{
public:
    SocketSource(QTcpSocket &socket, std::chrono::milliseconds timeout, const std::atomic<bool> *stop = nullptr);
    void fill(QByteArray &buffer) override;
    void setTimeout(std::chrono::milliseconds timeout) { m_timeout = timeout; }

    // Waits until at least one byte is readable without a time-out (an idle server connection
    // between requests). Returns false when the peer closed or `stop` was raised.
    bool waitIdle();

private:
    QTcpSocket &m_socket;
    std::chrono::milliseconds m_timeout;
    const std::atomic<bool> *m_stop;
};

// Writes all of `bytes` and waits until the socket has handed them to the system.
void writeAll(QTcpSocket &socket, const QByteArray &bytes, std::chrono::milliseconds timeout);

} // namespace morvex::wire
