#pragma once

#include <chrono>
#include <functional>

namespace morvex {

// What the retrying opener needs of a connection. The DataSnap connection implements it;
// tests use small stand-ins.
class OpenableConnection
{
public:
    virtual ~OpenableConnection() = default;
    virtual void open() = 0;  // raises on failure
    virtual void close() = 0; // never raises
    virtual bool isOpen() const = 0;
};

enum class OpenerMode { Silent, Reporting };

// The pause between attempts; tests inject one that records instead of sleeping.
using PauseFunction = std::function<void(std::chrono::milliseconds)>;
// Shows the connection-failure message (reporting mode only).
using FailureReporter = std::function<void()>;

inline constexpr int kOpenerAttempts = 11;
inline constexpr std::chrono::milliseconds kOpenerPause{500};

// Closes the connection, then tries to open it up to kOpenerAttempts times with kOpenerPause
// after each failed attempt. Never raises. In reporting mode a final failure calls `report`.
bool openWithRetries(OpenableConnection &connection, OpenerMode mode, const FailureReporter &report = {},
                     const PauseFunction &pause = {});

} // namespace morvex
