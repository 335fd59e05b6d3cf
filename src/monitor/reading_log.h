#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "document/snapshot_folder.h"
#include "monitor/alarm_watch.h"
#include "monitor/interval_frames.h"
#include "monitor/reading_maker.h"
#include "monitor/reading_output.h"

struct ReadingLogOptions {
    std::chrono::milliseconds every{1000};
    std::vector<AlarmRule> alarms;
    double hysteresisKelvin = 1.0;
    // Time-lapse: a snapshot this often.
    std::optional<std::chrono::milliseconds> snapshotEvery;
    // A snapshot when an alarm starts.
    bool snapshotOnAlarm = false;
    SnapshotFolder snapshotFolder{SnapshotFolder::kDefaultFolder};
};

// What the end of one interval brought.
struct IntervalRows {
    Reading reading;
    // Alarm starts and ends, in the order of the alarms.
    std::vector<AlarmEvent> alarms;
    // What could not be written: rows to an output, snapshot files.
    std::vector<std::string> failures;
};

// The work at the end of each interval, the same in every program that logs: the row
// from the interval's frames and the head's status, the time-lapse snapshot when one is
// due, the alarm starts and ends (with a snapshot when asked), every row to every output.
class ReadingLog {
  public:
    using Clock = std::chrono::steady_clock;

    // `headStatus` reads the link when an interval ends.
    ReadingLog(std::function<HeadStatus()> headStatus, IntervalFrames& frames,
               ReadingOutputs& outputs, ReadingLogOptions options);

    // Begins the first interval at `now`; the end of that interval, chosen so that the
    // following ones begin at whole multiples of the interval in local time (every second
    // on the second, every minute on the minute).
    Clock::time_point Begin(Clock::time_point now);
    // Ends the interval at `now`: its row, snapshots and alarm rows, all written out.
    IntervalRows CloseInterval(Clock::time_point now);
    // The same for the interval the log ends in, but only when it holds frames.
    std::optional<IntervalRows> CloseLastInterval(Clock::time_point now);

    int ActiveAlarms() const;

  private:
    IntervalRows Close(const IntervalSummary& summary, Clock::time_point now);
    // The start of the row being closed (milliseconds since 1970); the next row starts now.
    std::int64_t StartNextRow();
    std::string TimeText(std::int64_t milliseconds) const;
    std::optional<double> HeadAbsentSeconds(const Reading& reading, const HeadStatus& head,
                                            Clock::time_point now) const;
    // Stores a snapshot of the newest picture; its path, empty without a picture.
    std::string StoreSnapshot(const HeadStatus& head, std::int64_t time, const std::string& note,
                              std::vector<std::string>& failures);
    void StoreTimeLapseWhenDue(Reading& reading, const HeadStatus& head, Clock::time_point now,
                               std::vector<std::string>& failures);
    void WatchAlarms(IntervalRows& rows, const HeadStatus& head, Clock::time_point now);

    std::function<HeadStatus()> headStatus_;
    IntervalFrames& frames_;
    ReadingOutputs& outputs_;
    ReadingLogOptions options_;
    ReadingMaker maker_;
    std::vector<AlarmWatch> watches_;
    Clock::time_point begun_{};
    std::int64_t rowStart_ = 0;  // milliseconds since 1970
    std::optional<Clock::time_point> nextSnapshot_;
};
