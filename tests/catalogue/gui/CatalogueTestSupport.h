#pragma once

#include "core/records/TSonucBilgisi.h"
#include "core/remote/TServerMethods1Client.h"
#include "core/wire/DataSnapConnection.h"
#include "gui/catalogue/GenuinePricesTab.h"
#include "gui/catalogue/StockTab.h"
#include "gui/common/ScriptedMessageBoxes.h"
#include "gui/shell/TForm1.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QProcess>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <memory>

namespace morvex::test {

using namespace Qt::StringLiterals;

// A free port on the loopback interface (nothing listens there once this returns).
inline quint16 freePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

// The reference server on a free port over a temporary demo database, with `identity`
// registered to the demo dealer.
class ReferenceServer
{
public:
    static inline const QString kIdentity = u"KATALOG-TEST-1"_s;

    ~ReferenceServer() { stop(); }

    static QString program() { return qEnvironmentVariable("MORVEX_BINARY_DIR") + u"/src/server/morvex-server"_s; }

    bool create(int stockCount = 200)
    {
        m_db = m_dir.filePath(u"demo.db"_s);
        QProcess p;
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(program(), { u"--init-demo"_s, m_db, u"--stock"_s, QString::number(stockCount),
                             u"--register-identity"_s, kIdentity });
        if (!p.waitForFinished(300000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
            qWarning("morvex-server --init-demo failed: %s", p.readAll().constData());
            return false;
        }
        return true;
    }

    bool start()
    {
        if (m_port == 0)
            m_port = freePort();
        m_server = std::make_unique<QProcess>();
        m_server->setProcessChannelMode(QProcess::ForwardedChannels);
        m_server->start(program(), { u"--db"_s, m_db, u"--port"_s, QString::number(m_port) });
        if (!m_server->waitForStarted(10000))
            return false;
        // Listening once a connection is accepted.
        for (int i = 0; i < 200; ++i) {
            QTcpSocket probe;
            probe.connectToHost(QHostAddress::LocalHost, m_port);
            if (probe.waitForConnected(100))
                return true;
            if (m_server->state() != QProcess::Running)
                return false;
            QTest::qWait(50);
        }
        return false;
    }

    void stop()
    {
        if (m_server && m_server->state() != QProcess::NotRunning) {
            m_server->terminate();
            if (!m_server->waitForFinished(5000))
                m_server->kill();
            m_server->waitForFinished(5000);
        }
        m_server.reset();
    }

    quint16 port() const { return m_port; }
    QString portText() const { return QString::number(m_port); }

    // The session record registered to `identity`, as the login would fetch it. The demo
    // database also registers DEMO-PERSONEL1 (customer type 1), DEMO-PERSONEL2 (type 2),
    // DEMO-BAYI3 (type 3) and DEMO-BAYI4 (type 4).
    std::unique_ptr<TSonucBilgisi> session(const QString &identity = kIdentity) const
    {
        DataSnapConnection connection;
        connection.setHostName(u"127.0.0.1"_s);
        connection.setPort(portText());
        connection.open();
        std::unique_ptr<TSonucBilgisi> record;
        {
            TServerMethods1Client proxy(connection);
            record = proxy.BuyukGetir(identity);
        }
        connection.close();
        return record;
    }

private:
    QTemporaryDir m_dir;
    QString m_db;
    quint16 m_port = 0;
    std::unique_ptr<QProcess> m_server;
};

// The retrying opener's pause in tests: counted, instant, or held until the test lets it go
// (to keep a search running while the test acts).
struct OpenerPauses
{
    std::atomic<int> count = 0;
    std::atomic<bool> held = false;
    QSemaphore gate;

    void pause()
    {
        ++count;
        if (held)
            gate.tryAcquire(1, 30000); // never hang a broken test for long
    }
    void hold() { held = true; }
    void release()
    {
        held = false;
        gate.release(1000);
    }
};

// The main window as the program builds it, without the login: scripted message boxes, a
// counted opener pause instead of the 500 ms sleep, the main connection on the test server.
class MainWindowFixture
{
public:
    explicit MainWindowFixture(quint16 port)
    {
        ShellEnvironment env;
        env.messages = &boxes;
        env.exitProcess = [](int) {};
        env.today = [] { return QDate(2026, 6, 15); };
        env.openerPause = [p = pauses](std::chrono::milliseconds) { p->pause(); };
        env.openUrl = [](const QUrl &) {};
        env.settingsPath = m_dir.filePath(u"ayar.ini"_s);
        window = std::make_unique<TForm1>(std::move(env));
        window->mainConnection().setHostName(u"127.0.0.1"_s);
        window->mainConnection().setPort(QString::number(port));
    }

    ~MainWindowFixture()
    {
        pauses->release();
        window.reset();
    }
    MainWindowFixture(const MainWindowFixture &) = delete;
    MainWindowFixture &operator=(const MainWindowFixture &) = delete;

    // Works as the account of `record`, with the role adjustment the login makes.
    void logIn(const TSonucBilgisi &record)
    {
        window->session().Kopyala(record);
        window->adjustToRole();
    }

    StockTab *stock() const { return window->stockTab(); }
    GenuinePricesTab *genuine() const
    {
        return static_cast<GenuinePricesTab *>(window->tab(MainTab::OrjinalFiyatlar));
    }
    QLineEdit *araedit() const { return window->searchBox(); }

    void pointAt(quint16 port) { window->mainConnection().setPort(QString::number(port)); }

    // Presses Enter in the search box and waits for the search's continuation.
    bool searchAndWait(const QString &text)
    {
        araedit()->setText(text);
        QSignalSpy finished(stock(), &StockTab::searchFinished);
        QTest::keyClick(araedit(), Qt::Key_Return);
        return finished.count() > 0 || finished.wait(60000);
    }

    ScriptedMessageBoxes boxes;
    std::shared_ptr<OpenerPauses> pauses = std::make_shared<OpenerPauses>();
    std::unique_ptr<TForm1> window;

private:
    QTemporaryDir m_dir;
};

// A listener that only counts the connections made to it: the proof that nothing was sent.
class CountingListener
{
public:
    CountingListener()
    {
        m_server.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&m_server, &QTcpServer::newConnection, &m_server, [this] {
            while (QTcpSocket *s = m_server.nextPendingConnection()) {
                ++m_count;
                s->close();
                s->deleteLater();
            }
        });
    }
    quint16 port() const { return m_server.serverPort(); }
    int connections() const { return m_count; }

private:
    QTcpServer m_server;
    int m_count = 0;
};

} // namespace morvex::test
