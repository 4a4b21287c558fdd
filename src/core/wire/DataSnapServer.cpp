#include "core/wire/DataSnapServer.h"

#include "core/wire/ServerSession.h"

#include <QTcpServer>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <future>
#include <list>
#include <mutex>
#include <thread>
#include <vector>

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
        std::list<std::thread> workers;
        {
            std::lock_guard lock(m_mutex);
            workers.swap(m_workers);
            m_pending.clear();
            m_ended.clear();
        }
        m_wake.notify_all();
        for (std::thread &t : workers)
            t.join();
        m_idle = 0;
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
    // Threads that finished a connection stay parked for the next one: starting a thread per
    // connection costs more than the rest of a short call, and more still on a busy machine.
    static constexpr int kMaxParked = 8;
    static constexpr auto kParkTime = std::chrono::seconds(30);

    void spawn(qintptr descriptor)
    {
        ++m_active;
        std::unique_lock lock(m_mutex);
        m_pending.push_back(descriptor);
        if (m_idle >= static_cast<int>(m_pending.size())) {
            lock.unlock();
            m_wake.notify_one();
            return;
        }
        joinEnded();
        m_workers.emplace_back([this] { work(); });
    }

    void work()
    {
        std::unique_lock lock(m_mutex);
        for (;;) {
            if (!m_pending.empty()) {
                const qintptr descriptor = m_pending.front();
                m_pending.pop_front();
                lock.unlock();
                wire::serveConnection(m_registry, m_options, descriptor, m_stop);
                --m_active;
                lock.lock();
                continue;
            }
            if (m_stop.load() || m_idle >= kMaxParked)
                break;
            ++m_idle;
            const bool woken = m_wake.wait_for(lock, kParkTime, [this] { return m_stop.load() || !m_pending.empty(); });
            --m_idle;
            if (!woken || m_stop.load())
                break;
        }
        // A thread leaving the pool is joined by the next spawn() or by stop(), so that a
        // long-running server does not collect ended threads.
        m_ended.push_back(std::this_thread::get_id());
    }

    void joinEnded()
    {
        for (const std::thread::id id : m_ended) {
            for (auto it = m_workers.begin(); it != m_workers.end(); ++it) {
                if (it->get_id() == id) {
                    it->join();
                    m_workers.erase(it);
                    break;
                }
            }
        }
        m_ended.clear();
    }

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<qintptr> m_pending;
    std::list<std::thread> m_workers;
    std::vector<std::thread::id> m_ended;
    int m_idle = 0;
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
