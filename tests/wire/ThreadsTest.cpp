// Clones used on eight threads at once against one server: no locks, no crosstalk.

#include "Conversation.h"
#include "StockTable.h"
#include "TestRegistry.h"

#include "core/data/RecordSet.h"
#include "core/wire/DataSnapConnection.h"
#include "core/wire/DataSnapServer.h"
#include "core/wire/ServerMethodCommand.h"
#include "core/wire/WireStream.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace Qt::StringLiterals;
using namespace morvex;
using namespace morvex::test;

namespace {

TEST(WireThreads, EightClonesWorkInParallel)
{
    TestRegistry registry;
    DataSnapServerOptions options;
    options.bufferBytes = 8192; // more batches and more_blob chunks to interleave
    DataSnapServer server(registry, options);
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0));

    DataSnapConnection main;
    main.setHostName(u"127.0.0.1"_s);
    main.setPort(QString::number(server.serverPort()));
    main.setReadTimeout(std::chrono::milliseconds(30'000));

    const auto expected = makeStockTable(1500);
    constexpr int kThreads = 8;
    constexpr int kRounds = 6;
    std::atomic<int> failures{0};
    std::vector<std::string> messages(kThreads);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t, clone = main.clone()] {
            try {
                clone->open();
                ServerMethodCommand echo(*clone, u"TServerMethods1.EchoString"_s);
                ServerMethodCommand stock(*clone, u"TServerMethods1.Stock"_s);
                ServerMethodCommand blob(*clone, u"TServerMethods1.Blob"_s);
                echo.prepare();
                stock.prepare();
                blob.prepare();
                for (int round = 0; round < kRounds; ++round) {
                    const QString text = u"iş parçacığı %1 tur %2"_s.arg(t).arg(round);
                    echo.execute({WireValue::text(text)});
                    if (echo.value(1).toText() != text)
                        throw std::runtime_error("echo mismatch");

                    stock.execute({WireValue::int32(1500)});
                    const auto &set = stock.value(1).toTable();
                    if (set->rowCount() != 1500 || set->text(1499, 5) != expected->text(1499, 5)
                        || set->real(777, 29) != expected->real(777, 29))
                        throw std::runtime_error("table mismatch");

                    const int size = 50'000 + t * 1000 + round;
                    blob.execute({WireValue::int32(size)});
                    if (blob.value(2).toStream()->readAll() != testBlob(0, size))
                        throw std::runtime_error("stream mismatch");
                }
            } catch (const std::exception &e) {
                messages[size_t(t)] = e.what();
                ++failures;
            }
            clone->close();
        });
    }
    for (auto &thread : threads)
        thread.join();
    for (const auto &m : messages)
        EXPECT_EQ(m, "");
    EXPECT_EQ(failures.load(), 0);
}

} // namespace
