#include "core/wire/SocketSource.h"

#include "core/wire/WireError.h"

#include <QDeadlineTimer>
#include <QTcpSocket>

using namespace Qt::StringLiterals;

namespace morvex::wire {

namespace {
// Waits are cut into slices so that a server can stop its connection threads promptly.
constexpr int kSliceMs = 200;
} // namespace

SocketSource::SocketSource(QTcpSocket &socket, std::chrono::milliseconds timeout, const std::atomic<bool> *stop)
    : m_socket(socket)
    , m_timeout(timeout)
    , m_stop(stop)
{
}

void SocketSource::fill(QByteArray &buffer)
{
    QDeadlineTimer deadline(m_timeout);
    while (m_socket.bytesAvailable() == 0) {
        if (m_stop && m_stop->load())
            throw ConnectionError(u"The connection is shutting down"_s);
        if (m_socket.state() != QAbstractSocket::ConnectedState)
            throw ConnectionError(u"The peer closed the connection"_s);
        if (deadline.hasExpired())
            throw TimeoutError(u"No answer within %1 s"_s.arg(double(m_timeout.count()) / 1000.0));
        const int wait = int(std::min<qint64>(deadline.remainingTime(), m_stop ? kSliceMs : deadline.remainingTime()));
        if (!m_socket.waitForReadyRead(std::max(wait, 1))) {
            const auto error = m_socket.error();
            if (error != QAbstractSocket::SocketTimeoutError && m_socket.bytesAvailable() == 0) {
                if (error == QAbstractSocket::RemoteHostClosedError || m_socket.state() != QAbstractSocket::ConnectedState)
                    throw ConnectionError(u"The peer closed the connection"_s);
                throw ConnectionError(u"Connection failure: "_s + m_socket.errorString());
            }
        }
    }
    const qint64 n = m_socket.bytesAvailable();
    const qsizetype at = buffer.size();
    buffer.resize(at + qsizetype(n));
    const qint64 got = m_socket.read(buffer.data() + at, n);
    buffer.truncate(at + qsizetype(std::max<qint64>(got, 0)));
}

bool SocketSource::waitIdle()
{
    while (m_socket.bytesAvailable() == 0) {
        if (m_stop && m_stop->load())
            return false;
        if (m_socket.state() != QAbstractSocket::ConnectedState)
            return false;
        if (!m_socket.waitForReadyRead(kSliceMs)) {
            if (m_socket.error() != QAbstractSocket::SocketTimeoutError && m_socket.bytesAvailable() == 0)
                return false;
        }
    }
    return true;
}

void writeAll(QTcpSocket &socket, const QByteArray &bytes, std::chrono::milliseconds timeout)
{
    if (socket.state() != QAbstractSocket::ConnectedState)
        throw ConnectionError(u"The connection is closed"_s);
    if (socket.write(bytes) != bytes.size())
        throw ConnectionError(u"Connection failure: "_s + socket.errorString());
    QDeadlineTimer deadline(timeout);
    while (socket.bytesToWrite() > 0) {
        if (deadline.hasExpired())
            throw TimeoutError(u"The peer does not take data (%1 s)"_s.arg(double(timeout.count()) / 1000.0));
        if (!socket.waitForBytesWritten(int(std::max<qint64>(deadline.remainingTime(), 1)))) {
            if (socket.error() != QAbstractSocket::SocketTimeoutError)
                throw ConnectionError(u"Connection failure: "_s + socket.errorString());
        }
    }
}

} // namespace morvex::wire
