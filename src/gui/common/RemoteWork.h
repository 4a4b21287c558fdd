#pragma once

#include "core/local/RetryingOpener.h"
#include "gui/common/BackgroundLoad.h"

#include <functional>
#include <memory>

class QObject;

namespace morvex {

class DataSnapConnection;
class MessageBoxes;
class ShellContext;
class TServerMethods1Client;

// The worker side of a remote operation, made on the UI thread and run on a worker: a clone
// of the main connection (taken on the UI thread, where the main connection lives), opened
// with the retrying opener in silent mode, a proxy on it for `call`, then the clone closed.
class RemoteWork
{
public:
    using Call = std::function<void(TServerMethods1Client &proxy)>;

    RemoteWork(const DataSnapConnection &mainConnection, PauseFunction pause);
    ~RemoteWork();
    RemoteWork(RemoteWork &&) noexcept;
    RemoteWork &operator=(RemoteWork &&) noexcept;

    // False when the clone could not be opened. Whatever `call` raises passes through (the
    // clone is closed first).
    bool run(const Call &call);

    // The same, in reporting mode: `report` is called when the clone cannot be opened.
    bool run(const Call &call, const FailureReporter &report);

private:
    std::unique_ptr<DataSnapConnection> m_clone;
    PauseFunction m_pause;
};

// Starts a background load whose worker is one remote operation over a clone of the shell's
// main connection: the pattern every tab uses. `call` runs on the worker and fills the tab's
// own record set; `continuation` runs on the UI thread afterwards. False when the load still runs.
bool startRemoteLoad(BackgroundLoad &load, ShellContext &shell, RemoteWork::Call call,
    BackgroundLoad::Continuation continuation = {});

// A failure reporter for worker threads: shows the connection-failure message on the UI thread
// (through `context`'s thread) and waits until it is acknowledged.
FailureReporter reportOnUiThread(QObject *context, MessageBoxes &messages);

} // namespace morvex
