#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "display/frame_statistics.h"
#include "display/temperature_unit.h"

// One row of a reading log: what the head showed over one interval. A value that does
// not exist (no frame in the interval, no head) is empty, never 0.
struct Reading {
    // Start of the row's interval: seconds since the epoch and local ISO 8601 text with
    // the offset, e.g. "2026-12-08T14:31:41+01:00".
    std::int64_t time = 0;
    std::string timeText;
    std::optional<std::uint16_t> headSerial;
    std::optional<std::uint8_t> rangeNumber;
    std::string rangeText;
    // Frames taken in the interval, and frames dropped or damaged on the line.
    std::uint64_t framesTaken = 0;
    std::uint64_t framesLost = 0;
    // Corrected temperatures in the log's unit, over every frame of the interval.
    std::optional<float> lowest;
    std::optional<float> highest;
    std::optional<double> mean;
    // Cells as the imager's picture shows them: row 0 at the top, column 0 at the left.
    std::optional<FrameCell> hottest;
    std::optional<FrameCell> coldest;
    // One value per spot asked for, in order: its mean over the interval's frames.
    std::vector<std::optional<float>> spots;
    // "ok" or "no head".
    std::string state;
    // The unit of every temperature above.
    TemperatureUnit unit = temperature_unit::kCelsius;
    // The time-lapse snapshot stored at the end of the interval; empty when none.
    std::string snapshotPath;
};

// An alarm starting or ending.
struct AlarmEvent {
    std::int64_t time = 0;
    std::string timeText;
    // The expression as the user wrote it, e.g. "max>80C".
    std::string alarm;
    bool started = true;
    // The watched value at that moment (seconds for "nohead"); empty when none.
    std::optional<double> value;
    // The snapshot stored for the start; empty when none.
    std::string snapshotPath;
    // The unit of a temperature value; empty for "nohead" (seconds).
    std::optional<TemperatureUnit> unit;
};
