#include "ServerHarness.h"

#include <gtest/gtest.h>

#include <QTcpSocket>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

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

// The client's connection goes through this relay, which passes every byte on and hangs up on
// both sides right after forwarding the first execute request: the server gets the whole call
// but its caller is gone before the reply.
class HangUpRelay
{
public:
    explicit HangUpRelay(quint16 serverPort) : m_serverPort(serverPort)
    {
        m_listen = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (::bind(m_listen, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0 || ::listen(m_listen, 1) != 0 ||
            ::getsockname(m_listen, reinterpret_cast<sockaddr *>(&address), &length) != 0)
            throw std::runtime_error("relay cannot listen");
        m_port = ntohs(address.sin_port);
        m_thread = std::thread([this] { run(); });
    }
    ~HangUpRelay()
    {
        m_thread.join();
        ::close(m_listen);
    }
    quint16 port() const { return m_port; }

private:
    void run()
    {
        const int client = ::accept(m_listen, nullptr, nullptr);
        const int upstream = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = htons(m_serverPort);
        if (client < 0 || ::connect(upstream, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0) {
            ::close(client);
            ::close(upstream);
            return;
        }
        QByteArray seen;
        char buffer[65536];
        bool hangUp = false;
        while (!hangUp) {
            pollfd fds[] = {{client, POLLIN, 0}, {upstream, POLLIN, 0}};
            if (::poll(fds, 2, 10000) <= 0)
                break;
            if (fds[0].revents) {
                const ssize_t n = ::read(client, buffer, sizeof buffer);
                if (n <= 0)
                    break;
                ::send(upstream, buffer, size_t(n), MSG_NOSIGNAL);
                seen.append(buffer, n);
                hangUp = seen.contains("\"method\":\"execute\"") && seen.endsWith("]}");
            }
            if (fds[1].revents) {
                const ssize_t n = ::read(upstream, buffer, sizeof buffer);
                if (n <= 0)
                    break;
                ::send(client, buffer, size_t(n), MSG_NOSIGNAL);
            }
        }
        ::close(client);
        ::close(upstream);
    }

    quint16 m_serverPort;
    quint16 m_port = 0;
    int m_listen = -1;
    std::thread m_thread;
};

TEST(ServerConcurrency, AClientThatVanishesMidCallLeavesTheDatabaseConsistent)
{
    ServerHarness server;
    const TSonucBilgisi session = server.session(u"DEMO-BAYI0"_s);
    const int selected = [&] {
        const RecordSet basket = server.storage().basket(kDealer);
        int n = 0;
        for (int r = 0; r < basket.rowCount(); ++r)
            n += basket.int32(r, col(basket, u"SEC")) == 1;
        return n;
    }();
    const int ordersBefore = server.storage().orders(kDealer).rowCount();
    const int basketBefore = server.storage().basket(kDealer).rowCount();
    {
        HangUpRelay relay(server.port());
        DataSnapConnection connection;
        connection.setHostName(u"127.0.0.1"_s);
        connection.setPort(QString::number(relay.port()));
        connection.setReadTimeout(10s);
        connection.open();
        TServerMethods1Client proxy(connection);
        EXPECT_ANY_THROW(proxy.SiparisKaydet(copyOf(session), kDealer, 2, 1, u"yarım"_s, 3, 1));
    }

    // Whether the server still runs the call or drops it with its caller, it is all or nothing:
    // one read snapshot sees either a new order holding every selected line and those lines gone
    // from the basket, or no new order and the basket as it was.
    auto &storage = server.storage();
    storage.database().exec("BEGIN");
    const RecordSet orders = storage.orders(kDealer);
    const int basketLines = storage.basket(kDealer).rowCount();
    if (orders.rowCount() > ordersBefore) {
        ASSERT_EQ(orders.rowCount(), ordersBefore + 1);
        EXPECT_EQ(orders.text(0, col(orders, u"VERENINNOTU")), u"yarım"_s);
        EXPECT_EQ(storage.orderLines(kDealer, orders.int32(0, col(orders, u"IDNO"))).rowCount(), selected);
        EXPECT_EQ(basketLines, basketBefore - selected);
    } else {
        EXPECT_EQ(basketLines, basketBefore);
    }
    storage.database().exec("COMMIT");
    auto &db = server.storage().database();
    server::SqliteStatement &orphans = db.prepare(
        "SELECT (SELECT count(*) FROM siparis o WHERE NOT EXISTS (SELECT 1 FROM siparis_satir l WHERE l.idno = o.idno)), "
        "(SELECT count(*) FROM siparis_satir l JOIN sepet b ON b.sirano = l.sepetsirano)");
    ASSERT_TRUE(orphans.step());
    EXPECT_EQ(orphans.int32(0), 0) << "an order without lines";
    EXPECT_EQ(orphans.int32(1), 0) << "a line both ordered and still in the basket";
    orphans.reset();
}
