#include "platform/local_time.h"

#include <gtest/gtest.h>

#include "support/environment.h"

#include <cstdlib>
#include <string>

namespace {

using test_support::ScopedEnvironment;

constexpr std::int64_t kThirdNovember2006At0905Utc = 1162544700;

TEST(LocalTimeTest, BreakdownFollowsTheTimeZone) {
    {
        ScopedEnvironment zone("TZ", "UTC");
        const std::tm utc = local_time::Breakdown(kThirdNovember2006At0905Utc);
        EXPECT_EQ(utc.tm_mday, 3);
        EXPECT_EQ(utc.tm_mon, 10);
        EXPECT_EQ(utc.tm_year, 106);
        EXPECT_EQ(utc.tm_hour, 9);
        EXPECT_EQ(utc.tm_min, 5);
    }
    ScopedEnvironment zone("TZ", "UTC-3");  // three hours east of UTC
    EXPECT_EQ(local_time::Breakdown(kThirdNovember2006At0905Utc).tm_hour, 12);
}

TEST(LocalTimeTest, ShortFormsComeFromTheEnvironmentLocale) {
    ScopedEnvironment zone("TZ", "UTC");
    ScopedEnvironment locale("LC_ALL", "C");
    const std::tm local = local_time::Breakdown(kThirdNovember2006At0905Utc);
    EXPECT_EQ(local_time::ShortDate(local), "11/03/06");
    EXPECT_EQ(local_time::ShortTime(local), "09:05:00");
}

TEST(LocalTimeTest, UnknownLocaleFallsBackToC) {
    ScopedEnvironment zone("TZ", "UTC");
    ScopedEnvironment locale("LC_ALL", "xx_NOWHERE.UTF-8");
    EXPECT_EQ(local_time::ShortDate(local_time::Breakdown(kThirdNovember2006At0905Utc)),
              "11/03/06");
}

TEST(LocalTimeTest, Iso8601CarriesTheZonesOffsetWithItsSign) {
    {
        ScopedEnvironment zone("TZ", "UTC");
        EXPECT_EQ(local_time::Iso8601(kThirdNovember2006At0905Utc), "2006-11-03T09:05:00+00:00");
    }
    {
        ScopedEnvironment zone("TZ", "UTC+3:30");  // three and a half hours west of UTC
        EXPECT_EQ(local_time::Iso8601(kThirdNovember2006At0905Utc, 7),
                  "2006-11-03T05:35:00.007-03:30");
    }
    ScopedEnvironment zone("TZ", "Europe/Berlin");  // summer time: +02:00
    EXPECT_EQ(local_time::Iso8601(1151913600), "2006-07-03T10:00:00+02:00");
}

TEST(LocalTimeTest, NowIsAfterTheEpochAndMovesForward) {
    const std::int64_t first = local_time::Now();
    EXPECT_GT(first, kThirdNovember2006At0905Utc);
    EXPECT_GE(local_time::Now(), first);
}

}  // namespace
