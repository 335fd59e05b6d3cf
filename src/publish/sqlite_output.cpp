#include "publish/sqlite_output.h"

SqliteOutput::SqliteOutput(std::filesystem::path file, std::string unit, Report report)
    : log_(std::move(file), std::move(unit)), report_(std::move(report)) {}

std::optional<std::string> SqliteOutput::Write(const Reading& reading) {
    log_.Add(reading);
    Poll();
    return std::nullopt;
}

std::optional<std::string> SqliteOutput::Write(const AlarmEvent& event) {
    log_.Add(event);
    Poll();
    return std::nullopt;
}

void SqliteOutput::Poll() {
    for (const std::string& notice : log_.TakeNotices()) {
        report_(notice);
    }
}

void SqliteOutput::Close() {
    if (!log_.Flush()) {
        report_(log_.File().string() + ": " + std::to_string(log_.Waiting()) +
                " row(s) could not be written");
    }
    Poll();
}
