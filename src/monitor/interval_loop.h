#pragma once

#include <atomic>
#include <chrono>
#include <functional>

#include "platform/unique_fd.h"

// The rhythm of a log: calls back at the end of each interval (first end + k × every, so
// the rows never drift) and after every wake-up, at least once a second, until asked to
// stop.
// The stop may come from another thread or from a signal handler. After a pause longer
// than an interval (a suspended machine) the missed ends are skipped: the next row
// covers the whole pause.
class IntervalLoop {
  public:
    using Clock = std::chrono::steady_clock;

    // Throws std::system_error when the wake-up descriptor cannot be made.
    explicit IntervalLoop(std::chrono::milliseconds every);

    // Async-signal-safe; also before Run, which then returns at once.
    void RequestStop();
    bool StopRequested() const { return stopRequested_.load(); }

    // `intervalEnded(now)` once an interval has ended (the first at `firstEnd`, then every
    // `every`), then `woke()`; either returns false to end the loop. True when the loop
    // ended on a stop request.
    bool Run(Clock::time_point firstEnd,
             const std::function<bool(Clock::time_point)>& intervalEnded,
             const std::function<bool()>& woke);

  private:
    // Waits at most `limit` or until a stop is requested.
    void Wait(Clock::duration limit) const;

    std::chrono::milliseconds every_;
    UniqueFd wake_;
    std::atomic<bool> stopRequested_{false};
};
