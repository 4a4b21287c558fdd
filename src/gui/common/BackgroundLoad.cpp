#include "gui/common/BackgroundLoad.h"

#include "gui/common/MessageBoxes.h"

#include <QThreadPool>
#include <QWidget>
#include <QtConcurrent/QtConcurrentRun>

namespace morvex {

WidgetLoadView::WidgetLoadView(QWidget *widget, std::function<void()> detach, std::function<void()> attach)
    : m_widget(widget)
    , m_detach(std::move(detach))
    , m_attach(std::move(attach))
{
}

void WidgetLoadView::suspendForLoad()
{
    if (!m_widget)
        return;
    m_widget->setEnabled(false);
    if (m_detach)
        m_detach();
    m_widget->setUpdatesEnabled(false);
}

void WidgetLoadView::resumeAfterLoad()
{
    if (!m_widget)
        return;
    if (m_attach)
        m_attach();
    m_widget->setUpdatesEnabled(true);
    m_widget->setEnabled(true);
}

QThreadPool *loadThreadPool()
{
    static QThreadPool *pool = [] {
        auto *p = new QThreadPool;
        p->setMaxThreadCount(16);
        p->setExpiryTimeout(30000);
        return p;
    }();
    return pool;
}

BackgroundLoad::BackgroundLoad(MessageBoxes &messages, QObject *parent)
    : QObject(parent)
    , m_messages(messages)
{
    connect(&m_watcher, &QFutureWatcher<bool>::finished, this, &BackgroundLoad::finish);
}

BackgroundLoad::~BackgroundLoad()
{
    m_watcher.disconnect(this);
    if (m_running)
        m_watcher.future().waitForFinished();
}

bool BackgroundLoad::start(Worker worker, Continuation continuation)
{
    if (m_running)
        return false;
    m_running = true;
    m_continuation = std::move(continuation);
    if (m_busy)
        m_busy->show();
    for (LoadView *view : m_views)
        view->suspendForLoad();
    QThreadPool *pool = m_pool ? m_pool : loadThreadPool();
    m_watcher.setFuture(QtConcurrent::run(pool, [worker = std::move(worker)]() noexcept {
        try {
            return worker();
        } catch (...) {
            // A raising remote call or fill is a failed load; the continuation still runs.
            return false;
        }
    }));
    return true;
}

void BackgroundLoad::finish()
{
    const bool succeeded = m_watcher.future().result();
    m_running = false;
    for (LoadView *view : m_views)
        view->resumeAfterLoad();
    if (m_busy)
        m_busy->hide();
    Continuation continuation = std::exchange(m_continuation, {});
    if (continuation)
        continuation(succeeded);
    if (!succeeded && m_reportsFailure)
        showConnectionFailure(m_messages);
    Q_EMIT finished(succeeded);
}

} // namespace morvex
