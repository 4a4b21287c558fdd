// The floors of the loopback interface, with nothing but sockets in the way:
//   stream  --bytes N --runs R            a 1-byte request answered by N bytes (the table floor)
//   rtt     --calls K --runs R            a 64-byte request and a 64-byte answer on an open socket
//   connect --calls K --runs R            connect, one such round trip, close
// The answering side is a thread of this process, as small as a server can be.

#include "Loopback.h"
#include "SampleLog.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <exception>
#include <thread>
#include <vector>

using namespace morvex::bench;

namespace {

constexpr std::size_t kMessage = 64;

void streamFloor(const Options &options)
{
    const std::size_t bytes = std::size_t(options.number("bytes", 0));
    const int runs = int(options.number("runs", 7));
    if (bytes == 0)
        throw std::invalid_argument("stream needs --bytes");
    Listener listener;
    std::thread server([&] {
        Socket s = listener.accept();
        std::vector<char> payload(bytes, 'x');
        char request = 0;
        while (s.readAll(&request, 1)) {
            for (std::size_t off = 0; off < bytes; off += 64 * 1024)
                s.writeAll(payload.data() + off, std::min<std::size_t>(64 * 1024, bytes - off));
        }
    });
    {
        Socket client = connectLoopback(listener.port());
        std::vector<char> into(bytes);
        std::memset(into.data(), 0, bytes); // touched once: the floor pays no page faults
        for (int run = -1; run < runs; ++run) { // run -1 warms the socket buffers up
            const auto start = Clock::now();
            client.writeAll("?", 1);
            if (!client.readAll(into.data(), bytes))
                throw std::runtime_error("stream floor: the answering side closed early");
            const double ms = millisecondsSince(start);
            if (run >= 0)
                sample("f1.floor", ms, "ms");
        }
    }
    server.join();
}

void echoServer(const Listener &listener, bool oncePerConnection, std::atomic<bool> &stop)
{
    while (!stop) {
        Socket s = listener.accept();
        if (!s.valid())
            return;
        char buffer[kMessage];
        while (s.readAll(buffer, kMessage)) {
            s.writeAll(buffer, kMessage);
            if (oncePerConnection)
                break;
        }
    }
}

void roundTrips(const Options &options, bool newConnection)
{
    const int calls = int(options.number("calls", newConnection ? 200 : 2000));
    const int runs = int(options.number("runs", 7));
    Listener listener;
    std::atomic<bool> stop { false };
    std::thread server([&] { echoServer(listener, newConnection, stop); });
    char message[kMessage];
    std::memset(message, 'm', kMessage);
    char answer[kMessage];
    Socket open;
    if (!newConnection)
        open = connectLoopback(listener.port());
    for (int run = -1; run < runs; ++run) {
        const auto start = Clock::now();
        for (int i = 0; i < calls; ++i) {
            Socket fresh;
            if (newConnection)
                fresh = connectLoopback(listener.port());
            const Socket &s = newConnection ? fresh : open;
            s.writeAll(message, kMessage);
            if (!s.readAll(answer, kMessage))
                throw std::runtime_error("round trip: the answering side closed early");
        }
        const double us = microsecondsSince(start) / calls;
        if (run >= 0)
            sample(newConnection ? "f2.tcp.new" : "f2.tcp.open", us, "us");
    }
    open.close();
    stop = true;
    listener.shutdown();
    server.join();
}

} // namespace

int main(int argc, char *argv[])
{
    try {
        const Options options(argc, argv);
        if (options.command() == "stream")
            streamFloor(options);
        else if (options.command() == "rtt")
            roundTrips(options, false);
        else if (options.command() == "connect")
            roundTrips(options, true);
        else {
            std::fprintf(
                stderr, "usage: bench_suite_net stream|rtt|connect [--bytes N] [--calls K] [--runs R]\n");
            return 2;
        }
    } catch (const std::exception &e) {
        std::fprintf(stderr, "bench_suite_net: %s\n", e.what());
        return 1;
    }
    return 0;
}
