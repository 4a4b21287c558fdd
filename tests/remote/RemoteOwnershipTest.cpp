#include "RemoteTestServer.h"

#include "core/records/TSonucBilgisi.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace Qt::StringLiterals;

namespace morvex::test {
namespace {

    TSonucBilgisi sharedSession()
    {
        TSonucBilgisi session;
        session.setBILGISAYARID(u"WD-WCC4E1234567"_s);
        session.setCARINO(4711);
        session.setSirano(12);
        session.setCariAdi(u"Işık Oto Yedek Parça"_s);
        session.setSIFRE(u"gizli"_s);
        session.setVarmi(true);
        return session;
    }

    // The object argument belongs to the call: it is moved in, written and gone; the shared session
    // record it was copied from is untouched, and the server got the copy's fields.
    TEST(RemoteOwnership, ObjectArgumentIsConsumedAndTheSharedRecordUntouched)
    {
        RemoteTestServer server;
        auto connection = server.connect();
        TServerMethods1Client proxy(*connection);

        const TSonucBilgisi shared = sharedSession();
        const TSonucBilgisi before = shared;
        auto copy = std::make_unique<TSonucBilgisi>();
        copy->Kopyala(shared);
        const QString sentForm = argumentText(copy.get());

        proxy.StokAraOrvex(u"fren"_s, std::move(copy));

        EXPECT_EQ(copy, nullptr); // NOLINT(bugprone-use-after-move): the point of the test
        EXPECT_EQ(shared, before);
        EXPECT_TRUE(server.methods().lastCall().endsWith(sentForm + u')'))
            << server.methods().lastCall().toStdString();
    }

    // Background loads: several workers at once, each on its own connection clone and proxy, each
    // sending its own copy of one shared session record that nobody writes.
    TEST(RemoteOwnership, WorkersUseTheirOwnClonesAndProxies)
    {
        RemoteTestServer server;
        auto main = server.connect();
        const TSonucBilgisi shared = sharedSession();
        const TSonucBilgisi before = shared;
        const RoundTripPlan plan;

        constexpr int workers = 4;
        constexpr int callsEach = 20;
        std::atomic<int> good { 0 };
        std::vector<std::thread> threads;
        std::vector<std::string> failures(workers);
        for (int w = 0; w < workers; ++w) {
            threads.emplace_back([&, w] {
                try {
                    auto clone = main->clone();
                    clone->open();
                    TServerMethods1Client proxy(*clone);
                    for (int i = 0; i < callsEach; ++i) {
                        auto copy = std::make_unique<TSonucBilgisi>();
                        copy->Kopyala(shared);
                        const QString kod = u"işçi %1 çağrı %2"_s.arg(w).arg(i);
                        const QString call = u"StokAraOrvex("_s + argumentText(kod) + u", "_s
                            + argumentText(copy.get()) + u')';
                        const RecordSet result = proxy.StokAraOrvex(kod, std::move(copy));
                        const QString difference
                            = tableDifference(derive::table(derive::key(call), 2, plan.tableRows), result);
                        if (difference.isEmpty())
                            ++good;
                        else
                            failures[w] = difference.toStdString();
                    }
                    clone->close();
                } catch (const std::exception &e) {
                    failures[w] = e.what();
                }
            });
        }
        for (auto &t : threads)
            t.join();
        for (const auto &failure : failures)
            EXPECT_EQ(failure, "");
        EXPECT_EQ(good.load(), workers * callsEach);
        EXPECT_EQ(server.methods().calls().size(), workers * callsEach);
        EXPECT_EQ(shared, before);
    }

} // namespace
} // namespace morvex::test
