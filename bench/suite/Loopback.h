#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <thread>

// Plain TCP sockets on 127.0.0.1, for the floors (what the loopback interface itself costs) and
// for a relay that counts the bytes a real conversation puts on the wire.
namespace morvex::bench {

// An owned file descriptor.
class Socket
{
public:
    Socket() = default;
    explicit Socket(int fd)
        : m_fd(fd)
    {
    }
    ~Socket();
    Socket(Socket &&other) noexcept
        : m_fd(other.release())
    {
    }
    Socket &operator=(Socket &&other) noexcept;
    Socket(const Socket &) = delete;
    Socket &operator=(const Socket &) = delete;

    int fd() const { return m_fd; }
    bool valid() const { return m_fd >= 0; }
    int release();
    void close();

    // Raise std::runtime_error on a socket error; readAll returns false on an orderly close
    // before `size` bytes arrived.
    void writeAll(const void *data, std::size_t size) const;
    bool readAll(void *data, std::size_t size) const;

private:
    int m_fd = -1;
};

// A listening socket on 127.0.0.1 with a port of the system's choosing.
class Listener
{
public:
    Listener();
    std::uint16_t port() const { return m_port; }
    Socket accept() const;
    // Makes a blocked accept() return (with an invalid socket).
    void shutdown();

private:
    Socket m_socket;
    std::uint16_t m_port = 0;
};

// Connects to 127.0.0.1:port with TCP_NODELAY, as the client and libpq do.
Socket connectLoopback(std::uint16_t port);

// Forwards every connection made to port() to 127.0.0.1:target and counts the bytes that go
// each way. Connections are served one after another.
class CountingRelay
{
public:
    explicit CountingRelay(std::uint16_t target);
    ~CountingRelay();
    std::uint16_t port() const { return m_listener.port(); }
    std::uint64_t bytesToClient() const { return m_toClient; }
    std::uint64_t bytesToServer() const { return m_toServer; }
    void reset();

private:
    void run();
    void pump(Socket client);

    std::uint16_t m_target;
    Listener m_listener;
    std::atomic<bool> m_stop { false };
    std::atomic<std::uint64_t> m_toClient { 0 };
    std::atomic<std::uint64_t> m_toServer { 0 };
    std::thread m_thread;
};

} // namespace morvex::bench
