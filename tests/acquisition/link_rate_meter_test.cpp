#include "acquisition/link_rate_meter.h"

#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;
using Clock = LinkRateMeter::Clock;

const Clock::time_point kStart{std::chrono::hours(5)};

LinkHealth Counts(std::uint64_t received, std::uint64_t taken) {
    LinkHealth health;
    health.framesReceived = received;
    health.framesTaken = taken;
    return health;
}

TEST(LinkRateMeterTest, AveragesTheLastSecondsAndFollowsAStreamThatStops) {
    LinkRateMeter meter;
    meter.Sample(kStart, Counts(0, 0));
    EXPECT_FALSE(meter.Current().has_value());
    meter.Sample(kStart + 50ms, Counts(1, 1));
    EXPECT_FALSE(meter.Current().has_value());  // too short to tell

    // Twenty frames a second on the line, of which the program takes thirteen; sampled
    // about once a second, never exactly.
    Clock::duration at = 50ms;
    LinkHealth last;
    for (int second = 1; second <= 20; ++second) {
        at = second * 1s + (second % 3) * 40ms;
        const double seconds = std::chrono::duration<double>(at).count();
        last = Counts(static_cast<std::uint64_t>(20 * seconds),
                      static_cast<std::uint64_t>(13 * seconds));
        meter.Sample(kStart + at, last);
    }
    ASSERT_TRUE(meter.Current().has_value());
    EXPECT_NEAR(meter.Current()->received, 20.0, 0.3);
    EXPECT_NEAR(meter.Current()->taken, 13.0, 0.3);

    // The line falls silent: within the averaging span the rates reach 0.
    for (int second = 1; second <= 6; ++second) {
        meter.Sample(kStart + at + second * 1s, last);
    }
    EXPECT_EQ(meter.Current()->received, 0.0);
    EXPECT_EQ(meter.Current()->taken, 0.0);
}

TEST(LinkRateMeterTest, CountsThatGoBackStartTheAverageAnew) {
    LinkRateMeter meter;
    meter.Sample(kStart, Counts(1000, 1000));
    meter.Sample(kStart + 1s, Counts(1010, 1010));
    meter.Sample(kStart + 2s, Counts(5, 5));
    EXPECT_FALSE(meter.Current().has_value());
    meter.Sample(kStart + 3s, Counts(13, 13));
    EXPECT_DOUBLE_EQ(meter.Current()->received, 8.0);
}

}  // namespace
