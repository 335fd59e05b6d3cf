#include "monitor/row_format.h"

#include <gtest/gtest.h>

namespace {

Reading NoHeadReading() {
    Reading reading;
    reading.timeText = "2026-12-08T14:31:41+01:00";
    reading.framesLost = 3;
    reading.spots = {std::nullopt, std::nullopt};
    reading.state = "no head";
    return reading;
}

Reading FullReading() {
    Reading reading = NoHeadReading();
    reading.headSerial = 4660;
    reading.rangeNumber = 2;
    reading.rangeText = "0 ... 500 C, \"fast\"";
    reading.unit = temperature_unit::kFahrenheit;
    reading.framesTaken = 21;
    reading.framesLost = 0;
    reading.lowest = 71.06f;
    reading.highest = 212.0f;
    reading.mean = 74.875;
    reading.hottest = FrameCell{3, 12};
    reading.coldest = FrameCell{0, 15};
    reading.spots = {68.0f, std::nullopt};
    reading.state = "ok";
    reading.snapshotPath = "/s/Snapshot 4 8-12-2026 14-31.snp";
    return reading;
}

TEST(RowFormatTest, CsvHeaderNamesEveryColumnWithOneColumnPerSpot) {
    EXPECT_EQ(RowFormat(RowFormat::Kind::kCsv, 2).Header(),
              "time,head,range,range_text,unit,frames,lost,min,max,mean,hottest_row,"
              "hottest_column,coldest_row,coldest_column,spot1,spot2,state,alarm,alarm_value,"
              "snapshot\n");
    EXPECT_EQ(RowFormat(RowFormat::Kind::kJsonLines, 2).Header(), "");
}

TEST(RowFormatTest, ValuesThatDoNotExistAreEmptyNeverZero) {
    const RowFormat csv(RowFormat::Kind::kCsv, 2);
    EXPECT_EQ(csv.Line(NoHeadReading()),
              "2026-12-08T14:31:41+01:00,,,,C,0,3,,,,,,,,,,no head,,,\n");
    const RowFormat json(RowFormat::Kind::kJsonLines, 2);
    EXPECT_EQ(json.Line(NoHeadReading()),
              "{\"time\":\"2026-12-08T14:31:41+01:00\",\"head\":null,\"range\":null,"
              "\"range_text\":null,\"unit\":\"C\",\"frames\":0,\"lost\":3,\"min\":null,"
              "\"max\":null,\"mean\":null,\"hottest_row\":null,\"hottest_column\":null,"
              "\"coldest_row\":null,\"coldest_column\":null,\"spots\":[null,null],"
              "\"state\":\"no head\",\"snapshot\":null}\n");
}

TEST(RowFormatTest, FullRowQuotesTextAndRoundsTemperaturesToTwoDecimals) {
    EXPECT_EQ(RowFormat(RowFormat::Kind::kCsv, 2).Line(FullReading()),
              "2026-12-08T14:31:41+01:00,4660,2,\"0 ... 500 C, \"\"fast\"\"\",F,21,0,71.06,212.00,"
              "74.88,3,12,0,15,68.00,,ok,,,/s/Snapshot 4 8-12-2026 14-31.snp\n");
    EXPECT_EQ(RowFormat(RowFormat::Kind::kJsonLines, 2).Line(FullReading()),
              "{\"time\":\"2026-12-08T14:31:41+01:00\",\"head\":4660,\"range\":2,"
              "\"range_text\":\"0 ... 500 C, \\\"fast\\\"\",\"unit\":\"F\",\"frames\":21,"
              "\"lost\":0,\"min\":71.06,\"max\":212.00,\"mean\":74.88,\"hottest_row\":3,"
              "\"hottest_column\":12,\"coldest_row\":0,\"coldest_column\":15,"
              "\"spots\":[68.00,null],\"state\":\"ok\","
              "\"snapshot\":\"/s/Snapshot 4 8-12-2026 14-31.snp\"}\n");
}

TEST(RowFormatTest, AlarmRowsKeepTheColumnsOfTheReadings) {
    AlarmEvent start;
    start.timeText = "2026-12-08T14:31:42+01:00";
    start.alarm = "max>80C";
    start.value = 81.25;
    start.unit = temperature_unit::kCelsius;
    start.snapshotPath = "/s/a.snp";
    AlarmEvent end = start;
    end.started = false;
    end.alarm = "nohead>10s";
    end.value.reset();
    end.unit.reset();
    end.snapshotPath.clear();
    const RowFormat csv(RowFormat::Kind::kCsv, 1);
    EXPECT_EQ(csv.Line(start),
              "2026-12-08T14:31:42+01:00,,,,C,,,,,,,,,,,alarm start,max>80C,81.25,/s/a.snp\n");
    EXPECT_EQ(csv.Line(end), "2026-12-08T14:31:42+01:00,,,,,,,,,,,,,,,alarm end,nohead>10s,,\n");
    EXPECT_EQ(RowFormat(RowFormat::Kind::kJsonLines, 1).Line(end),
              "{\"time\":\"2026-12-08T14:31:42+01:00\",\"state\":\"alarm end\","
              "\"alarm\":\"nohead>10s\",\"alarm_value\":null,\"unit\":null,\"snapshot\":null}\n");
}

}  // namespace
