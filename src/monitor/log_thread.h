#pragma once

#include <chrono>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "monitor/interval_frames.h"
#include "monitor/interval_loop.h"
#include "monitor/reading_log.h"
#include "monitor/reading_output.h"

class ImagerLink;

// A reading log on a thread of its own, for a program that logs beside its other work
// (the imager's --log): rows from every frame the acquisition thread shows it, written to
// one output, until it is stopped or the output fails.
class LogThread {
  public:
    // `link` must outlive the log. Starts nothing.
    LogThread(const ImagerLink& link, std::unique_ptr<ReadingOutput> output,
              std::chrono::milliseconds every, const LogSettings& settings);
    ~LogThread();
    LogThread(const LogThread&) = delete;
    LogThread& operator=(const LogThread&) = delete;

    // Give this to the acquisition thread before it starts.
    FrameObserver& Frames() { return frames_; }
    // Any thread: the corrections and spots from the next frame on.
    void SetSettings(const LogSettings& settings) { frames_.SetSettings(settings); }

    void Start();
    // Ends the thread; the interval begun is written when it holds frames.
    void Stop();
    // Why the log ended early; empty while it runs well.
    std::optional<std::string> Failure() const;

  private:
    void Run(IntervalLoop::Clock::time_point firstEnd);
    // Keeps the first failure; false when there was one.
    bool Keep(const std::vector<std::string>& failures);

    IntervalFrames frames_;
    ReadingOutputs outputs_;
    ReadingLog log_;
    IntervalLoop loop_;
    std::thread thread_;
    mutable std::mutex failureMutex_;
    std::optional<std::string> failure_;
};
