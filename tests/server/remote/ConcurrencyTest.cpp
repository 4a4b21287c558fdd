#include "ServerHarness.h"

#include <gtest/gtest.h>

#include <QTcpSocket>

#include <atomic>
#include <thread>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;
using namespace morvex;
using namespace morvex::test;

namespace {

constexpr int kDealer = 3;
constexpr int kClients = 20;
constexpr int kItemsPerClient = 5;

int col(const RecordSet &set, QStringView name)
{
    return set.fieldIndex(name);
}

} // namespace

// Twenty clients, each on its own connection, add, change and delete basket lines of one account
// at the same time; every client also adds to one shared item. Nothing may be lost or doubled.
TEST(ServerConcurrency, TwentyClientsEditOneBasketAtOnce)
{
    ServerHarness server;
    const TSonucBilgisi session = server.session(u"DEMO-BAYI0"_s);
    const int sharedItem = 7;
    std::atomic<int> failures{0};
    std::vector<std::thread> clients;
    for (int t = 0; t < kClients; ++t) {
        clients.emplace_back([&, t] {
            try {
                auto connection = server.connect();
                TServerMethods1Client proxy(*connection);
                const int first = 200 + t * kItemsPerClient;
                for (int i = 0; i < kItemsPerClient; ++i)
                    proxy.SepetEkle(copyOf(session), kDealer, first + i, {}, {}, 1, 18, 0, 0, 3, 0);
                proxy.SepetEkle(copyOf(session), kDealer, sharedItem, {}, {}, 1, 18, 0, 0, 3, 0);
                const RecordSet basket = proxy.SepetVer(kDealer);
                for (int r = 0; r < basket.rowCount(); ++r) {
                    const int stokno = basket.int32(r, col(basket, u"STOKNO"));
                    const int line = basket.int32(r, col(basket, u"SIRANO"));
                    if (stokno == first || stokno == first + 1)
                        proxy.SepetSatirSil(copyOf(session), line, {});
                    else if (stokno >= first + 2 && stokno < first + kItemsPerClient)
                        proxy.SepetGuncelle(copyOf(session), kDealer, 0, {}, {}, 10 + t, 18, 0, 0, 3, line);
                }
            } catch (const std::exception &e) {
                ++failures;
                ADD_FAILURE() << "client " << t << ": " << e.what();
            }
        });
    }
    for (std::thread &t : clients)
        t.join();
    ASSERT_EQ(failures.load(), 0);

    const RecordSet basket = server.storage().basket(kDealer);
    std::map<int, double> quantity;
    for (int r = 0; r < basket.rowCount(); ++r) {
        const int stokno = basket.int32(r, col(basket, u"STOKNO"));
        EXPECT_EQ(quantity.count(stokno), 0u) << "item " << stokno << " twice";
        quantity[stokno] = basket.real(r, col(basket, u"MIKTAR"));
    }
    EXPECT_DOUBLE_EQ(quantity[sharedItem], kClients) << "every client's add of the shared item counted once";
    for (int t = 0; t < kClients; ++t) {
        const int first = 200 + t * kItemsPerClient;
        EXPECT_EQ(quantity.count(first), 0u);
        EXPECT_EQ(quantity.count(first + 1), 0u);
        for (int i = 2; i < kItemsPerClient; ++i)
            EXPECT_DOUBLE_EQ(quantity[first + i], 10 + t) << "client " << t << " item " << i;
    }
}

TEST(ServerConcurrency, AStalledClientDoesNotHoldUpTheOthers)
{
    ServerHarness server;
    QTcpSocket stalled;
    stalled.connectToHost(u"127.0.0.1"_s, server.port());
    ASSERT_TRUE(stalled.waitForConnected(5000));
    stalled.write(QByteArray("\x05\x05\x05\x05\x05", 5) + "{\"method\":\"prepare\",\"params\":[-1,false,\"Data");
    ASSERT_TRUE(stalled.waitForBytesWritten(5000));

    auto connection = server.connect();
    TServerMethods1Client proxy(*connection);
    EXPECT_EQ(proxy.EchoString(u"geçti"_s), u"geçti"_s);
    EXPECT_GT(proxy.SepetVer(kDealer).rowCount(), 0);
}

TEST(ServerConcurrency, AClientThatVanishesMidCallLeavesTheDatabaseConsistent)
{
    ServerHarness server;
    const TSonucBilgisi session = server.session(u"DEMO-BAYI0"_s);
    for (int round = 0; round < 10; ++round) {
        auto connection = server.connect();
        TServerMethods1Client proxy(*connection);
        std::thread caller([&] {
            try {
                proxy.SiparisKaydet(copyOf(session), kDealer, 2, 1, u"yarım"_s, 3, 1);
            } catch (const std::exception &) {
            }
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(round));
        connection->close();
        caller.join();
    }
    auto &db = server.storage().database();
    server::SqliteStatement &orphans = db.prepare(
        "SELECT (SELECT count(*) FROM siparis o WHERE NOT EXISTS (SELECT 1 FROM siparis_satir l WHERE l.idno = o.idno)), "
        "(SELECT count(*) FROM siparis_satir l JOIN sepet b ON b.sirano = l.sepetsirano)");
    ASSERT_TRUE(orphans.step());
    EXPECT_EQ(orphans.int32(0), 0) << "an order without lines";
    EXPECT_EQ(orphans.int32(1), 0) << "a line both ordered and still in the basket";
    orphans.reset();
}
