#pragma once

#include <QFuture>
#include <QFutureWatcher>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QWidget>

#include <functional>

class QThreadPool;

namespace morvex {

class MessageBoxes;

// A view that a background load switches off while its data is being filled: a grid is
// disabled, detached from its record set and its redrawing suspended; afterwards re-attached
// (one reset), redrawn and enabled again.
class LoadView
{
public:
    virtual ~LoadView() = default;
    virtual void suspendForLoad() = 0;
    virtual void resumeAfterLoad() = 0;
};

// A plain widget as a load view: disabled and not redrawn during the load. `detach` and
// `attach`, when given, unbind and rebind the widget's data.
class WidgetLoadView : public LoadView
{
public:
    explicit WidgetLoadView(
        QWidget *widget, std::function<void()> detach = {}, std::function<void()> attach = {});
    void suspendForLoad() override;
    void resumeAfterLoad() override;

private:
    QPointer<QWidget> m_widget;
    std::function<void()> m_detach;
    std::function<void()> m_attach;
};

// The pool background loads run on. Loads wait for the network (a dead server costs 5.5 s of
// retries), so it allows more threads than the machine has cores.
QThreadPool *loadThreadPool();

// One screen's background load: the UI steps around a worker that runs on the load pool.
//
//   start():  the busy animation is shown and every view is suspended, then the worker runs.
//   worker:   runs on a pool thread and may touch only what it owns (its own connection clone,
//             its proxy, the record set of its screen, which no view reads meanwhile). It
//             returns false on failure; an exception it raises is a failure as well.
//   finish:   on the UI thread, always: the views are resumed, the busy animation hidden, the
//             screen's own continuation runs with the outcome, then a failure shows the
//             connection-failure message (unless switched off).
//
// The object is the continuation's context: when it is destroyed the continuation never runs.
// Its destructor waits for a running worker, because the worker may be filling a record set
// that the object's owner holds. A load that is still running is not started again.
class BackgroundLoad : public QObject
{
    Q_OBJECT
public:
    using Worker = std::function<bool()>;
    using Continuation = std::function<void(bool succeeded)>;

    BackgroundLoad(MessageBoxes &messages, QObject *parent = nullptr);
    ~BackgroundLoad() override;

    void setBusyIndicator(QWidget *busy) { m_busy = busy; }
    void addView(LoadView *view) { m_views.append(view); } // not owned
    // The start-up load shows no message of its own.
    void setReportsFailure(bool reports) { m_reportsFailure = reports; }
    void setThreadPool(QThreadPool *pool) { m_pool = pool; }

    // False (and nothing happens) while the previous load still runs.
    bool start(Worker worker, Continuation continuation = {});
    bool isRunning() const { return m_running; }

Q_SIGNALS:
    void finished(bool succeeded);

private:
    void finish();

    MessageBoxes &m_messages;
    QPointer<QWidget> m_busy;
    QList<LoadView *> m_views;
    bool m_reportsFailure = true;
    QThreadPool *m_pool = nullptr;
    bool m_running = false;
    Continuation m_continuation;
    QFutureWatcher<bool> m_watcher;
};

} // namespace morvex
