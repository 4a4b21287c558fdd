// The client against scripted servers that misbehave: every fault raises a clear exception,
// leaves nothing half-filled behind and never hangs.

#include "TestPeer.h"

#include "core/data/RecordSet.h"
#include "core/local/RetryingOpener.h"
#include "core/wire/DataSnapConnection.h"
#include "core/wire/ServerMethodCommand.h"
#include "core/wire/WireError.h"
#include "core/wire/WireStream.h"

#include <QTcpServer>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace morvex;
using namespace morvex::test;

namespace {

constexpr std::chrono::milliseconds kShortTimeout{400};

// Raw bytes from a literal, NULs included.
template<size_t N>
QByteArray raw(const char (&text)[N])
{
    return QByteArray(text, N - 1);
}

const QByteArray kPrepareEcho = "{\"result\":[{\"handle\":[0]},{\"fields\":[0,false]},{\"parameters\":[2,"
                                "[26,0,1,0,0,\"Value\",0,0,0],[26,0,4,0,0,\"ReturnParameter\",0,0,0]]}]}";
const QByteArray kPrepareTable = "{\"result\":[{\"handle\":[0]},{\"fields\":[0,false]},{\"parameters\":[1,"
                                 "[23,0,4,0,0,\"ReturnParameter\",0,0,0]]}]}";
const QByteArray kTableHead = QByteArray("{\"result\":[{\"rows\":[0]},{\"data\":[1,") + '\x60'
    + "]},{\"table\":[{\"fields\":[0,false,1,0,true]},{\"columns\":[2,[\"PartNo\",26,0,0,0,0,1,0],"
      "[\"Qty\",6,0,0,0,4,1,0]]}]}]}";

std::unique_ptr<DataSnapConnection> connectTo(quint16 port)
{
    auto c = std::make_unique<DataSnapConnection>();
    c->setHostName(u"127.0.0.1"_s);
    c->setPort(QString::number(port));
    c->setReadTimeout(kShortTimeout);
    return c;
}

// Answers prepare with `prepareReply`, then each execute with the next of `replies` (an empty one:
// no answer at all), then closes.
ScriptedPeer::Script answering(QByteArray prepareReply, std::vector<QByteArray> replies)
{
    return [prepareReply, replies](PeerSocket &s) {
        s.readMessage();
        s.write(prepareReply);
        for (const QByteArray &reply : replies) {
            // reader_close comes along with the next request and has no answer.
            while (s.readMessage().member(u"method")->string != u"execute") {
            }
            if (reply.isEmpty()) {
                // Silence: the client has to give up on its own.
                s.readRest(std::chrono::milliseconds(1500));
                return;
            }
            s.write(reply);
        }
        // Then the server goes away.
    };
}

template<typename Exception>
QString raisedBy(const std::function<void()> &work)
{
    try {
        work();
    } catch (const Exception &e) {
        return e.kind() + u": "_s + e.message();
    } catch (const std::exception &e) {
        return u"other exception: "_s + QString::fromUtf8(e.what());
    }
    return u"no exception"_s;
}

TEST(WireFaults, BrokenRepliesRaiseAndCloseTheConnection)
{
    struct Case
    {
        const char *label;
        QByteArray prepareReply;
        std::vector<QByteArray> executeReplies;
        bool table;
        const char *expectedKind;
    } cases[] = {
        {"server closes in the middle of the prepare reply", kPrepareEcho.left(30), {}, false, "ConnectionError"},
        {"bytes that do not parse", "{\"result\":[{\"handle\":[0]} @@@", {}, false, "ProtocolError"},
        {"result row with too few values", kPrepareEcho,
         {QByteArray("{\"result\":[{\"rows\":[0]},{\"data\":[1,") + '\xC0' + "]}]}"}, false, "ProtocolError"},
        {"result row with too many values", kPrepareEcho,
         {QByteArray("{\"result\":[{\"rows\":[0]},{\"data\":[3,") + "\xC0\xC0\xC0" + "]}]}"}, false, "ProtocolError"},
        {"a value of the wrong kind", kPrepareEcho,
         {QByteArray("{\"result\":[{\"rows\":[0]},{\"data\":[6,") + raw("\xC0\x40\x00\x00\x00\x00") + "]}]}"}, false,
         "ProtocolError"},
        {"no values for the result", kPrepareEcho, {"{\"result\":[{\"rows\":[0]}]}"}, false, "ProtocolError"},
        {"table row cut in the middle", kPrepareTable,
         {kTableHead + "{\"data\":[-8," + "\x22\x41\x31\x61\x05\x23\x42\x32" + "]}"}, true, "ProtocolError"},
        {"table cell of the wrong kind", kPrepareTable,
         {kTableHead + "{\"data\":[-8," + raw("\x22\x41\x31\x40\x00\x00\x00\x00") + "]}"}, true, "ProtocolError"},
        {"table announced without a table value", kPrepareTable,
         {QByteArray("{\"result\":[{\"rows\":[0]},{\"data\":[1,") + '\xC0' + "]}," + kTableHead.mid(kTableHead.indexOf("{\"table\"")) + "{\"data\":[0]}"},
         true, "ProtocolError"},
        {"table placeholder without a table", kPrepareTable,
         {QByteArray("{\"result\":[{\"rows\":[0]},{\"data\":[1,") + '\x60' + "]}]}"}, true, "ProtocolError"},
        {"server closes before the table's first batch", kPrepareTable, {kTableHead}, true, "ConnectionError"},
        {"server never answers execute", kPrepareEcho, {QByteArray()}, false, "TimeoutError"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.label);
        ScriptedPeer peer(answering(c.prepareReply, c.executeReplies));
        auto connection = connectTo(peer.port());
        connection->open();
        ServerMethodCommand command(*connection, c.table ? u"TServerMethods1.GetParts"_s : u"TServerMethods1.EchoString"_s);
        const QString raised = raisedBy<WireError>([&] {
            command.prepare();
            command.execute({WireValue::text(u"abc"_s)});
        });
        EXPECT_TRUE(raised.startsWith(QLatin1StringView(c.expectedKind))) << raised.toStdString();
        EXPECT_EQ(command.valueCount(), 0) << "nothing half-filled is handed on";
        EXPECT_FALSE(connection->isOpen()) << "a stream in an unknown state is not used again";
        connection->close();
        EXPECT_EQ(peer.finish(), std::vector<QString>{});
    }
}

TEST(WireFaults, ErrorReplyKeepsTheConnectionAndDropsEarlierResults)
{
    ScriptedPeer peer(answering(kPrepareTable,
                                {kTableHead + "{\"data\":[-5," + "\x22\x41\x31\x61\x05" + "]}",
                                 "{\"error\":{\"name\":\"EDatabaseError\",\"code\":5,\"message\":\"Remote error: disk full\"}",
                                 kTableHead + "{\"data\":[0]}"}));
    auto connection = connectTo(peer.port());
    connection->open();
    ServerMethodCommand command(*connection, u"TServerMethods1.GetParts"_s);
    command.prepare();
    command.execute({});
    ASSERT_EQ(command.value(0).toTable()->rowCount(), 1);
    const std::shared_ptr<RecordSet> first = command.value(0).toTable();
    try {
        command.execute({});
        ADD_FAILURE() << "no error";
    } catch (const RemoteError &e) {
        EXPECT_EQ(e.kind(), u"EDatabaseError"_s);
        EXPECT_EQ(e.plainMessage(), u"disk full"_s);
    }
    EXPECT_EQ(command.valueCount(), 0);
    EXPECT_TRUE(connection->isOpen());
    command.execute({});
    const auto &empty = command.value(0).toTable();
    EXPECT_EQ(empty->fieldCount(), 2) << "an empty table keeps its columns";
    EXPECT_EQ(empty->rowCount(), 0);
    connection->close();
    EXPECT_EQ(peer.finish(), std::vector<QString>{});
}

TEST(WireFaults, ErrorInPlaceOfANextBatch)
{
    ScriptedPeer peer([](PeerSocket &s) {
        s.readMessage();
        s.write(kPrepareTable);
        s.readMessage();
        s.write(kTableHead + "{\"data\":[5," + "\x22\x41\x31\x61\x05" + "]}");
        const wire::Node next = s.readMessage();
        if (next.member(u"method")->string != u"next")
            throw std::runtime_error("expected next");
        s.write("{\"error\":{\"name\":\"TDBXError\",\"code\":5,\"message\":\"Remote error: reader gone\"}");
        // The failed reader is closed with the next request.
        const wire::Node close = s.readMessage();
        if (close.member(u"method")->string != u"reader_close")
            throw std::runtime_error("expected reader_close");
        s.readRest(std::chrono::milliseconds(1500));
    });
    auto connection = connectTo(peer.port());
    connection->open();
    {
        ServerMethodCommand command(*connection, u"TServerMethods1.GetParts"_s);
        command.prepare();
        EXPECT_TRUE(raisedBy<RemoteError>([&] { command.execute({}); }).startsWith(u"TDBXError: Remote error: reader gone"_s));
        EXPECT_EQ(command.valueCount(), 0);
    }
    connection->close();
    EXPECT_EQ(peer.finish(), std::vector<QString>{});
}

TEST(WireFaults, StreamReadFailsClearlyWhenTheServerGoes)
{
    ScriptedPeer peer([](PeerSocket &s) {
        s.readMessage();
        s.write("{\"result\":[{\"handle\":[0]},{\"fields\":[0,false]},{\"parameters\":[1,"
                "[33,40,4,0,0,\"ReturnParameter\",0,0,0]]}]}");
        s.readMessage();
        s.write(QByteArray("{\"result\":[{\"rows\":[0]},{\"data\":[1027,") + raw("\x50\x04\x00") + QByteArray(1024, 'p')
                + "]}]}");
        s.readMessage(); // more_blob: the server goes away instead of answering
    });
    auto connection = connectTo(peer.port());
    connection->open();
    ServerMethodCommand command(*connection, u"TServerMethods1.GetPdf"_s);
    command.prepare();
    command.execute({});
    const auto &stream = command.value(0).toStream();
    EXPECT_EQ(stream->readBlock(1024), QByteArray(1024, 'p'));
    EXPECT_TRUE(raisedBy<ConnectionError>([&] { stream->readBlock(1024); }).startsWith(u"ConnectionError"_s));
    EXPECT_FALSE(connection->isOpen());
    EXPECT_EQ(peer.finish(), std::vector<QString>{});
}

TEST(WireFaults, OpenFailsClearly)
{
    struct Case
    {
        const char *label;
        ScriptedPeer::Script script;
        const char *expected;
    } cases[] = {
        {"server asks for transport filters", [](PeerSocket &s) { s.readExactly(5); s.write(QByteArray("\x0D\x00\x00\x00\x10", 5)); },
         "ProtocolError: The server requires transport filters"},
        {"server never answers the handshake", [](PeerSocket &s) { s.readRest(std::chrono::milliseconds(1500)); },
         "TimeoutError"},
        {"server closes after the handshake",
         [](PeerSocket &s) {
             s.readExactly(5);
             s.write(QByteArray("\x06\x00\x00\x00\x00", 5));
         },
         "ConnectionError"},
        {"server rejects the credentials",
         [](PeerSocket &s) {
             s.readExactly(5);
             s.write(QByteArray("\x06\x00\x00\x00\x00", 5));
             s.readMessage();
             s.write("{\"error\":{\"name\":\"TDBXError\",\"code\":0,\"message\":\"Remote error: Authentication manager "
                     "rejected user credentials. This may due to invalid combination of DS user name and password\"}");
             s.readRest(std::chrono::milliseconds(1500));
         },
         "TDBXError: Remote error: Authentication manager rejected user credentials."},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.label);
        ScriptedPeer peer(c.script, false);
        auto connection = connectTo(peer.port());
        const QString raised = raisedBy<WireError>([&] { connection->open(); });
        EXPECT_TRUE(raised.startsWith(QLatin1StringView(c.expected))) << raised.toStdString();
        EXPECT_FALSE(connection->isOpen());
        connection->close();
        EXPECT_EQ(peer.finish(), std::vector<QString>{});
    }
}

