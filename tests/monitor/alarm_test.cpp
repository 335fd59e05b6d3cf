#include <gtest/gtest.h>

#include <vector>

#include "monitor/alarm_rule.h"
#include "monitor/alarm_watch.h"
#include "monitor/duration_text.h"

namespace {

using namespace std::chrono_literals;

AlarmRule Rule(const std::string& text) {
    std::string error;
    auto rule = AlarmRule::Parse(text, error);
    EXPECT_TRUE(rule.has_value()) << error;
    return rule.value_or(AlarmRule::Parse("max>0", error).value());
}

Reading WithMax(std::optional<float> highest, TemperatureUnit unit = temperature_unit::kCelsius) {
    Reading reading;
    reading.highest = highest;
    reading.unit = unit;
    reading.framesTaken = highest ? 10 : 0;
    reading.state = "ok";
    return reading;
}

// The starts (+1) and ends (-1) a watch gives for `values`, one row each.
std::vector<int> Changes(AlarmWatch& watch, const std::vector<std::optional<float>>& values,
                         TemperatureUnit unit = temperature_unit::kCelsius) {
    std::vector<int> changes;
    for (const auto& value : values) {
        if (const auto event = watch.Update(WithMax(value, unit), std::nullopt)) {
            changes.push_back(event->started ? 1 : -1);
        }
    }
    return changes;
}

TEST(AlarmRuleTest, ReadsWhatUsersWriteAndRefusesTheRest) {
    std::string error;
    for (const char* good : {"max>80C", "min<5c", "mean>300K", "spot12<41F", "max>80", "nohead>10s",
                             "nohead>1m", "max>-5.5C"}) {
        EXPECT_TRUE(AlarmRule::Parse(good, error).has_value()) << good;
    }
    for (const char* bad : {"max", "max>", "max>hot", "maximum>80C", "spot0<5C", "spot<5C",
                            "nohead<10s", "nohead>10C", "max>80X", "max=80C"}) {
        EXPECT_FALSE(AlarmRule::Parse(bad, error).has_value()) << bad;
        EXPECT_NE(error.find(bad), std::string::npos) << "the message quotes the alarm";
    }
    EXPECT_EQ(Rule("spot12<41F").SpotNumber(), 12);
    EXPECT_FALSE(Rule("spot12<41F").Above());
}

TEST(AlarmWatchTest, ValueHoveringAtTheLimitGivesOneStartAndOneEnd) {
    AlarmWatch watch(Rule("max>30C"), 1.0);
    EXPECT_EQ(Changes(watch, {25.0f, 30.0f, 30.3f, 29.8f, 30.4f, 29.1f, 30.2f, std::nullopt, 29.5f,
                              29.0f, 29.4f, 30.1f}),
              (std::vector<int>{1, -1, 1}));
    EXPECT_TRUE(watch.Active());
}

TEST(AlarmWatchTest, BelowAlarmsEndAboveTheLimitPlusTheHysteresis) {
    AlarmWatch watch(Rule("max<5C"), 2.0);
    EXPECT_EQ(Changes(watch, {6.0f, 4.9f, 6.9f, 7.0f, 4.0f}), (std::vector<int>{1, -1, 1}));
}

TEST(AlarmWatchTest, LimitAndHysteresisHoldInAnyUnitOfTheLog) {
    // 30 °C is 86 °F and 303 K; one kelvin of hysteresis is 1.8 °F.
    AlarmWatch fahrenheit(Rule("max>30C"), 1.0);
    EXPECT_EQ(Changes(fahrenheit, {85.9f, 86.1f, 84.3f, 84.1f}, temperature_unit::kFahrenheit),
              (std::vector<int>{1, -1}));
    AlarmWatch kelvin(Rule("max>86F"), 1.0);
    EXPECT_EQ(Changes(kelvin, {303.1f, 302.1f, 301.9f}, temperature_unit::kKelvin),
              (std::vector<int>{1, -1}));
    // Without a unit the limit is in the log's unit: 30 °F here.
    AlarmWatch plain(Rule("max>30"), 1.0);
    EXPECT_EQ(Changes(plain, {31.0f}, temperature_unit::kFahrenheit), (std::vector<int>{1}));
}

TEST(AlarmWatchTest, NoHeadStartsAfterItsLimitAndEndsWithTheNextFrame) {
    AlarmWatch watch(Rule("nohead>10s"), 1.0);
    Reading absent;
    absent.state = "no head";
    EXPECT_FALSE(watch.Update(absent, 9.5).has_value());
    const auto start = watch.Update(absent, 10.5);
    ASSERT_TRUE(start.has_value());
    EXPECT_TRUE(start->started);
    EXPECT_DOUBLE_EQ(start->value.value_or(0.0), 10.5);
    EXPECT_FALSE(start->unit.has_value());
    EXPECT_FALSE(watch.Update(absent, 30.0).has_value());
    Reading silent;  // the head answers again, no frame yet
    silent.state = "ok";
    EXPECT_FALSE(watch.Update(silent, std::nullopt).has_value());
    const auto end = watch.Update(WithMax(20.0f), std::nullopt);
    ASSERT_TRUE(end.has_value());
    EXPECT_FALSE(end->started);
}

TEST(DurationTextTest, NumbersWithUnitsAndSecondsWithout) {
    EXPECT_EQ(duration_text::Parse("1s"), 1000ms);
    EXPECT_EQ(duration_text::Parse("0.5s"), 500ms);
    EXPECT_EQ(duration_text::Parse("250ms"), 250ms);
    EXPECT_EQ(duration_text::Parse("10m"), 600'000ms);
    EXPECT_EQ(duration_text::Parse("10min"), 600'000ms);
    EXPECT_EQ(duration_text::Parse("2h"), 7'200'000ms);
    EXPECT_EQ(duration_text::Parse("1d"), 86'400'000ms);
    EXPECT_EQ(duration_text::Parse("3"), 3000ms);
    for (const char* bad : {"", "s", "0", "0s", "-1s", "1x", "1 s", "0.0001s", "400d", "1e3"}) {
        EXPECT_FALSE(duration_text::Parse(bad).has_value()) << bad;
    }
}

}  // namespace
