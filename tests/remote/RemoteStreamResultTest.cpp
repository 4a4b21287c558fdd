#include "QtPrinters.h"

#include "core/remote/StreamResult.h"
#include "core/wire/WireError.h"
#include "core/wire/WireStream.h"

#include <gtest/gtest.h>

#include <vector>

namespace morvex {
namespace {

    // A stream over bytes that remembers every read it was asked for.
    class WatchedStream : public WireStream
    {
    public:
        explicit WatchedStream(QByteArray bytes, qint64 failAfter = -1)
            : m_bytes(std::move(bytes))
            , m_failAfter(failAfter)
        {
        }
        qint64 read(char *data, qint64 maxSize) override
        {
            reads.push_back(maxSize);
            if (m_failAfter >= 0 && m_position >= m_failAfter)
                throw ConnectionError(QStringLiteral("bağlantı koptu"));
            const qint64 n = std::min(maxSize, m_bytes.size() - m_position);
            std::copy_n(m_bytes.constData() + m_position, n, data);
            m_position += n;
            return n;
        }
        std::vector<qint64> reads;

    private:
        QByteArray m_bytes;
        qint64 m_position = 0;
        qint64 m_failAfter;
    };

    QByteArray pattern(int length)
    {
        QByteArray bytes(length, Qt::Uninitialized);
        for (int i = 0; i < length; ++i)
            bytes[i] = static_cast<char>(i * 7 + 3);
        return bytes;
    }

    TEST(RemoteStreamResult, ReadsInBlocksAndKeepsOnlyTheAnnouncedLength)
    {
        const struct
        {
            const char *name;
            int actual; // bytes the stream holds
            qint64 announced; // length the method announced
            bool accepted;
            std::size_t reads; // read calls made
        } cases[] = {
            { "announced 0: nothing is read", 500, 0, false, 0 },
            { "negative length: nothing is read", 500, -1, false, 0 },
            { "shorter than a block", 500, 500, true, 1 },
            { "several blocks and a short one", 3000, 3000, true, 3 },
            { "whole blocks end with an empty read", 2048, 2048, true, 3 },
            { "fewer bytes than announced", 2000, 3000, false, 2 },
            { "more bytes than announced", 3000, 2000, false, 2 },
            { "empty stream with a length", 0, 10, false, 1 },
        };
        for (const auto &c : cases) {
            SCOPED_TRACE(c.name);
            WatchedStream stream(pattern(c.actual));
            const std::optional<QByteArray> bytes = readStreamResult(&stream, c.announced);
            EXPECT_EQ(bytes.has_value(), c.accepted);
            if (bytes) {
                EXPECT_TRUE(*bytes == pattern(c.actual));
            }
            EXPECT_EQ(stream.reads.size(), c.reads);
            for (qint64 size : stream.reads)
                EXPECT_EQ(size, 1024);
        }
    }

    TEST(RemoteStreamResult, StopsReadingOnceTheAnnouncedLengthIsExceeded)
    {
        // A server that announces 2 KB and sends 10 MB must not make the client hold 10 MB.
        WatchedStream stream(pattern(10 * 1024 * 1024));
        EXPECT_FALSE(readStreamResult(&stream, 2048).has_value());
        EXPECT_EQ(stream.reads.size(), 3u);
    }

    TEST(RemoteStreamResult, ReportsProgressAfterEveryBlock)
    {
        WatchedStream stream(pattern(2500));
        std::vector<std::pair<qint64, qint64>> progress;
        const auto bytes = readStreamResult(
            &stream, 2500, [&](qint64 read, qint64 total) { progress.emplace_back(read, total); });
        ASSERT_TRUE(bytes.has_value());
        const std::vector<std::pair<qint64, qint64>> expected { { 1024, 2500 }, { 2048, 2500 },
            { 2500, 2500 } };
        EXPECT_EQ(progress, expected);
    }

    TEST(RemoteStreamResult, NullStreamIsAbsentAndTransportFailuresRaise)
    {
        EXPECT_FALSE(readStreamResult(nullptr, 100).has_value());
        WatchedStream broken(pattern(5000), 2048);
        EXPECT_THROW(readStreamResult(&broken, 5000), ConnectionError);
    }

} // namespace
} // namespace morvex
