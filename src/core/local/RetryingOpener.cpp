#include "core/local/RetryingOpener.h"

#include <thread>

namespace morvex {

namespace {

void closeQuietly(OpenableConnection &connection) noexcept
{
    try {
        connection.close();
    } catch (...) {
    }
}

bool isOpenQuietly(const OpenableConnection &connection) noexcept
{
    try {
        return connection.isOpen();
    } catch (...) {
        return false;
    }
}

// An open() that returns without raising but leaves the connection closed counts as a failed
// attempt too; otherwise the loop would never end.
bool tryOpen(OpenableConnection &connection) noexcept
{
    try {
        connection.open();
    } catch (...) {
        return false;
    }
    return isOpenQuietly(connection);
}

void sleepFor(std::chrono::milliseconds duration)
{
    std::this_thread::sleep_for(duration);
}

} // namespace

bool openWithRetries(OpenableConnection &connection, OpenerMode mode, const FailureReporter &report,
                     const PauseFunction &pause)
{
    try {
        const PauseFunction &wait = pause ? pause : PauseFunction(sleepFor);
        closeQuietly(connection);
        for (int attempt = 0; attempt < kOpenerAttempts; ++attempt) {
            if (tryOpen(connection))
                return true;
            closeQuietly(connection);
            wait(kOpenerPause);
        }
        if (mode == OpenerMode::Reporting && report)
            report();
    } catch (...) {
        // A pause or a reporter that raises must not take the caller down with it.
    }
    return isOpenQuietly(connection);
}

} // namespace morvex
