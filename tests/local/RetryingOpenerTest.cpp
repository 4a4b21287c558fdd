#include "core/local/RetryingOpener.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <stdexcept>

using namespace std::chrono_literals;
using namespace morvex;

namespace {

struct NotAnException
{
};

// A connection whose open() raises until a given attempt; records what the opener does.
class StandInConnection final : public OpenableConnection
{
public:
    explicit StandInConnection(int opensOnAttempt = 0, std::function<void()> raise = {})
        : m_opensOnAttempt(opensOnAttempt)
        , m_raise(raise ? std::move(raise) : [] { throw std::runtime_error("refused"); })
    {
    }

    void open() override
    {
        ++attempts;
        events << QStringLiteral("open");
        if (attempts == m_opensOnAttempt)
            connected = true;
        else
            m_raise();
    }
    void close() override
    {
        events << QStringLiteral("close");
        connected = false;
    }
    bool isOpen() const override { return connected; }

    int attempts = 0;
    QStringList events;
    bool connected = false;

private:
    int m_opensOnAttempt;
    std::function<void()> m_raise;
};

struct Recorder
{
    StandInConnection *connection = nullptr;
    std::vector<std::chrono::milliseconds> pauses;
    int reports = 0;
    int attemptsWhenReported = -1;

    PauseFunction pause()
    {
        return [this](std::chrono::milliseconds d) {
            pauses.push_back(d);
            connection->events << QStringLiteral("pause");
        };
    }
    FailureReporter reporter()
    {
        return [this] {
            ++reports;
            attemptsWhenReported = connection->attempts;
        };
    }
};

TEST(RetryingOpener, DeadServerCostsElevenAttemptsAndElevenPauses)
{
    for (const OpenerMode mode : {OpenerMode::Silent, OpenerMode::Reporting}) {
        StandInConnection connection;
        Recorder recorder{&connection};
        EXPECT_FALSE(openWithRetries(connection, mode, recorder.reporter(), recorder.pause()));
        EXPECT_EQ(connection.attempts, 11);
        EXPECT_EQ(recorder.pauses, std::vector<std::chrono::milliseconds>(11, 500ms));
        EXPECT_FALSE(connection.isOpen());
        if (mode == OpenerMode::Reporting) {
            EXPECT_EQ(recorder.reports, 1);
            EXPECT_EQ(recorder.attemptsWhenReported, 11);
        } else {
            EXPECT_EQ(recorder.reports, 0);
        }
    }
}

TEST(RetryingOpener, ClosesFirstAndStopsAtTheFirstSuccess)
{
    StandInConnection connection(3);
    connection.connected = true; // a connection left open by an earlier use
    Recorder recorder{&connection};
    EXPECT_TRUE(openWithRetries(connection, OpenerMode::Reporting, recorder.reporter(), recorder.pause()));
    EXPECT_EQ(connection.events, QStringList({QStringLiteral("close"), QStringLiteral("open"), QStringLiteral("close"),
                                              QStringLiteral("pause"), QStringLiteral("open"), QStringLiteral("close"),
                                              QStringLiteral("pause"), QStringLiteral("open")}));
    EXPECT_EQ(recorder.reports, 0);
}

TEST(RetryingOpener, SwallowsWhateverOpenRaises)
{
    const std::vector<std::function<void()>> raisers = {
        [] { throw std::runtime_error("refused"); },
        [] { throw 7; },
        [] { throw NotAnException{}; },
        [] { throw std::bad_alloc(); },
    };
    for (const auto &raise : raisers) {
        StandInConnection connection(0, raise);
        Recorder recorder{&connection};
        bool opened = true;
        EXPECT_NO_THROW(opened = openWithRetries(connection, OpenerMode::Silent, {}, recorder.pause()));
        EXPECT_FALSE(opened);
        EXPECT_EQ(connection.attempts, 11);
    }
}

TEST(RetryingOpener, OpenThatLeavesTheConnectionClosedCountsAsFailure)
{
    StandInConnection connection(0, [] {}); // open() returns quietly but never connects
    Recorder recorder{&connection};
    EXPECT_FALSE(openWithRetries(connection, OpenerMode::Reporting, recorder.reporter(), recorder.pause()));
    EXPECT_EQ(connection.attempts, 11);
    EXPECT_EQ(recorder.pauses.size(), 11u);
    EXPECT_EQ(recorder.reports, 1);
}

TEST(RetryingOpener, ReporterThatRaisesDoesNotEscape)
{
    StandInConnection connection;
    Recorder recorder{&connection};
    bool opened = true;
    EXPECT_NO_THROW(opened = openWithRetries(
                        connection, OpenerMode::Reporting, [] { throw std::runtime_error("no UI"); },
                        recorder.pause()));
    EXPECT_FALSE(opened);
}

// The default pause really waits: 11 pauses of 500 ms against a server that never answers.
TEST(RetryingOpener, DefaultPauseWaitsFiveAndAHalfSeconds)
{
    StandInConnection connection;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(openWithRetries(connection, OpenerMode::Silent));
    EXPECT_GE(std::chrono::steady_clock::now() - start, 5500ms);
    EXPECT_EQ(connection.attempts, 11);
}

} // namespace
