#pragma once

#include "core/wire/WireChoices.h"

#include <QHostAddress>
#include <QString>

#include <chrono>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace morvex {

class ServerMethodRegistry;

struct DataSnapServerOptions
{
    // The write buffer the sizes below derive from when they are 0.
    int bufferBytes = wire::kDefaultBufferBytes;
    // A table batch is closed once it reaches this many bytes (default: buffer - 2 KiB).
    int batchThreshold = 0;
    // Most bytes of a string or stream written inline in a row before more_blob takes over
    // (default: the buffer-position rule, at most 65 535).
    int inlineLimit = 0;
    // Bytes per more_blob chunk (default: buffer - 32).
    int blobChunk = 0;
    // Time-out of a read in the middle of a request and of every write. An idle connection
    // between requests waits without limit.
    std::chrono::milliseconds readTimeout = wire::kReadTimeout;
    // Called with the connect properties; throw ServerMethodError to refuse (e.g. credentials).
    std::function<void(const std::vector<std::pair<QString, QString>> &properties)> onConnect;

    int effectiveBatchThreshold() const;
    int effectiveBlobChunk() const;
    // Inline bytes allowed for a field starting at `offset` in the row buffer.
    int inlineCapacity(qsizetype offset) const;
};

// A DataSnap TCP/IP server: accepts on its own thread and serves each connection on a thread of
// its own with blocking reads, so one slow or stuck client never stalls the others.
class DataSnapServer
{
public:
    DataSnapServer(const ServerMethodRegistry &registry, DataSnapServerOptions options = {});
    ~DataSnapServer(); // stops
    DataSnapServer(const DataSnapServer &) = delete;
    DataSnapServer &operator=(const DataSnapServer &) = delete;

    // Starts listening (port 0 = any free port). Returns false with errorString() set on failure.
    bool listen(const QHostAddress &address, quint16 port);
    quint16 serverPort() const;
    QString errorString() const;
    // Stops accepting, ends every connection and waits for their threads.
    void stop();
    // Connections currently served.
    int connectionCount() const;

private:
    class Impl;
    std::unique_ptr<Impl> d;
};

} // namespace morvex
