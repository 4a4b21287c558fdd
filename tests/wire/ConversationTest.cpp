// Both sides against the recorded conversations in data/conversations: our server must answer
// the recorded requests byte for byte, and our client must send the recorded requests byte for
// byte when it is answered with the recorded replies.

#include "Conversation.h"
#include "TestPeer.h"
#include "TestRegistry.h"

#include "core/data/RecordSet.h"
#include "core/wire/DataSnapConnection.h"
#include "core/wire/DataSnapServer.h"
#include "core/wire/ServerMethodCommand.h"
#include "core/wire/WireError.h"
#include "core/wire/WireStream.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace morvex;
using namespace morvex::test;

namespace {

std::vector<QString> conversationFiles()
{
    std::vector<QString> files;
    for (const QString &name : QDir(conversationDir()).entryList({u"*.conv"_s}, QDir::Files, QDir::Name))
        files.push_back(name);
    return files;
}

class ServerConversation : public testing::TestWithParam<QString>
{
};

TEST_P(ServerConversation, AnswersTheRecordedRequestsByteForByte)
{
    const Conversation conv = Conversation::load(conversationDir() + u'/' + GetParam());
    if (conv.options.count(u"side"_s) && conv.options.at(u"side"_s) != u"server")
        GTEST_SKIP() << "client-side only";
    TestRegistry registry;
    DataSnapServerOptions options;
    if (conv.options.count(u"buffer"_s))
        options.bufferBytes = conv.options.at(u"buffer"_s).toInt();
    DataSnapServer server(registry, options);
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0)) << server.errorString().toStdString();
    RawClient client(server.serverPort());
    ASSERT_TRUE(client.connected());
    if (!conv.options.count(u"raw"_s)) {
        client.peer().write(QByteArray(wire::kFilterQuery, 5));
        ASSERT_EQ(client.peer().readExactly(5), QByteArray(wire::kNoFilterReply, 5));
        client.peer().write("{\"method\":\"connect\",\"params\":[{}]}");
        ASSERT_EQ(client.peer().readExactly(27), "{\"result\":[0,\"DataSnap\",2]}");
    }
    int step = 0;
    for (const Conversation::Step &s : conv.steps) {
        ++step;
        if (s.fromClient) {
            client.peer().write(s.bytes);
        } else {
            const QByteArray got = client.peer().readExactly(s.bytes.size());
            ASSERT_EQ(hexDump(got).toStdString(), hexDump(s.bytes).toStdString()) << "step " << step;
        }
    }
    // Nothing unasked follows (reader_close and the like have no answer).
    client.peer().write("{\"method\":\"disconnect\",\"params\":[0]}");
    EXPECT_EQ(client.peer().readRest(std::chrono::milliseconds(2000)), QByteArray());
}

std::string testName(const testing::TestParamInfo<QString> &info)
{
    QString name = info.param;
    name.chop(5);
    return name.replace(u'-', u'_').toStdString();
}

INSTANTIATE_TEST_SUITE_P(Wire, ServerConversation, testing::ValuesIn(conversationFiles()), testName);

// Plays the server's part of a conversation and checks every byte the client sends.
std::vector<QString> replayAgainstClient(const QString &file, const std::function<void(DataSnapConnection &)> &actions)
{
    const Conversation conv = Conversation::load(conversationDir() + u'/' + file);
    ScriptedPeer peer([&conv](PeerSocket &socket) {
        int step = 0;
        for (const Conversation::Step &s : conv.steps) {
            ++step;
            if (!s.fromClient) {
                socket.write(s.bytes);
                continue;
            }
            const QByteArray got = socket.readExactly(s.bytes.size());
            if (got != s.bytes) {
                throw std::runtime_error(QStringLiteral("step %1: client sent\n  %2\nexpected\n  %3")
                                             .arg(step)
                                             .arg(hexDump(got), hexDump(s.bytes))
                                             .toStdString());
            }
        }
        socket.readRest(std::chrono::milliseconds(3000));
    });
    DataSnapConnection connection;
    connection.setHostName(u"127.0.0.1"_s);
    connection.setPort(QString::number(peer.port()));
    connection.setReadTimeout(std::chrono::milliseconds(5000));
    connection.open();
    actions(connection);
    connection.close();
    return peer.finish();
}