TEST(WireFaults, RetryingOpenerGivesUpOnADeadPortAndOpensALiveOne)
{
    // A port that was free a moment ago: nothing listens there now.
    quint16 deadPort = 0;
    {
        QTcpServer probe;
        ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
        deadPort = probe.serverPort();
    }
    auto dead = connectTo(deadPort);
    EXPECT_TRUE(raisedBy<ConnectionError>([&] { dead->open(); }).startsWith(u"ConnectionError: Cannot connect"_s));
    int pauses = 0;
    int reports = 0;
    EXPECT_FALSE(openWithRetries(*dead, OpenerMode::Reporting, [&] { ++reports; },
                                 [&](std::chrono::milliseconds) { ++pauses; }));
    EXPECT_EQ(pauses, kOpenerAttempts);
    EXPECT_EQ(reports, 1);

    auto invalid = connectTo(0);
    invalid->setPort(u"90x0"_s);
    EXPECT_TRUE(raisedBy<ConnectionError>([&] { invalid->open(); }).startsWith(u"ConnectionError: Invalid port"_s));

    ScriptedPeer peer([](PeerSocket &) {});
    auto live = connectTo(peer.port());
    EXPECT_TRUE(openWithRetries(*live, OpenerMode::Silent, {}, [](std::chrono::milliseconds) {}));
    EXPECT_TRUE(live->isOpen());
    live->close();
    EXPECT_EQ(peer.finish(), std::vector<QString>{});
}

} // namespace
