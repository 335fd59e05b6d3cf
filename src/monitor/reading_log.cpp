#include "monitor/reading_log.h"

#include <algorithm>
#include <utility>

#include "monitor/log_snapshot.h"
#include "monitor/row_format.h"
#include "platform/file_error.h"
#include "platform/local_time.h"

namespace {

std::int64_t WallMilliseconds() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

}  // namespace

ReadingLog::ReadingLog(std::function<HeadStatus()> headStatus, IntervalFrames& frames,
                       ReadingOutputs& outputs, ReadingLogOptions options)
    : headStatus_(std::move(headStatus)),
      frames_(frames),
      outputs_(outputs),
      options_(std::move(options)) {
    for (const AlarmRule& rule : options_.alarms) {
        watches_.emplace_back(rule, options_.hysteresisKelvin);
    }
}

ReadingLog::Clock::time_point ReadingLog::Begin(Clock::time_point now) {
    begun_ = now;
    rowStart_ = WallMilliseconds();
    frames_.TakeSummary();  // frames from before the start are not this log's
    if (options_.snapshotEvery) {
        nextSnapshot_ = now;
    }
    // The offset from UTC is added so that local whole hours and days count.
    const std::int64_t offset =
        local_time::Breakdown(rowStart_ / 1000).tm_gmtoff * std::int64_t{1000};
    const std::int64_t every = options_.every.count();
    const std::int64_t local = rowStart_ + offset;
    const std::int64_t firstEnd = (local / every + 1) * every;
    return now + std::chrono::milliseconds(firstEnd - local);
}

std::int64_t ReadingLog::StartNextRow() {
    return std::exchange(rowStart_, WallMilliseconds());
}

std::string ReadingLog::TimeText(std::int64_t milliseconds) const {
    if (options_.every.count() % 1000 != 0) {
        return local_time::Iso8601(milliseconds / 1000, static_cast<int>(milliseconds % 1000));
    }
    return local_time::Iso8601(milliseconds / 1000);
}

IntervalRows ReadingLog::CloseInterval(Clock::time_point now) {
    return Close(frames_.TakeSummary(), now);
}

std::optional<IntervalRows> ReadingLog::CloseLastInterval(Clock::time_point now) {
    const IntervalSummary summary = frames_.TakeSummary();
    if (summary.frames == 0) {
        return std::nullopt;
    }
    return Close(summary, now);
}

IntervalRows ReadingLog::Close(const IntervalSummary& summary, Clock::time_point now) {
    const std::int64_t start = StartNextRow();
    const HeadStatus head = headStatus_();
    IntervalRows rows;
    rows.reading = maker_.Make(summary, head, start / 1000, TimeText(start));
    StoreTimeLapseWhenDue(rows.reading, head, now, rows.failures);
    for (std::string& failure : outputs_.Write(rows.reading)) {
        rows.failures.push_back(std::move(failure));
    }
    WatchAlarms(rows, head, now);
    return rows;
}

void ReadingLog::StoreTimeLapseWhenDue(Reading& reading, const HeadStatus& head,
                                       Clock::time_point now, std::vector<std::string>& failures) {
    if (!nextSnapshot_ || now < *nextSnapshot_) {
        return;
    }
    while (*nextSnapshot_ <= now) {
        *nextSnapshot_ += *options_.snapshotEvery;
    }
    // Without frames in the interval there is nothing new to keep.
    if (reading.framesTaken > 0) {
        reading.snapshotPath = StoreSnapshot(head, reading.time, "Time-lapse", failures);
    }
}

std::string ReadingLog::StoreSnapshot(const HeadStatus& head, std::int64_t time,
                                      const std::string& note, std::vector<std::string>& failures) {
    const auto picture = frames_.LatestPicture();
    if (!picture) {
        return {};
    }
    try {
        const DocumentRecord record =
            log_snapshot::Record(*picture, frames_.Settings(), head, time, note);
        return log_snapshot::Store(options_.snapshotFolder, record).string();
    } catch (const FileError& error) {
        failures.push_back(std::string("snapshot: ") + error.what());
        return {};
    }
}

std::optional<double> ReadingLog::HeadAbsentSeconds(const Reading& reading, const HeadStatus& head,
                                                    Clock::time_point now) const {
    if (reading.state != "no head") {
        return std::nullopt;
    }
    const Clock::time_point since = std::max(head.health.lastFrame.value_or(begun_), begun_);
    return std::chrono::duration<double>(now - since).count();
}

void ReadingLog::WatchAlarms(IntervalRows& rows, const HeadStatus& head, Clock::time_point now) {
    const auto absent = HeadAbsentSeconds(rows.reading, head, now);
    std::string startSnapshot;
    for (AlarmWatch& watch : watches_) {
        auto event = watch.Update(rows.reading, absent);
        if (!event) {
            continue;
        }
        if (event->started && options_.snapshotOnAlarm && rows.reading.framesTaken > 0) {
            if (startSnapshot.empty()) {
                startSnapshot =
                    StoreSnapshot(head, event->time,
                                  "Alarm " + event->alarm +
                                      (event->value ? " " + RowFormat::Number(*event->value) : ""),
                                  rows.failures);
            }
            event->snapshotPath = startSnapshot;
        }
        for (std::string& failure : outputs_.Write(*event)) {
            rows.failures.push_back(std::move(failure));
        }
        rows.alarms.push_back(std::move(*event));
    }
}

int ReadingLog::ActiveAlarms() const {
    int active = 0;
    for (const AlarmWatch& watch : watches_) {
        active += watch.Active() ? 1 : 0;
    }
    return active;
}