TEST(WireClientConversation, PrepareKeepsHandleAndParameters)
{
    const auto failures = replayAgainstClient(u"C-prepare-echo.conv"_s, [](DataSnapConnection &c) {
        ServerMethodCommand echo(c, u"TServerMethods1.EchoString"_s);
        echo.prepare();
        EXPECT_EQ(echo.handle(), 0);
        ASSERT_EQ(echo.parameters().size(), 2u);
        EXPECT_EQ(echo.parameters()[0], (ParamSpec{u"Value"_s, DataType::WideString, 0, Direction::In}));
        EXPECT_EQ(echo.parameters()[1], (ParamSpec{u"ReturnParameter"_s, DataType::WideString, 0, Direction::Return}));
    });
    EXPECT_EQ(failures, std::vector<QString>{});
}

TEST(WireClientConversation, ExecuteSendsEveryPositionAndReadsTheResult)
{
    const auto failures = replayAgainstClient(u"D-execute-echo.conv"_s, [](DataSnapConnection &c) {
        ServerMethodCommand echo(c, u"TServerMethods1.EchoString"_s);
        echo.prepare();
        echo.execute({WireValue::text(u"abc"_s), WireValue::text(u"ignored: a return slot"_s)});
        EXPECT_TRUE(echo.value(0).isNull());
        EXPECT_EQ(echo.value(1).toText(), u"abc"_s);
    });
    EXPECT_EQ(failures, std::vector<QString>{});
}

TEST(WireClientConversation, TableResultBecomesARecordSetAndTheReaderIsClosedWithTheNextRequest)
{
    const auto failures = replayAgainstClient(u"E-table-result.conv"_s, [](DataSnapConnection &c) {
        ServerMethodCommand echo(c, u"TServerMethods1.EchoString"_s);
        echo.prepare();
        auto parts = std::make_unique<ServerMethodCommand>(c, u"TServerMethods1.GetParts"_s);
        parts->prepare();
        parts->execute({});
        const auto &set = parts->value(0).toTable();
        ASSERT_TRUE(set);
        ASSERT_EQ(set->fieldCount(), 2);
        EXPECT_EQ(set->field(0).name, u"PartNo"_s);
        EXPECT_EQ(set->field(0).type, FieldType::Text);
        EXPECT_EQ(set->field(1).type, FieldType::Int32);
        ASSERT_EQ(set->rowCount(), 3);
        EXPECT_EQ(set->text(1, 0), u"B22"_s);
        EXPECT_EQ(set->int32(1, 1), 300);
        EXPECT_EQ(set->int32(2, 1), -1);
        parts.reset(); // command_close goes out, with the buffered reader_close before it
    });
    EXPECT_EQ(failures, std::vector<QString>{});
}

TEST(WireClientConversation, StreamIsReadInFullBlocksPullingMoreBlobAsItGoes)
{
    const auto failures = replayAgainstClient(u"F-stream-more-blob.conv"_s, [](DataSnapConnection &c) {
        ServerMethodCommand echo(c, u"TServerMethods1.EchoString"_s), parts(c, u"TServerMethods1.GetParts"_s),
            pdf(c, u"TServerMethods1.GetPdf"_s);
        echo.prepare();
        parts.prepare();
        pdf.prepare();
        pdf.execute({});
        const auto &stream = pdf.value(0).toStream();
        QByteArray all;
        std::vector<qsizetype> blocks;
        for (;;) {
            const QByteArray block = stream->readBlock(1024);
            if (!block.isEmpty()) {
                all += block;
                blocks.push_back(block.size());
            }
            if (block.size() < 1024)
                break;
        }
        EXPECT_EQ(blocks, (std::vector<qsizetype>{1024, 1024, 952}));
        EXPECT_EQ(all, testBlob(0, 3000));
    });
    EXPECT_EQ(failures, std::vector<QString>{});
}

