#include "gui/common/RemoteWork.h"

#include "core/remote/TServerMethods1Client.h"
#include "core/wire/DataSnapConnection.h"
#include "gui/common/MessageBoxes.h"
#include "gui/common/ShellContext.h"

#include <QMetaObject>
#include <QObject>
#include <QPointer>
#include <QThread>

namespace morvex {

namespace {

    struct CloseOnExit
    {
        DataSnapConnection &connection;
        ~CloseOnExit() { connection.close(); }
    };

} // namespace

RemoteWork::RemoteWork(const DataSnapConnection &mainConnection, PauseFunction pause)
    : m_clone(mainConnection.clone())
    , m_pause(std::move(pause))
{
}

RemoteWork::~RemoteWork() = default;
RemoteWork::RemoteWork(RemoteWork &&) noexcept = default;
RemoteWork &RemoteWork::operator=(RemoteWork &&) noexcept = default;

bool RemoteWork::run(const Call &call)
{
    return run(call, {});
}

bool RemoteWork::run(const Call &call, const FailureReporter &report)
{
    const OpenerMode mode = report ? OpenerMode::Reporting : OpenerMode::Silent;
    if (!openWithRetries(*m_clone, mode, report, m_pause))
        return false;
    CloseOnExit closer { *m_clone };
    TServerMethods1Client proxy(*m_clone);
    call(proxy);
    return true;
}

bool startRemoteLoad(BackgroundLoad &load, ShellContext &shell, RemoteWork::Call call,
    BackgroundLoad::Continuation continuation)
{
    if (load.isRunning())
        return false;
    auto work = std::make_shared<RemoteWork>(shell.mainConnection(), shell.openerPause());
    return load.start([work, call = std::move(call)] { return work->run(call); }, std::move(continuation));
}

FailureReporter reportOnUiThread(QObject *context, MessageBoxes &messages)
{
    QPointer<QObject> guard(context);
    return [guard, &messages] {
        if (!guard)
            return;
        if (QThread::currentThread() == guard->thread()) {
            showConnectionFailure(messages);
            return;
        }
        QMetaObject::invokeMethod(
            guard.data(), [&messages] { showConnectionFailure(messages); }, Qt::BlockingQueuedConnection);
    };
}

} // namespace morvex
