#include "link/head_watch.h"

#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;

TEST(HeadWatchTest, ClosedPortIsTriedOnceASecondAndASilentHeadCountsAsAbsent) {
    HeadWatch watch;
    const auto t0 = HeadWatch::Clock::now();
    // Before the first open nothing is decided.
    EXPECT_FALSE(watch.HeadAbsent(t0 + 1h));
    EXPECT_FALSE(watch.ReopenDue(t0 + 1h));

    watch.OpenAttempted(t0, false);
    EXPECT_TRUE(watch.HeadAbsent(t0));
    EXPECT_FALSE(watch.ReopenDue(t0 + 999ms));
    EXPECT_TRUE(watch.ReopenDue(t0 + 1000ms));

    watch.OpenAttempted(t0 + 1s, true);
    EXPECT_FALSE(watch.ReopenDue(t0 + 1h));
    EXPECT_FALSE(watch.HeadAbsent(t0 + 3999ms));
    EXPECT_TRUE(watch.HeadAbsent(t0 + 4s));  // nothing has arrived since the open
    watch.PacketArrived(t0 + 4s);
    EXPECT_FALSE(watch.HeadAbsent(t0 + 4100ms));

    // Lost long after the last attempt: tried again at once, absent until then.
    watch.PortLost();
    EXPECT_TRUE(watch.HeadAbsent(t0 + 4100ms));
    EXPECT_TRUE(watch.ReopenDue(t0 + 4100ms));
    // A device that opens and is lost again at once is not tried more often.
    watch.OpenAttempted(t0 + 4100ms, true);
    watch.PortLost();
    EXPECT_FALSE(watch.ReopenDue(t0 + 5099ms));
    EXPECT_TRUE(watch.ReopenDue(t0 + 5100ms));
}

}  // namespace
