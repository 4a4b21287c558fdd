#include "Loopback.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <string>

namespace morvex::bench {

namespace {

    [[noreturn]] void fail(const char *what)
    {
        throw std::runtime_error(std::string(what) + ": " + std::strerror(errno));
    }

    sockaddr_in loopbackAddress(std::uint16_t port)
    {
        sockaddr_in address {};
        address.sin_family = AF_INET;
        address.sin_port = htons(port);
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        return address;
    }

    void noDelay(int fd)
    {
        const int on = 1;
        ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    }

} // namespace

Socket::~Socket()
{
    close();
}

Socket &Socket::operator=(Socket &&other) noexcept
{
    if (this != &other) {
        close();
        m_fd = other.release();
    }
    return *this;
}

int Socket::release()
{
    const int fd = m_fd;
    m_fd = -1;
    return fd;
}

void Socket::close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

void Socket::writeAll(const void *data, std::size_t size) const
{
    auto *p = static_cast<const char *>(data);
    while (size > 0) {
        const ssize_t n = ::send(m_fd, p, size, MSG_NOSIGNAL);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            fail("send");
        }
        p += n;
        size -= std::size_t(n);
    }
}

bool Socket::readAll(void *data, std::size_t size) const
{
    auto *p = static_cast<char *>(data);
    while (size > 0) {
        const ssize_t n = ::recv(m_fd, p, size, 0);
        if (n == 0)
            return false;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            fail("recv");
        }
        p += n;
        size -= std::size_t(n);
    }
    return true;
}

Listener::Listener()
{
    m_socket = Socket(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (!m_socket.valid())
        fail("socket");
    const int on = 1;
    ::setsockopt(m_socket.fd(), SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in address = loopbackAddress(0);
    if (::bind(m_socket.fd(), reinterpret_cast<sockaddr *>(&address), sizeof address) != 0)
        fail("bind");
    if (::listen(m_socket.fd(), 128) != 0)
        fail("listen");
    socklen_t length = sizeof address;
    ::getsockname(m_socket.fd(), reinterpret_cast<sockaddr *>(&address), &length);
    m_port = ntohs(address.sin_port);
}

Socket Listener::accept() const
{
    for (;;) {
        const int fd = ::accept4(m_socket.fd(), nullptr, nullptr, SOCK_CLOEXEC);
        if (fd >= 0) {
            noDelay(fd);
            return Socket(fd);
        }
        if (errno != EINTR)
            return Socket();
    }
}

void Listener::shutdown()
{
    ::shutdown(m_socket.fd(), SHUT_RDWR);
}

Socket connectLoopback(std::uint16_t port)
{
    Socket s(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (!s.valid())
        fail("socket");
    noDelay(s.fd());
    sockaddr_in address = loopbackAddress(port);
    while (::connect(s.fd(), reinterpret_cast<sockaddr *>(&address), sizeof address) != 0) {
        if (errno != EINTR)
            fail("connect");
    }
    return s;
}

CountingRelay::CountingRelay(std::uint16_t target)
    : m_target(target)
{
    m_thread = std::thread([this] { run(); });
}

CountingRelay::~CountingRelay()
{
    m_stop = true;
    m_listener.shutdown();
    m_thread.join();
}

void CountingRelay::reset()
{
    m_toClient = 0;
    m_toServer = 0;
}

void CountingRelay::run()
{
    while (!m_stop) {
        Socket client = m_listener.accept();
        if (!client.valid())
            return;
        try {
            pump(std::move(client));
        } catch (const std::exception &) {
            // A broken conversation ends that connection only; the counts so far stand.
        }
    }
}

void CountingRelay::pump(Socket client)
{
    Socket server = connectLoopback(m_target);
    pollfd fds[2] = { { client.fd(), POLLIN, 0 }, { server.fd(), POLLIN, 0 } };
    std::unique_ptr<char[]> buffer(new char[256 * 1024]);
    for (;;) {
        if (::poll(fds, 2, 500) < 0) {
            if (errno == EINTR)
                continue;
            fail("poll");
        }
        if (m_stop)
            return;
        for (int i = 0; i < 2; ++i) {
            if (!(fds[i].revents & (POLLIN | POLLHUP | POLLERR)))
                continue;
            const Socket &from = i == 0 ? client : server;
            const Socket &to = i == 0 ? server : client;
            const ssize_t n = ::recv(from.fd(), buffer.get(), 256 * 1024, 0);
            if (n <= 0)
                return;
            to.writeAll(buffer.get(), std::size_t(n));
            (i == 0 ? m_toServer : m_toClient) += std::uint64_t(n);
        }
    }
}

} // namespace morvex::bench
