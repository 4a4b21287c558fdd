#include "core/wire/DataSnapServer.h"

#include "core/wire/ServerSession.h"

#include <QTcpServer>

#include <atomic>
#include <future>
#include <list>
#include <mutex>
#include <thread>

using namespace Qt::StringLiterals;

namespace morvex {

int DataSnapServerOptions::effectiveBatchThreshold() const
{
    return batchThreshold > 0 ? batchThreshold : std::max(bufferBytes - wire::kBatchReserve, 1);
}

int DataSnapServerOptions::effectiveBlobChunk() const
{
    return blobChunk > 0 ? blobChunk : std::max(bufferBytes - wire::kChunkReserve, 1);
}

int DataSnapServerOptions::inlineCapacity(qsizetype offset) const
{
    return inlineLimit > 0 ? std::min(inlineLimit, wire::kMaxInlineBytes) : wire::inlineCapacity(offset, bufferBytes);
}

namespace {

// Hands each accepted socket descriptor on instead of wrapping it in a QTcpSocket here: the
// connection's own thread creates the socket it reads from.
class Acceptor : public QTcpServer
{
public:
    explicit Acceptor(std::function<void(qintptr)> onAccept)
        : m_onAccept(std::move(onAccept))
    {
    }

protected:
    void incomingConnection(qintptr descriptor) override { m_onAccept(descriptor); }

private:
    std::function<void(qintptr)> m_onAccept;
};

constexpr int kAcceptSliceMs = 100;

} // namespace

class DataSnapServer::Impl
{
public:
    Impl(const ServerMethodRegistry &registry, DataSnapServerOptions options)
        : m_registry(registry)
        , m_options(std::move(options))
    {
    }

    ~Impl() { stop(); }

    bool listen(const QHostAddress &address, quint16 port)
    {
        stop();
        m_stop = false;
        std::promise<bool> started;
        std::future<bool> result = started.get_future();
        m_acceptThread = std::thread([this, address, port, &started] {
            Acceptor acceptor([this](qintptr descriptor) { spawn(descriptor); });
            if (!acceptor.listen(address, port)) {
                m_error = acceptor.errorString();
                started.set_value(false);
                return;
            }
            m_port = acceptor.serverPort();
            started.set_value(true);
            while (!m_stop.load())
                acceptor.waitForNewConnection(kAcceptSliceMs);
            acceptor.close();
        });
        const bool ok = result.get();
        if (!ok) {
            m_acceptThread.join();
            m_port = 0;
        }
        return ok;
    }

    void stop()
    {
        m_stop = true;
        if (m_acceptThread.joinable())
            m_acceptThread.join();
        std::list<Connection> sessions;
        {
            std::lock_guard lock(m_mutex);
            sessions.swap(m_sessions);
        }
        for (Connection &c : sessions)
            c.thread.join();
        m_port = 0;
    }

    int connectionCount() const { return m_active.load(); }

    const ServerMethodRegistry &m_registry;
    const DataSnapServerOptions m_options;
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_active{0};
    std::thread m_acceptThread;
    quint16 m_port = 0;
    QString m_error;

private:
    struct Connection
    {
        std::thread thread;
        std::shared_ptr<std::atomic<bool>> done;
    };

    void spawn(qintptr descriptor)
    {
        std::lock_guard lock(m_mutex);
        // Join the threads of connections that have ended.
        for (auto it = m_sessions.begin(); it != m_sessions.end();) {
            if (it->done->load()) {
                it->thread.join();
                it = m_sessions.erase(it);
            } else {
                ++it;
            }
        }
        auto done = std::make_shared<std::atomic<bool>>(false);
        ++m_active;
        std::thread thread([this, descriptor, done] {
            wire::serveConnection(m_registry, m_options, descriptor, m_stop);
            --m_active;
            done->store(true);
        });
        m_sessions.push_back({std::move(thread), std::move(done)});
    }

    std::mutex m_mutex;
    std::list<Connection> m_sessions;
};

DataSnapServer::DataSnapServer(const ServerMethodRegistry &registry, DataSnapServerOptions options)
    : d(std::make_unique<Impl>(registry, std::move(options)))
{
}

DataSnapServer::~DataSnapServer() = default;

bool DataSnapServer::listen(const QHostAddress &address, quint16 port)
{
    return d->listen(address, port);
}

quint16 DataSnapServer::serverPort() const
{
    return d->m_port;
}

QString DataSnapServer::errorString() const
{
    return d->m_error;
}

void DataSnapServer::stop()
{
    d->stop();
}

int DataSnapServer::connectionCount() const
{
    return d->connectionCount();
}

} // namespace morvex
