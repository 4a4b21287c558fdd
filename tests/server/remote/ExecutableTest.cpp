#include "DemoDatabaseFixture.h"

#include "core/remote/TServerMethods1Client.h"
#include "core/wire/DataSnapConnection.h"

#include <QProcess>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <csignal>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;
using namespace morvex;

namespace {

QString serverBinary()
{
    return QStringLiteral(MORVEX_SERVER_BINARY);
}

} // namespace

TEST(ServerExecutable, ServesUntilSigtermAndRefusesRemoteAddresses)
{
    test::DemoDatabaseFixture db(300);
    QProcess refused;
    refused.start(serverBinary(), {u"--db"_s, db.path(), u"--listen"_s, u"192.0.2.10"_s});
    ASSERT_TRUE(refused.waitForFinished(30000));
    EXPECT_EQ(refused.exitCode(), 2);
    EXPECT_TRUE(QString::fromUtf8(refused.readAllStandardError()).contains(u"--allow-remote"_s));

    QProcess server;
    server.start(serverBinary(), {u"--db"_s, db.path(), u"--port"_s, u"0"_s});
    ASSERT_TRUE(server.waitForReadyRead(30000));
    const QString line = QString::fromUtf8(server.readLine());
    const auto match = QRegularExpression(u"listening on 127\\.0\\.0\\.1:(\\d+)"_s).match(line);
    ASSERT_TRUE(match.hasMatch()) << line.toStdString();

    DataSnapConnection connection;
    connection.setHostName(u"127.0.0.1"_s);
    connection.setPort(match.captured(1));
    connection.setReadTimeout(10s);
    connection.open();
    TServerMethods1Client proxy(connection);
    auto session = proxy.BuyukGetir(u"DEMO-BAYI0"_s);
    ASSERT_TRUE(session);
    EXPECT_EQ(session->ADI(), u"BAYI0"_s);
    connection.close();

    ::kill(pid_t(server.processId()), SIGTERM);
    ASSERT_TRUE(server.waitForFinished(30000));
    EXPECT_EQ(server.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(server.exitCode(), 0);
}

TEST(ServerExecutable, InitDemoAndBindIdentity)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"demo.db"_s);
    QProcess init;
    init.start(serverBinary(), {u"--init-demo"_s, path, u"--stock"_s, u"120"_s, u"--register-identity"_s, u"AA-BB-CC"_s});
    ASSERT_TRUE(init.waitForFinished(60000));
    ASSERT_EQ(init.exitCode(), 0) << init.readAllStandardError().toStdString();
    EXPECT_TRUE(QString::fromUtf8(init.readAllStandardOutput()).contains(u"120 stock items"_s));

    QProcess bind;
    bind.start(serverBinary(), {u"--db"_s, path, u"--bind-identity"_s, u"AA-BB-CC"_s, u"--as"_s, u"PERSONEL2"_s});
    ASSERT_TRUE(bind.waitForFinished(30000));
    EXPECT_EQ(bind.exitCode(), 0);
    QProcess unknown;
    unknown.start(serverBinary(), {u"--db"_s, path, u"--bind-identity"_s, u"AA-BB-CC"_s, u"--as"_s, u"YOK"_s});
    ASSERT_TRUE(unknown.waitForFinished(30000));
    EXPECT_EQ(unknown.exitCode(), 2);
    QProcess missing;
    missing.start(serverBinary(), {u"--db"_s, dir.filePath(u"yok.db"_s), u"--port"_s, u"0"_s});
    ASSERT_TRUE(missing.waitForFinished(30000));
    EXPECT_EQ(missing.exitCode(), 2);
}
