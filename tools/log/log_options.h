#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "display/frame_statistics.h"
#include "monitor/alarm_rule.h"
#include "monitor/row_format.h"
#include "publish/mqtt_settings.h"

// The command line of quorvel-log.
struct LogOptions {
    enum class Action { kRun, kHelp, kVersion };

    Action action = Action::kRun;
    std::optional<std::string> port;  // COM1 of the device root when empty
    std::chrono::milliseconds every{1000};
    std::optional<std::string> output;  // standard output when empty
    RowFormat::Kind format = RowFormat::Kind::kCsv;
    TemperatureCorrection correction{temperature_unit::kCelsius, 200, 1.0f};
    int average = 1;
    std::vector<FrameCell> spots;  // picture cells
    std::optional<std::chrono::milliseconds> duration;
    std::optional<std::uint64_t> count;
    bool quiet = false;
    std::optional<std::chrono::milliseconds> snapshotEvery;
    std::optional<std::string> snapshotFolder;  // the imager's when empty
    std::vector<AlarmRule> alarms;
    double hysteresisKelvin = 1.0;
    bool snapshotOnAlarm = false;
    std::vector<std::string> onAlarm;  // the command's words
    bool exitOnAlarm = false;
    // Publishing to a broker; an empty topic prefix: the default, naming the head.
    std::optional<MqttSettings> mqtt;
    std::optional<std::string> database;
};

namespace log_options {

inline constexpr int kUsageExitCode = 2;
// The shortest interval between rows, and between time-lapse snapshots.
inline constexpr std::chrono::milliseconds kShortestInterval{100};
inline constexpr std::chrono::milliseconds kShortestSnapshotInterval{1000};

// `arguments` without the program name; empty, with `error` set, on a mistake.
std::optional<LogOptions> Parse(std::span<const std::string> arguments, std::string& error);
std::string HelpText();

}  // namespace log_options
