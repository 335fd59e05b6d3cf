#include "platform/qt/termination_signals.h"

#include <gtest/gtest.h>

#include "support/test_application.h"

#include <QApplication>
#include <csignal>
#include <vector>

namespace {

void EnsureApplication() {
    TestApplication();
}

sighandler_t CurrentHandler(int signalNumber) {
    struct sigaction current {};
    ::sigaction(signalNumber, nullptr, &current);
    return current.sa_handler;
}

// Processes events until `done` holds; the signal's byte is already in the pipe, so
// the first pass normally suffices.
template <typename Condition>
void ProcessEventsUntil(Condition done) {
    for (int pass = 0; pass < 1000 && !done(); ++pass) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
}

TEST(TerminationSignals, DeliversTermAndIntInTheEventLoop) {
    EnsureApplication();
    std::vector<int> received;
    {
        TerminationSignals handler;
        ASSERT_TRUE(handler.IsActive());
        QObject::connect(&handler, &TerminationSignals::Received,
                         [&received](int number) { received.push_back(number); });
        ASSERT_EQ(::raise(SIGTERM), 0);
        ASSERT_EQ(::raise(SIGINT), 0);
        EXPECT_TRUE(received.empty()) << "only in the event loop";
        ProcessEventsUntil([&received] { return received.size() == 2; });
    }
    EXPECT_EQ(received, (std::vector<int>{SIGTERM, SIGINT}));
}

TEST(TerminationSignals, RestoresThePreviousHandlers) {
    EnsureApplication();
    const sighandler_t before = CurrentHandler(SIGTERM);
    {
        TerminationSignals handler;
        ASSERT_TRUE(handler.IsActive());
        EXPECT_NE(CurrentHandler(SIGTERM), before);
        // A second instance while the first is active does not take over.
        TerminationSignals second;
        EXPECT_FALSE(second.IsActive());
    }
    EXPECT_EQ(CurrentHandler(SIGTERM), before);
    EXPECT_EQ(CurrentHandler(SIGINT), before);
    TerminationSignals again;
    EXPECT_TRUE(again.IsActive());
}

}  // namespace