TEST(WireClientConversation, ErrorRepliesRaiseWithNameCodeAndMessage)
{
    const auto failures = replayAgainstClient(u"G-error-unknown-method.conv"_s, [](DataSnapConnection &c) {
        ServerMethodCommand foo(c, u"TServerMethods1.Foo"_s);
        try {
            foo.prepare();
            ADD_FAILURE() << "prepare of an unknown method succeeded";
        } catch (const RemoteError &e) {
            EXPECT_EQ(e.kind(), u"TDBXError"_s);
            EXPECT_EQ(e.code(), 105);
            EXPECT_EQ(e.message(), u"Remote error: TServerMethods1.Foo method not found in the server method list"_s);
            EXPECT_EQ(e.plainMessage(), u"TServerMethods1.Foo method not found in the server method list"_s);
        }
        EXPECT_EQ(foo.handle(), -1);
        EXPECT_TRUE(c.isOpen());
    });
    EXPECT_EQ(failures, std::vector<QString>{});

    const auto failures2 = replayAgainstClient(u"G2-error-plain-exception.conv"_s, [](DataSnapConnection &c) {
        ServerMethodCommand find(c, u"TServerMethods1.FindPart"_s);
        find.prepare();
        try {
            find.execute({WireValue::text(u"X9"_s)});
            ADD_FAILURE() << "execute succeeded";
        } catch (const RemoteError &e) {
            EXPECT_EQ(e.kind(), u"Exception"_s);
            EXPECT_EQ(e.code(), 5);
            EXPECT_EQ(e.message(), u"Remote error: Part not found"_s);
        }
        EXPECT_EQ(find.handle(), 0) << "the command stays valid after an error";
        EXPECT_EQ(find.valueCount(), 0);
    });
    EXPECT_EQ(failures2, std::vector<QString>{});
}

TEST(WireClientConversation, ObjectArgumentTravelsAsAJsonBlock)
{
    const auto failures = replayAgainstClient(u"H-object-parameter.conv"_s, [](DataSnapConnection &c) {
        ServerMethodCommand echo(c, u"TServerMethods1.EchoString"_s), parts(c, u"TServerMethods1.GetParts"_s),
            pdf(c, u"TServerMethods1.GetPdf"_s), add(c, u"TServerMethods1.AddLine"_s);
        echo.prepare();
        parts.prepare();
        pdf.prepare();
        add.prepare();
        add.execute({WireValue::json("{\"type\":\"uOrders.TOrderLine\",\"id\":1,\"fields\":{\"FPartNo\":\"A1\",\"FQty\":5}}")});
        EXPECT_TRUE(add.value(0).isNull());
        EXPECT_EQ(add.value(1).toInt32(), 1001);
    });
    EXPECT_EQ(failures, std::vector<QString>{});
}

TEST(WireClientConversation, HandshakeAndConnectSendEverySettingAsAString)
{
    ScriptedPeer peer([](PeerSocket &) {});
    DataSnapConnection connection;
    connection.setHostName(u"127.0.0.1"_s);
    connection.setPort(QString::number(peer.port()));
    connection.setProperty(u"DSAuthenticationUser"_s, u"D1234"_s);
    connection.open();
    EXPECT_TRUE(connection.isOpen());
    EXPECT_EQ(connection.productName(), u"DataSnap"_s);
    EXPECT_EQ(connection.protocolVersion(), 2);
    connection.close();
    EXPECT_FALSE(connection.isOpen());
    EXPECT_EQ(peer.finish(), std::vector<QString>{});
    EXPECT_EQ(peer.handshakeBytes(), QByteArray(5, '\x05'));
    const std::vector<std::pair<QString, QString>> expected = {
        {u"DriverName"_s, u"DataSnap"_s},
        {u"CommunicationProtocol"_s, u"tcp/ip"_s},
        {u"HostName"_s, u"127.0.0.1"_s},
        {u"Port"_s, QString::number(peer.port())},
        {u"Filters"_s, u"{}"_s},
        {u"DatasnapContext"_s, u"datasnap/"_s},
        {u"DSProxyPort"_s, u"8094"_s},
        {u"DSAuthenticationUser"_s, u"D1234"_s},
    };
    EXPECT_EQ(peer.connectProperties(), expected);
}

} // namespace
