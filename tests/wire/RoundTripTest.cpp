// Our client against our server over loopback: every value kind, large values in pieces, tables
// in many batches, command handles, and what the server does with odd requests.

#include "Conversation.h"
#include "TestPeer.h"
#include "StockTable.h"
#include "TestRegistry.h"

#include "core/data/RecordSet.h"
#include "core/wire/DataSnapConnection.h"
#include "core/wire/DataSnapServer.h"
#include "core/wire/ServerMethodCommand.h"
#include "core/wire/WireError.h"
#include "core/wire/WireStream.h"

#include <QElapsedTimer>
#include <QThread>

#include <gtest/gtest.h>

#include <limits>

using namespace Qt::StringLiterals;
using namespace morvex;
using namespace morvex::test;

namespace {

class WireRoundTrip : public testing::Test
{
protected:
    void start(DataSnapServerOptions options = {})
    {
        m_server = std::make_unique<DataSnapServer>(m_registry, std::move(options));
        ASSERT_TRUE(m_server->listen(QHostAddress::LocalHost, 0)) << m_server->errorString().toStdString();
        m_connection = std::make_unique<DataSnapConnection>();
        m_connection->setHostName(u"127.0.0.1"_s);
        m_connection->setPort(QString::number(m_server->serverPort()));
        m_connection->setReadTimeout(std::chrono::milliseconds(10'000));
        m_connection->open();
    }

    ServerMethodCommand &call(const QString &method, const std::vector<WireValue> &values)
    {
        m_commands.push_back(std::make_unique<ServerMethodCommand>(*m_connection, u"TServerMethods1."_s + method));
        m_commands.back()->prepare();
        m_commands.back()->execute(values);
        return *m_commands.back();
    }

    void TearDown() override
    {
        m_commands.clear();
        if (m_connection)
            m_connection->close();
        m_server.reset();
    }

    TestRegistry m_registry;
    std::unique_ptr<DataSnapServer> m_server;
    std::unique_ptr<DataSnapConnection> m_connection;
    std::vector<std::unique_ptr<ServerMethodCommand>> m_commands;
};

TEST_F(WireRoundTrip, EveryScalarKindAndNullTravelsBothWays)
{
    start();
    const double when = 45366.4375 + 0.25 / 86400.0; // 2024-03-15 10:30:00.250
    auto &k = call(u"Kinds"_s, {WireValue::int32(-7), WireValue::real(-0.1), WireValue::boolean(true),
                                WireValue::dateTime(when), WireValue::text(u"İğneada şubesi €"_s)});
    EXPECT_EQ(k.value(5).toInt32(), -7);
    EXPECT_EQ(k.value(6).toInt64(), std::numeric_limits<qint64>::min());
    EXPECT_EQ(k.value(7).toDouble(), -0.1);
    EXPECT_TRUE(k.value(8).toBool());
    EXPECT_NEAR(k.value(9).toDateTime(), when, 1e-9);
    EXPECT_EQ(k.value(10).toText(), u"İğneada şubesi €"_s);
    EXPECT_EQ(k.value(11).toJson(), "[1,\"iki\",3.5]");
    for (int i = 0; i < 5; ++i)
        EXPECT_TRUE(k.value(i).isNull()) << "input positions come back null";

    auto &nulls = call(u"Kinds"_s, {WireValue(), WireValue(), WireValue(), WireValue(), WireValue()});
    for (int i = 5; i <= 10; ++i)
        EXPECT_TRUE(nulls.value(i).isNull()) << i;

    EXPECT_TRUE(call(u"NullObject"_s, {}).value(0).isNull());
    EXPECT_EQ(call(u"Nothing"_s, {}).valueCount(), 0);
}

TEST_F(WireRoundTrip, LongTextsTravelInPiecesBothWays)
{
    start();
    // 200 000 bytes after the 0xFF switch: far beyond a 65 535-byte field.
    auto &text = call(u"LongText"_s, {WireValue::int32(100'000)});
    const QString got = text.value(1).toText();
    ASSERT_EQ(got.size(), 100'000);
    EXPECT_TRUE(got.startsWith(u"Şanzıman dişlisi Şanzıman"_s));

    // The server pulls the rest of a long argument while it executes.
    QString sent;
    for (int i = 0; i < 9000; ++i)
        sent += u"Ağır vasıta "_s;
    EXPECT_EQ(call(u"TextLength"_s, {WireValue::text(sent)}).value(1).toInt32(), sent.size());
}

TEST_F(WireRoundTrip, StreamsArriveLazilyInFullBlocks)
{
    DataSnapServerOptions options;
    options.bufferBytes = 4096;
    start(options);
    const int size = 5 * 1024 * 1024 + 17;
    auto &blob = call(u"Blob"_s, {WireValue::int32(size)});
    EXPECT_EQ(blob.value(1).toInt64(), size);
    const auto &stream = blob.value(2).toStream();
    QByteArray all;
    int shortBlocks = 0;
    for (;;) {
        const QByteArray block = stream->readBlock(1024);
        all += block;
        if (block.size() < 1024) {
            ++shortBlocks;
            break;
        }
    }
    EXPECT_EQ(shortBlocks, 1);
    EXPECT_EQ(all.size(), size);
    EXPECT_EQ(all, testBlob(0, size));

    auto &empty = call(u"Blob"_s, {WireValue::int32(0)});
    EXPECT_EQ(empty.value(1).toInt64(), 0);
    EXPECT_EQ(empty.value(2).toStream()->readBlock(1024), QByteArray());
}

TEST_F(WireRoundTrip, ExecutingAgainRetiresTheEarlierStream)
{
    DataSnapServerOptions options;
    options.bufferBytes = 1024;
    start(options);
    ServerMethodCommand blob(*m_connection, u"TServerMethods1.Blob"_s);
    blob.prepare();
    blob.execute({WireValue::int32(10'000)});
    const std::shared_ptr<WireStream> first = blob.value(2).toStream();
    EXPECT_EQ(first->readBlock(1024).size(), 1024);
    blob.execute({WireValue::int32(3000)});
    EXPECT_THROW(first->readBlock(4096), WireError);
    EXPECT_EQ(blob.value(2).toStream()->readAll(), testBlob(0, 3000));
}

void expectSameTable(const RecordSet &expected, const RecordSet &actual)
{
    ASSERT_EQ(actual.fieldCount(), expected.fieldCount());
    ASSERT_EQ(actual.rowCount(), expected.rowCount());
    for (int c = 0; c < expected.fieldCount(); ++c) {
        ASSERT_EQ(actual.field(c).name, expected.field(c).name);
        ASSERT_EQ(actual.field(c).type, expected.field(c).type) << actual.field(c).name.toStdString();
    }
    for (int r = 0; r < expected.rowCount(); ++r) {
        for (int c = 0; c < expected.fieldCount(); ++c) {
            ASSERT_EQ(actual.isNull(r, c), expected.isNull(r, c)) << r << "," << c;
            ASSERT_EQ(actual.value(r, c), expected.value(r, c)) << r << "," << c;
        }
    }
}

TEST_F(WireRoundTrip, LargeTableArrivesWholeOverManyBatches)
{
    DataSnapServerOptions options;
    options.batchThreshold = 8000;
    start(options);
    auto &stock = call(u"Stock"_s, {WireValue::int32(3000)});
    const auto &set = stock.value(1).toTable();
    expectSameTable(*makeStockTable(3000), *set);

    auto &empty = call(u"Stock"_s, {WireValue::int32(0)});
    EXPECT_EQ(empty.value(1).toTable()->fieldCount(), 32);
    EXPECT_EQ(empty.value(1).toTable()->rowCount(), 0);
}

TEST_F(WireRoundTrip, TableCellsBeyondTheBatchArriveWithMoreBlob)
{
    m_registry.add({u"TServerMethods1.Documents"_s, {TestRegistry::result(DataType::Table)}}, [](std::vector<WireValue> &p) {
        auto set = std::make_shared<RecordSet>();
        set->addField(u"ADI"_s, FieldType::Text);
        set->addField(u"ICERIK"_s, FieldType::Bytes);
        set->addField(u"TARIH"_s, FieldType::DateTime);
        set->addField(u"AKTIF"_s, FieldType::Boolean);
        set->addField(u"BOY"_s, FieldType::Int64);
        for (int r = 0; r < 12; ++r) {
            const int row = set->appendRow();
            set->setText(row, 0, QString(r * 700, QChar(u'ş')));
            set->setBytes(row, 1, testBlob(r, r * 3000));
            set->setDateTime(row, 2, QDateTime(QDate(2023, 1 + r, 28), QTime(23, 59, 59, r * 10)));
            set->setBoolean(row, 3, r % 2 == 0);
            set->setInt64(row, 4, qint64(r) << 40);
        }
        p[0] = WireValue::table(set);
    });
    DataSnapServerOptions options;
    options.bufferBytes = 4096;
    start(options);
    const auto &set = call(u"Documents"_s, {}).value(0).toTable();
    ASSERT_EQ(set->rowCount(), 12);
    for (int r = 0; r < 12; ++r) {
        EXPECT_EQ(set->text(r, 0), QString(r * 700, QChar(u'ş'))) << r;
        EXPECT_EQ(set->bytes(r, 1), testBlob(r, r * 3000)) << r;
        EXPECT_EQ(set->dateTime(r, 2).date(), QDate(2023, 1 + r, 28)) << r;
        EXPECT_EQ(set->dateTime(r, 2).time(), QTime(23, 59, 59, r * 10)) << r;
        EXPECT_EQ(set->boolean(r, 3), r % 2 == 0);
        EXPECT_EQ(set->int64(r, 4), qint64(r) << 40);
    }
}

TEST_F(WireRoundTrip, ServerErrorsReachTheCallerAndTheConnectionGoesOn)
{
    start();
    try {
        call(u"Refuse"_s, {});
        ADD_FAILURE() << "no error";
    } catch (const RemoteError &e) {
        EXPECT_EQ(e.kind(), u"EConversionError"_s);
        EXPECT_EQ(e.code(), 7);
        EXPECT_EQ(e.message(), u"Remote error: 'x' is not a valid integer value"_s);
    }
    // A handler giving the wrong kind of value is the server's fault, reported as such.
    m_registry.add({u"TServerMethods1.Wrong"_s, {TestRegistry::result(DataType::Int32)}},
                   [](std::vector<WireValue> &p) { p[0] = WireValue::text(u"bir"_s); });
    EXPECT_THROW(call(u"Wrong"_s, {}), RemoteError);
    // The client refuses a value that does not suit its parameter before anything is sent.
    EXPECT_THROW(call(u"EchoString"_s, {WireValue::int32(5)}), WireError);
    EXPECT_EQ(call(u"EchoString"_s, {WireValue::text(u"hâlâ açık"_s)}).value(1).toText(), u"hâlâ açık"_s);
}

TEST_F(WireRoundTrip, CommandHandlesAreTheLowestFreeSlots)
{
    start();
    auto a = std::make_unique<ServerMethodCommand>(*m_connection, u"TServerMethods1.EchoString"_s);
    ServerMethodCommand b(*m_connection, u"TServerMethods1.GetParts"_s);
    a->prepare();
    b.prepare();
    EXPECT_EQ(a->handle(), 0);
    EXPECT_EQ(b.handle(), 1);
    a.reset(); // command_close frees 0
    ServerMethodCommand c(*m_connection, u"TServerMethods1.getparts"_s);
    c.prepare();
    EXPECT_EQ(c.handle(), 0) << "freed handles are reused; names match case-insensitively";
    c.execute({});
    b.execute({});
    EXPECT_EQ(c.value(0).toTable()->rowCount(), 3);
    EXPECT_EQ(b.value(0).toTable()->rowCount(), 3);
}

TEST_F(WireRoundTrip, ConnectionCloseEndsTheServerSideAndCanReopen)
{
    start();
    auto clone = m_connection->clone();
    EXPECT_FALSE(clone->isOpen());
    EXPECT_EQ(clone->port(), m_connection->port());
    clone->open();
    QElapsedTimer wait;
    wait.start();
    while (m_server->connectionCount() != 2 && wait.elapsed() < 5000)
        QThread::msleep(10);
    EXPECT_EQ(m_server->connectionCount(), 2);
    clone->close();
    m_connection->close();
    wait.restart();
    while (m_server->connectionCount() != 0 && wait.elapsed() < 5000)
        QThread::msleep(10);
    EXPECT_EQ(m_server->connectionCount(), 0);
    m_connection->open();
    EXPECT_EQ(call(u"EchoString"_s, {WireValue::text(u"again"_s)}).value(1).toText(), u"again"_s);
}

TEST_F(WireRoundTrip, ConnectHookCanRefuseCredentials)
{
    DataSnapServerOptions options;
    options.onConnect = [](const std::vector<std::pair<QString, QString>> &properties) {
        for (const auto &[k, v] : properties) {
            if (k == u"DSAuthenticationUser"_s && v == u"D1234"_s)
                return;
        }
        throw ServerMethodError(u"TDBXError"_s, 0,
                                u"Authentication manager rejected user credentials. This may due to invalid combination "
                                "of DS user name and password"_s);
    };
    m_server = std::make_unique<DataSnapServer>(m_registry, options);
    ASSERT_TRUE(m_server->listen(QHostAddress::LocalHost, 0));
    DataSnapConnection c;
    c.setHostName(u"127.0.0.1"_s);
    c.setPort(QString::number(m_server->serverPort()));
    try {
        c.open();
        ADD_FAILURE() << "opened without credentials";
    } catch (const RemoteError &e) {
        EXPECT_EQ(e.code(), 0);
        EXPECT_TRUE(e.message().startsWith(u"Remote error: Authentication manager rejected"_s));
    }
    EXPECT_FALSE(c.isOpen());
    c.setProperty(u"DSAuthenticationUser"_s, u"D1234"_s);
    c.open();
    EXPECT_TRUE(c.isOpen());
}

TEST_F(WireRoundTrip, ServerSkipsUnknownMethodsAndServesTheUnpreparedForm)
{
    TestRegistry registry;
    DataSnapServer server(registry);
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0));
    RawClient client(server.serverPort());
    // Raw JSON first (no filter query), then requests in one write, as a client flushes them.
    client.peer().write(QByteArray("{\"method\":\"connect\",\"params\":[{}]}")
                        + "{\"method\":\"frobnicate\",\"params\":[1,2]}"
                        + "{\"method\":\"reader_close\",\"params\":[1,0]}"
                        + "{\"method\":\"execute\",\"params\":[{\"fields\":[-1,false,\"DataSnap.ServerMethod\","
                          "\"TServerMethods1.GetParts\"]}]}"
                        + "{\"method\":\"vendor_property\",\"params\":[\"x\"]}");
    EXPECT_EQ(client.peer().readMessage().firstKey(), u"result"_s);
    const wire::Node reply = client.peer().readMessage();
    ASSERT_EQ(reply.firstKey(), u"result"_s);
    ASSERT_NE(reply.firstValue().items.size(), 0u);
    const wire::Node batch = client.peer().readMessage();
    EXPECT_EQ(wire::rawBlockOf(batch.firstValue(), "batch").count, -16);
    EXPECT_EQ(client.peer().readMessage().firstValue().items.at(0).string, QString());
}

TEST_F(WireRoundTrip, StuckClientDoesNotStallOthers)
{
    start();
    // One client stops in the middle of a request.
    RawClient stuck(m_server->serverPort());
    stuck.peer().write(QByteArray(wire::kFilterQuery, 5) + "{\"method\":\"prep");
    EXPECT_EQ(stuck.peer().readExactly(5), QByteArray(wire::kNoFilterReply, 5));
    auto other = m_connection->clone();
    other->open();
    ServerMethodCommand echo(*other, u"TServerMethods1.EchoString"_s);
    echo.prepare();
    echo.execute({WireValue::text(u"yine de"_s)});
    EXPECT_EQ(echo.value(1).toText(), u"yine de"_s);
}

} // namespace
