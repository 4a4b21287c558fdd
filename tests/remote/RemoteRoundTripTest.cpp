#include "CountingRelay.h"
#include "RemoteTestServer.h"
#include "RoundTripSupport.h"

#include "core/remote/StreamResult.h"
#include "core/wire/WireError.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace morvex::test {
namespace {

    struct Setting
    {
        const char *name;
        RoundTripPlan plan;
        DataSnapServerOptions options;
    };

    void PrintTo(const Setting &setting, std::ostream *out)
    {
        *out << setting.name;
    }

    // Small server buffers: tables travel in several batches (next), long texts and streams in
    // several more_blob chunks.
    DataSnapServerOptions smallBuffers()
    {
        DataSnapServerOptions options;
        options.batchThreshold = 300;
        options.inlineLimit = 200;
        options.blobChunk = 700;
        return options;
    }

    std::vector<Setting> settings()
    {
        RoundTripPlan nulls;
        nulls.nullObjects = true;
        RoundTripPlan large;
        large.tableRows = 60;
        large.streamBytes = 5000;
        large.textRepeat = 25;
        RoundTripPlan empty;
        empty.tableRows = 0;
        empty.streamBytes = 0;
        return {
            { "objects", RoundTripPlan {}, DataSnapServerOptions {} },
            { "null objects and streams", nulls, DataSnapServerOptions {} },
            { "several batches and chunks", large, smallBuffers() },
            { "empty tables and streams", empty, DataSnapServerOptions {} },
        };
    }

    class RemoteRoundTrip : public ::testing::TestWithParam<Setting>
    {
    };

    // Every method of the catalogue, through the typed proxy, over TCP, into the typed server and
    // back: the server must record exactly the arguments sent, and every output parameter and
    // result must be the value the server derived from them.
    TEST_P(RemoteRoundTrip, EveryMethod)
    {
        const Setting &setting = GetParam();
        RemoteTestServer server(setting.plan, setting.options);
        CountingRelay relay(server.port());
        auto connection = server.connect(relay.port());
        TServerMethods1Client proxy(*connection);
        Probe probe(setting.plan);

        ASSERT_EQ(roundTripCases().size(), methodCatalogue().size());
        for (const RoundTripCase &c : roundTripCases()) {
            const RemoteMethod &method = remoteMethod(c.method);
            SCOPED_TRACE(method.name);
            c.call(proxy, probe);
            EXPECT_EQ(server.methods().lastCall(), probe.callText());
        }
        EXPECT_EQ(server.methods().calls().size(), static_cast<qsizetype>(methodCatalogue().size()));
        EXPECT_EQ(proxy.preparedCommandCount(), static_cast<int>(methodCatalogue().size()));
        EXPECT_EQ(relay.count(R"("method":"prepare")"), static_cast<int>(methodCatalogue().size()));
        if (setting.plan.tableRows > 20) {
            EXPECT_GT(relay.count(R"("method":"next")"), 0) << "no table needed a second batch";
            EXPECT_GT(relay.count(R"("method":"more_blob")"), 0) << "no value needed more_blob";
        }
    }

    INSTANTIATE_TEST_SUITE_P(Remote, RemoteRoundTrip, ::testing::ValuesIn(settings()), [](const auto &info) {
        std::string name = info.param.name;
        for (char &ch : name)
            if (!std::isalnum(static_cast<unsigned char>(ch)))
                ch = '_';
        return name;
    });

    TEST(RemoteRoundTripStreams, ChunkedStreamReadsThroughTheBlockReader)
    {
        RoundTripPlan plan;
        plan.streamBytes = 7000;
        RemoteTestServer server(plan, smallBuffers());
        CountingRelay relay(server.port());
        auto connection = server.connect(relay.port());
        TServerMethods1Client proxy(*connection);

        qint64 boy = 0;
        auto stream = proxy.ResimVer5(1234, boy);
        ASSERT_NE(stream, nullptr);
        EXPECT_NE(boy, 0);
        std::vector<qint64> progress;
        // The announced length here is the server's derived value, not the real one, so announce
        // the true size the way a real server does.
        const auto bytes = readStreamResult(
            stream.get(), plan.streamBytes, [&](qint64 read, qint64) { progress.push_back(read); });
        ASSERT_TRUE(bytes.has_value());
        EXPECT_EQ(bytes->size(), plan.streamBytes);
        EXPECT_EQ(progress.size(), 7u); // six full blocks and the short seventh
        EXPECT_GE(relay.count(R"("method":"more_blob")"), 2) << "the stream did not travel in several chunks";
    }

    // A long stream is pulled as it is read, so it needs its command. Reading it after the method ran
    // again, or after the proxy went, raises instead of reading freed state or another call's bytes.
    TEST(RemoteRoundTripStreams, StreamOutlivingItsCommandRaises)
    {
        RoundTripPlan plan;
        plan.streamBytes = 5000;
        RemoteTestServer server(plan, smallBuffers());
        auto connection = server.connect();
        std::shared_ptr<WireStream> orphan;
        {
            TServerMethods1Client proxy(*connection);
            qint64 boy = 0;
            auto first = proxy.ResimVer5(1, boy);
            auto second = proxy.ResimVer5(2, boy);
            EXPECT_THROW(first->readAll(), WireError);
            EXPECT_EQ(second->readAll().size(), plan.streamBytes);
            orphan = proxy.ResimVer5(3, boy);
        }
        EXPECT_THROW(orphan->readAll(), WireError);
        TServerMethods1Client proxy(*connection); // the connection is still fine
        EXPECT_NO_THROW(proxy.KayanYaziGetir());
    }

    TEST(RemoteRoundTripStreams, BelgeIndir2ReadsItsOutputsBeforeTheResult)
    {
        // adi (position 2) and the stream (position 4) are both too long to travel inline; the
        // output parameter is fetched before the result.
        RoundTripPlan plan;
        plan.textRepeat = 40;
        plan.streamBytes = 4000;
        RemoteTestServer server(plan, smallBuffers());
        CountingRelay relay(server.port());
        auto connection = server.connect(relay.port());
        TServerMethods1Client proxy(*connection);
        Probe probe(plan);
        for (const RoundTripCase &c : roundTripCases()) {
            if (c.method == MethodId::BelgeIndir2)
                c.call(proxy, probe);
        }
        EXPECT_EQ(server.methods().lastCall(), probe.callText());
        const QByteArray sent = relay.sent();
        const qsizetype adi = sent.indexOf(",0,2,true,0]");
        const qsizetype result = sent.indexOf(",0,4,true,0]");
        ASSERT_GE(adi, 0) << "adi did not need more_blob";
        ASSERT_GE(result, 0) << "the stream did not need more_blob";
        EXPECT_LT(adi, result);
    }

} // namespace
} // namespace morvex::test
