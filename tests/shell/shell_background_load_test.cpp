#include "core/data/RecordSet.h"
#include "core/wire/DataSnapConnection.h"
#include "gui/common/BackgroundLoad.h"
#include "gui/common/BusyIndicator.h"
#include "gui/common/GridLoadView.h"
#include "gui/common/RemoteWork.h"
#include "gui/common/ScriptedMessageBoxes.h"
#include "gui/grid/DataGrid.h"

#include <QSemaphore>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTest>
#include <QThread>

#include <atomic>
#include <stdexcept>

using namespace Qt::StringLiterals;
using namespace morvex;

namespace {

const QString kFailure = u"Ba\u011flant\u0131 Kurulam\u0131yor L\u00fctfen Tekrar Deneyin ...!"_s;

// A port on this machine where nothing listens.
QString deadPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const quint16 port = probe.serverPort();
    probe.close();
    return QString::number(port);
}

// A screen with a grid over its own record set, as tabs have.
struct Screen
{
    RecordSet set;
    std::vector<GridColumn> columns { GridColumn { u"Kod"_s, u"KOD"_s } };
    DataGrid grid { columns };
    BusyIndicator busy { 24 };
    GridLoadView view { &grid, &set };
    ScriptedMessageBoxes boxes;
    BackgroundLoad load { boxes };

    Screen()
    {
        set.addField(u"KOD"_s, FieldType::Text);
        set.setText(set.appendRow(), 0, u"ESK\u0130"_s);
        grid.attach(&set);
        grid.show();
        load.setBusyIndicator(&busy);
        load.addView(&view);
    }
};

} // namespace

class BackgroundLoadTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void continuationRunsOnTheUiThreadAfterTheWorker()
    {
        Screen s;
        QSemaphore release;
        QThread *workerThread = nullptr;
        bool sawGridDetached = false;
        QVERIFY(s.load.start(
            [&] {
                workerThread = QThread::currentThread();
                release.acquire();
                s.set.clearRows(); // the worker owns the set while the grid is detached
                s.set.setText(s.set.appendRow(), 0, u"YEN\u0130"_s);
                s.set.setText(s.set.appendRow(), 0, u"\u0130K\u0130"_s);
                return true;
            },
            [&](bool ok) {
                QVERIFY(ok);
                QCOMPARE(QThread::currentThread(), qApp->thread());
                QVERIFY(s.grid.isAttached());
                QVERIFY(s.grid.isEnabled());
            }));
        QVERIFY(s.load.isRunning());
        QVERIFY(s.busy.isVisible());
        QVERIFY(!s.grid.isEnabled());
        sawGridDetached = !s.grid.isAttached();
        QVERIFY(sawGridDetached);
        QSignalSpy finished(&s.load, &BackgroundLoad::finished);
        release.release();
        QVERIFY(finished.wait(5000));
        QCOMPARE(finished.at(0).at(0).toBool(), true);
        QVERIFY(workerThread && workerThread != qApp->thread());
        QVERIFY(!s.busy.isVisible());
        QVERIFY(s.grid.isEnabled());
        QCOMPARE(s.grid.recordSet(), &s.set);
        QCOMPARE(s.set.rowCount(), 2);
        QVERIFY(s.boxes.shown.isEmpty());
    }

    // A worker that raises (a remote call failing after the connection opened) still ends in the
    // continuation: grid back and enabled, animation hidden, the connection-failure message.
    void raisingWorkerIsAFailureAndTheGridComesBack_data()
    {
        QTest::addColumn<int>("how");
        QTest::newRow("std exception") << 0;
        QTest::newRow("other exception") << 1;
        QTest::newRow("returns false") << 2;
    }
    void raisingWorkerIsAFailureAndTheGridComesBack()
    {
        QFETCH(int, how);
        Screen s;
        bool continuationOk = true;
        int continuations = 0;
        QSignalSpy finished(&s.load, &BackgroundLoad::finished);
        s.load.start(
            [how]() -> bool {
                if (how == 0)
                    throw std::runtime_error("Internal: Cannot instantiate type x");
                if (how == 1)
                    throw 42;
                return false;
            },
            [&](bool ok) {
                continuationOk = ok;
                ++continuations;
            });
        QVERIFY(finished.wait(5000));
        QCOMPARE(continuations, 1);
        QVERIFY(!continuationOk);
        QVERIFY(s.grid.isEnabled());
        QVERIFY(s.grid.isAttached());
        QCOMPARE(s.set.rowCount(), 1); // whatever it held before
        QVERIFY(!s.busy.isVisible());
        QCOMPARE(s.boxes.texts(), QStringList { kFailure });
        QCOMPARE(s.boxes.shown[0].kind, MessageKind::Error);
        QCOMPARE(s.boxes.shown[0].defaultButton, MessageButton::Ok);
        QVERIFY(!s.load.isRunning());
        QVERIFY(s.load.start([] { return true; })); // the tab can be shown again to retry
        QVERIFY(finished.wait(5000));
    }

    void startUpLoadShowsNoMessage()
    {
        Screen s;
        s.load.setReportsFailure(false);
        QSignalSpy finished(&s.load, &BackgroundLoad::finished);
        s.load.start([] { return false; });
        QVERIFY(finished.wait(5000));
        QVERIFY(s.boxes.shown.isEmpty());
    }

    // A tab shown again while its load runs starts no second load into the same set.
    void noSecondLoadWhileOneRuns()
    {
        Screen s;
        QSemaphore release;
        std::atomic<int> workers { 0 };
        auto worker = [&] {
            ++workers;
            release.acquire();
            return true;
        };
        QVERIFY(s.load.start(worker));
        QVERIFY(!s.load.start(worker));
        QVERIFY(!s.load.start(worker));
        QSignalSpy finished(&s.load, &BackgroundLoad::finished);
        release.release();
        QVERIFY(finished.wait(5000));
        QTest::qWait(50);
        QCOMPARE(workers.load(), 1);
        QCOMPARE(finished.count(), 1);
    }

    // The load object is the continuation's context: gone, nothing runs on the UI thread, and
    // it waits for the worker so the set it fills outlives the fill.
    void destroyedContextRunsNoContinuation()
    {
        ScriptedMessageBoxes boxes;
        QSemaphore started;
        std::atomic<bool> workerDone { false };
        bool continued = false;
        auto *load = new BackgroundLoad(boxes);
        load->start(
            [&] {
                started.release();
                QThread::msleep(100);
                workerDone = true;
                return false;
            },
            [&](bool) { continued = true; });
        started.acquire();
        delete load;
        QVERIFY(workerDone.load());
        QTest::qWait(100);
        QVERIFY(!continued);
        QVERIFY(boxes.shown.isEmpty());
    }

    // The whole worker over a dead server: 11 attempts with a pause after each (injected so the
    // test does not sleep 5.5 s), the error box, and the grid usable again.
    void remoteLoadAgainstADeadServer()
    {
        Screen s;
        DataSnapConnection bagc;
        bagc.setHostName(u"127.0.0.1"_s);
        bagc.setPort(deadPort());
        std::atomic<int> pauses { 0 };
        std::atomic<long long> paused { 0 };
        auto work = std::make_shared<RemoteWork>(bagc, [&](std::chrono::milliseconds ms) {
            ++pauses;
            paused += ms.count();
        });
        bool called = false;
        QSignalSpy finished(&s.load, &BackgroundLoad::finished);
        s.load.start([work, &called] { return work->run([&](TServerMethods1Client &) { called = true; }); });
        QVERIFY(!s.grid.isEnabled());
        QVERIFY(finished.wait(20000));
        QCOMPARE(finished.at(0).at(0).toBool(), false);
        QVERIFY(!called);
        QCOMPARE(pauses.load(), 11);
        QCOMPARE(paused.load(), 11 * 500LL);
        QCOMPARE(s.boxes.texts(), QStringList { kFailure });
        QVERIFY(s.grid.isEnabled());
        QCOMPARE(s.grid.recordSet(), &s.set);
        QVERIFY(!s.busy.isVisible());
    }

    // A worker's reporting-mode opener shows its message on the UI thread, once.
    void reportOnUiThreadShowsTheMessageOnTheUiThread()
    {
        ScriptedMessageBoxes boxes;
        QThread *shownOn = nullptr;
        boxes.onShow = [&](const ScriptedMessageBoxes::Shown &) { shownOn = QThread::currentThread(); };
        BackgroundLoad load(boxes);
        load.setReportsFailure(false);
        QObject context;
        const FailureReporter report = reportOnUiThread(&context, boxes);
        QSignalSpy finished(&load, &BackgroundLoad::finished);
        load.start([report] {
            report();
            return true;
        });
        QVERIFY(finished.wait(5000));
        QCOMPARE(boxes.texts(), QStringList { kFailure });
        QCOMPARE(shownOn, qApp->thread());
    }
};

QTEST_MAIN(BackgroundLoadTest)
#include "shell_background_load_test.moc"
