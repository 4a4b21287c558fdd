#include "CountingRelay.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

namespace morvex::test {
namespace {

    sockaddr_in loopback(quint16 port)
    {
        sockaddr_in address {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = htons(port);
        return address;
    }

} // namespace

CountingRelay::CountingRelay(quint16 targetPort)
    : m_targetPort(targetPort)
{
    m_listen = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = loopback(0);
    socklen_t length = sizeof address;
    if (m_listen < 0 || ::bind(m_listen, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0
        || ::listen(m_listen, 8) != 0
        || ::getsockname(m_listen, reinterpret_cast<sockaddr *>(&address), &length) != 0
        || ::pipe(m_wake) != 0)
        throw std::runtime_error("relay: cannot listen");
    m_port = ntohs(address.sin_port);
    m_thread = std::thread([this] { run(); });
}

CountingRelay::~CountingRelay()
{
    m_stop = true;
    const char byte = 0;
    [[maybe_unused]] auto written = ::write(m_wake[1], &byte, 1);
    m_thread.join();
    ::close(m_listen);
    ::close(m_wake[0]);
    ::close(m_wake[1]);
}

QByteArray CountingRelay::sent() const
{
    std::lock_guard lock(m_mutex);
    return m_sent;
}

int CountingRelay::count(const QByteArray &needle) const
{
    std::lock_guard lock(m_mutex);
    return static_cast<int>(m_sent.count(needle));
}

void CountingRelay::clear()
{
    std::lock_guard lock(m_mutex);
    m_sent.clear();
}

void CountingRelay::run()
{
    struct Pair
    {
        int client;
        int server;
    };
    std::vector<Pair> pairs;
    char buffer[16384];
    while (!m_stop) {
        std::vector<pollfd> fds { { m_wake[0], POLLIN, 0 }, { m_listen, POLLIN, 0 } };
        for (const Pair &p : pairs) {
            fds.push_back({ p.client, POLLIN, 0 });
            fds.push_back({ p.server, POLLIN, 0 });
        }
        if (::poll(fds.data(), fds.size(), -1) < 0)
            break;
        if (fds[0].revents)
            break;
        if (fds[1].revents & POLLIN) {
            const int client = ::accept(m_listen, nullptr, nullptr);
            const int server = ::socket(AF_INET, SOCK_STREAM, 0);
            sockaddr_in target = loopback(m_targetPort);
            if (client >= 0 && server >= 0
                && ::connect(server, reinterpret_cast<sockaddr *>(&target), sizeof target) == 0) {
                pairs.push_back({ client, server });
            } else {
                if (client >= 0)
                    ::close(client);
                if (server >= 0)
                    ::close(server);
            }
            continue;
        }
        for (std::size_t i = 0; i < pairs.size(); ++i) {
            const pollfd &c = fds[2 + 2 * i];
            const pollfd &s = fds[3 + 2 * i];
            bool closed = false;
            if (c.revents & (POLLIN | POLLHUP | POLLERR)) {
                const ssize_t n = ::read(pairs[i].client, buffer, sizeof buffer);
                if (n <= 0) {
                    closed = true;
                } else {
                    {
                        std::lock_guard lock(m_mutex);
                        m_sent.append(buffer, n);
                    }
                    closed = ::send(pairs[i].server, buffer, static_cast<size_t>(n), MSG_NOSIGNAL) != n;
                }
            }
            if (!closed && (s.revents & (POLLIN | POLLHUP | POLLERR))) {
                const ssize_t n = ::read(pairs[i].server, buffer, sizeof buffer);
                closed = n <= 0 || ::send(pairs[i].client, buffer, static_cast<size_t>(n), MSG_NOSIGNAL) != n;
            }
            if (closed) {
                ::close(pairs[i].client);
                ::close(pairs[i].server);
                pairs.erase(pairs.begin() + static_cast<std::ptrdiff_t>(i));
                break; // the poll list no longer matches; poll again
            }
        }
    }
    for (const Pair &p : pairs) {
        ::close(p.client);
        ::close(p.server);
    }
}

} // namespace morvex::test
