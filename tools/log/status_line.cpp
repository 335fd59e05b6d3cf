#include "log/status_line.h"

#include <unistd.h>

#include <cstdio>

#include "display/unit_names.h"

StatusLine::~StatusLine() {
    Clear();
}

void StatusLine::RowWritten(const Reading& reading, Clock::duration duration) {
    ++rows_;
    const double seconds = std::chrono::duration<double>(duration).count();
    framesPerSecond_ = seconds > 0.0 ? static_cast<double>(reading.framesTaken) / seconds : 0.0;
    if (reading.highest) {
        char text[32];
        std::snprintf(text, sizeof text, "%.1f %s", static_cast<double>(*reading.highest),
                      unit_names::Letter(reading.unit).c_str());
        highest_ = text;
    } else {
        highest_ = reading.state == "no head" ? "no head" : "-";
    }
}

std::string StatusLine::Text(Clock::time_point now) const {
    const auto elapsed = std::chrono::duration_cast<std::chrono::seconds>(now - start_).count();
    char text[160];
    std::snprintf(text, sizeof text,
                  "%lld:%02lld:%02lld  %.1f frames/s  max %s  alarms %d active, %d started  "
                  "%llu rows",
                  static_cast<long long>(elapsed / 3600), static_cast<long long>(elapsed / 60 % 60),
                  static_cast<long long>(elapsed % 60), framesPerSecond_, highest_.c_str(),
                  activeAlarms_, startedAlarms_, static_cast<unsigned long long>(rows_));
    return text;
}

void StatusLine::Show(Clock::time_point now) {
    if (!shown_) {
        return;
    }
    const std::string line = "\r" + Text(now) + "\033[K";
    drawn_ = ::write(STDOUT_FILENO, line.data(), line.size()) > 0 || drawn_;
}

void StatusLine::Clear() {
    if (drawn_) {
        [[maybe_unused]] const ssize_t written = ::write(STDOUT_FILENO, "\r\033[K", 4);
        drawn_ = false;
    }
}
