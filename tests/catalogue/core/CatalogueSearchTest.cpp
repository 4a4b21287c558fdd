#include "core/catalogue/CatalogueSearch.h"

#include "core/data/NumberFormat.h"
#include "core/data/RecordSet.h"
#include "core/records/TSonucBilgisi.h"
#include "core/remote/TServerMethods1Client.h"
#include "core/wire/DataSnapConnection.h"
#include "core/wire/WireError.h"

#include "QStringPrinter.h"

#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace morvex {
namespace {

const QString kIdentity = u"KATALOG-CORE-1"_s;

quint16 freePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

// The reference server over a temporary demo database, for the whole suite.
class CatalogueSearch : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_dir = new QTemporaryDir;
        const QString program = qEnvironmentVariable("MORVEX_BINARY_DIR") + u"/src/server/morvex-server"_s;
        const QString db = s_dir->filePath(u"demo.db"_s);
        QProcess init;
        init.start(program, { u"--init-demo"_s, db, u"--stock"_s, u"200"_s, u"--register-identity"_s, kIdentity });
        ASSERT_TRUE(init.waitForFinished(120000));
        ASSERT_EQ(init.exitCode(), 0) << init.readAllStandardError().toStdString();
        s_port = freePort();
        s_server = new QProcess;
        s_server->start(program, { u"--db"_s, db, u"--port"_s, QString::number(s_port) });
        ASSERT_TRUE(s_server->waitForStarted(10000));
        bool listening = false;
        for (int i = 0; i < 200 && !listening; ++i) {
            QTcpSocket probe;
            probe.connectToHost(QHostAddress::LocalHost, s_port);
            listening = probe.waitForConnected(100);
            if (!listening)
                QThread::msleep(50);
        }
        ASSERT_TRUE(listening);
    }

    static void TearDownTestSuite()
    {
        if (s_server) {
            s_server->terminate();
            s_server->waitForFinished(5000);
        }
        delete s_server;
        s_server = nullptr;
        delete s_dir;
        s_dir = nullptr;
    }

    static std::unique_ptr<DataSnapConnection> connection(quint16 port = s_port)
    {
        auto c = std::make_unique<DataSnapConnection>();
        c->setHostName(u"127.0.0.1"_s);
        c->setPort(QString::number(port));
        return c;
    }

    static std::unique_ptr<TSonucBilgisi> session()
    {
        auto c = connection();
        c->open();
        std::unique_ptr<TSonucBilgisi> record;
        {
            TServerMethods1Client proxy(*c);
            record = proxy.BuyukGetir(kIdentity);
        }
        c->close();
        return record;
    }

    // A set holding one row, to see that a failed fetch leaves it alone.
    static void holdOneRow(RecordSet &set, const QString &field)
    {
        const int c = set.addField(field, FieldType::Text);
        set.setText(set.appendRow(), c, u"ESKI"_s);
    }

    int m_pauses = 0;
    PauseFunction countPauses()
    {
        return [this](std::chrono::milliseconds) { ++m_pauses; };
    }

    static inline QTemporaryDir *s_dir = nullptr;
    static inline QProcess *s_server = nullptr;
    static inline quint16 s_port = 0;
};

TEST_F(CatalogueSearch, StockTableReplacesTheRowsWithTheFloatPattern)
{
    auto clone = connection();
    RecordSet stok;
    ASSERT_TRUE(fetchStock(*clone, u"FREN"_s, session(), stok, countPauses()));
    EXPECT_GT(stok.rowCount(), 0);
    EXPECT_FALSE(clone->isOpen());
    EXPECT_EQ(m_pauses, 0);
    for (const char16_t *field : { u"NETFIYAT", u"KDVDAHIL", u"FIYAT", u"KALAN" })
        EXPECT_EQ(stok.field(stok.fieldIndex(field)).displayPattern, floatDisplayPattern());
    EXPECT_TRUE(stok.field(stok.fieldIndex(u"DURUM")).displayPattern.isEmpty());

    // The next search replaces every row.
    ASSERT_TRUE(fetchStock(*clone, u"QQZZXXQQ"_s, session(), stok, countPauses()));
    EXPECT_EQ(stok.rowCount(), 0);
    EXPECT_GT(stok.fieldCount(), 0);
}

TEST_F(CatalogueSearch, UnreachableServerLeavesTheSetAlone)
{
    auto clone = connection(freePort());
    RecordSet stok;
    holdOneRow(stok, u"BARKOD"_s);
    EXPECT_FALSE(fetchStock(*clone, u"FREN"_s, session(), stok, countPauses()));
    EXPECT_EQ(m_pauses, kOpenerAttempts);
    EXPECT_EQ(stok.rowCount(), 1);
    EXPECT_FALSE(clone->isOpen());

    RecordSet liste;
    holdOneRow(liste, u"KOD"_s);
    EXPECT_FALSE(fetchGenuinePrices(*clone, u"F"_s, liste, countPauses()));
    EXPECT_EQ(liste.rowCount(), 1);
}

TEST_F(CatalogueSearch, RefusedCallRaisesAndLeavesTheSetAlone)
{
    // The server takes at most 100 characters of search text.
    auto clone = connection();
    RecordSet stok;
    holdOneRow(stok, u"BARKOD"_s);
    EXPECT_THROW(fetchStock(*clone, QString(101, u'A'), session(), stok), RemoteError);
    EXPECT_EQ(stok.rowCount(), 1);
    EXPECT_EQ(stok.text(0, 0), u"ESKI"_s);
    EXPECT_FALSE(clone->isOpen());

    RecordSet liste;
    holdOneRow(liste, u"KOD"_s);
    EXPECT_THROW(fetchGenuinePrices(*clone, QString(101, u'F'), liste), RemoteError);
    EXPECT_EQ(liste.rowCount(), 1);
    EXPECT_FALSE(clone->isOpen());
}

TEST_F(CatalogueSearch, TableThatBreaksTheCopyRuleLeavesTheSetAlone)
{
    // A set whose first field is not the table's first column refuses the table whole.
    auto clone = connection();
    RecordSet stok;
    holdOneRow(stok, u"ADI"_s);
    EXPECT_THROW(fetchStock(*clone, u"FREN"_s, session(), stok), RecordSetError);
    EXPECT_EQ(stok.rowCount(), 1);
    EXPECT_EQ(stok.fieldCount(), 1);
    EXPECT_FALSE(clone->isOpen());
}

TEST_F(CatalogueSearch, GenuinePricesStartOnTheFirstRow)
{
    auto clone = connection();
    RecordSet liste;
    ASSERT_TRUE(fetchGenuinePrices(*clone, u"F"_s, liste));
    ASSERT_GT(liste.rowCount(), 1);
    EXPECT_EQ(liste.currentRow(), 0);
    EXPECT_EQ(liste.field(liste.fieldIndex(u"KDVHARIC")).displayPattern, floatDisplayPattern());
    EXPECT_EQ(liste.field(liste.fieldIndex(u"KDVDAHIL")).displayPattern, floatDisplayPattern());
    EXPECT_FALSE(clone->isOpen());
}

} // namespace
} // namespace morvex
