#pragma once

#include <QByteArray>

#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

namespace morvex::test {

// A TCP relay between a client and a server on this machine that keeps every byte the client
// sent, so that tests can count the requests (prepare, next, more_blob) a real client makes.
class CountingRelay
{
public:
    explicit CountingRelay(quint16 targetPort);
    ~CountingRelay();
    CountingRelay(const CountingRelay &) = delete;
    CountingRelay &operator=(const CountingRelay &) = delete;

    quint16 port() const { return m_port; }
    // Client-to-server bytes so far.
    QByteArray sent() const;
    // How often `needle` occurs in the client-to-server bytes.
    int count(const QByteArray &needle) const;
    void clear();

private:
    void run();

    quint16 m_targetPort;
    quint16 m_port = 0;
    int m_listen = -1;
    int m_wake[2] = { -1, -1 };
    std::atomic<bool> m_stop { false };
    mutable std::mutex m_mutex;
    QByteArray m_sent;
    std::thread m_thread;
};

} // namespace morvex::test
