#pragma once

#include <chrono>
#include <cstdint>
#include <string>

#include "monitor/reading.h"

// The one line on the terminal that tells how the log goes, rewritten in place: elapsed
// time, frames per second, the current highest temperature, the alarms and the rows
// written. Shown only where standard output is a terminal of its own (the rows go to a
// file).
class StatusLine {
  public:
    using Clock = std::chrono::steady_clock;

    // `shown`: whether the line appears at all.
    StatusLine(bool shown, Clock::time_point start) : shown_(shown), start_(start) {}
    // Leaves the terminal without the line.
    ~StatusLine();
    StatusLine(const StatusLine&) = delete;
    StatusLine& operator=(const StatusLine&) = delete;

    // A row was written for the interval of `duration`.
    void RowWritten(const Reading& reading, Clock::duration duration);
    void AlarmsChanged(int active, int started) {
        activeAlarms_ = active;
        startedAlarms_ = started;
    }
    // Rewrites the line.
    void Show(Clock::time_point now);
    // Clears the line, for a message on the terminal.
    void Clear();

    // The text of the line.
    std::string Text(Clock::time_point now) const;

  private:
    bool shown_;
    Clock::time_point start_;
    std::uint64_t rows_ = 0;
    double framesPerSecond_ = 0.0;
    std::string highest_ = "-";
    int activeAlarms_ = 0;
    int startedAlarms_ = 0;
    bool drawn_ = false;
};
