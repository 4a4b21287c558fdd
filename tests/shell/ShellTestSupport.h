#pragma once

#include "core/local/ComputerIdentity.h"
#include "gui/common/ScriptedMessageBoxes.h"
#include "gui/shell/ShellEnvironment.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <memory>

namespace morvex::test {

using namespace Qt::StringLiterals;

// The process exit, recorded instead of performed.
struct ExitRecorder
{
    QList<int> codes;
};

// A shell environment for tests: scripted message boxes, a recorded exit, a fixed date, an
// instant opener pause, an ayar.ini in a temporary folder and a fixed computer.
struct TestEnvironment
{
    QTemporaryDir dir;
    ScriptedMessageBoxes boxes;
    ExitRecorder exits;
    std::shared_ptr<std::atomic<int>> pauses = std::make_shared<std::atomic<int>>(0);
    QString identity = u"TEST-KIMLIK-0"_s;

    ShellEnvironment make(
        const QString &host = u"127.0.0.1"_s, const QString &port = u"9"_s, QDate today = QDate(2026, 6, 15))
    {
        ShellEnvironment env;
        env.messages = &boxes;
        env.exitProcess = [this](int code) { exits.codes.append(code); };
        env.today = [today] { return today; };
        env.openerPause = [p = pauses](std::chrono::milliseconds) { ++*p; };
        env.portalHost = host;
        env.portalPort = port;
        env.openUrl = [](const QUrl &) {};
        env.settingsPath = dir.filePath(u"ayar.ini"_s);
        const QString id = identity;
        env.local.computerIdentity = [id] { return id; };
        env.local.computerName = [] { return u"BILGISAYAR1"_s; };
        env.local.userName = [] { return u"kullanici1"_s; };
        env.local.ipv4Address = [] { return u"10.0.0.5"_s; };
        return env;
    }
};

// A port on this machine where nothing listens.
inline QString deadPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const quint16 port = probe.serverPort();
    probe.close();
    return QString::number(port);
}

// The reference server on a free port over a temporary demo database. The demo dealer BAYI0 is
// registered to this machine's own identity; `bind` registers further identities to other demo
// users (PERSONEL1, PERSONEL2, BAYI3, BAYI4, BOLGE, PASIF, ESKI; password 1234).
class ReferenceServer
{
public:
    ReferenceServer() = default;
    ~ReferenceServer() { stop(); }

    static QString program()
    {
        return qEnvironmentVariable("MORVEX_BINARY_DIR") + u"/src/server/morvex-server"_s;
    }
    static QString machineIdentity() { return computerIdentity(); }

    bool create()
    {
        m_db = m_dir.filePath(u"demo.db"_s);
        QStringList args { u"--init-demo"_s, m_db, u"--stock"_s, u"100"_s };
        if (!machineIdentity().isEmpty())
            args << u"--register-identity"_s << machineIdentity();
        return run(args);
    }
    bool bind(const QString &identity, const QString &user)
    {
        return run({ u"--db"_s, m_db, u"--bind-identity"_s, identity, u"--as"_s, user });
    }
    bool start()
    {
        m_server = std::make_unique<QProcess>();
        m_server->setProcessChannelMode(QProcess::MergedChannels);
        m_server->start(program(), { u"--db"_s, m_db, u"--port"_s, u"0"_s });
        if (!m_server->waitForStarted(10000))
            return false;
        static const QRegularExpression listening(u"listening on [^:]+:(\\d+)"_s);
        QByteArray output;
        for (int i = 0; i < 300 && m_port.isEmpty(); ++i) {
            m_server->waitForReadyRead(100);
            output += m_server->readAll();
            const auto match = listening.match(QString::fromUtf8(output));
            if (match.hasMatch())
                m_port = match.captured(1);
            if (m_server->state() != QProcess::Running)
                break;
        }
        if (m_port.isEmpty())
            qWarning("morvex-server did not start: %s", output.constData());
        return !m_port.isEmpty();
    }
    void stop()
    {
        if (m_server && m_server->state() == QProcess::Running) {
            m_server->terminate();
            if (!m_server->waitForFinished(5000))
                m_server->kill();
        }
        m_server.reset();
    }
    QString port() const { return m_port; }

private:
    bool run(const QStringList &args)
    {
        QProcess p;
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(program(), args);
        if (!p.waitForFinished(120000) || p.exitCode() != 0) {
            qWarning("morvex-server %s failed: %s", qPrintable(args.join(u' ')), p.readAll().constData());
            return false;
        }
        return true;
    }

    QTemporaryDir m_dir;
    QString m_db;
    QString m_port;
    std::unique_ptr<QProcess> m_server;
};

} // namespace morvex::test
