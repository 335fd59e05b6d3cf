#include "monitor/log_thread.h"

#include "link/imager_link.h"

namespace {

ReadingLogOptions EveryOnly(std::chrono::milliseconds every) {
    ReadingLogOptions options;
    options.every = every;
    return options;
}

}  // namespace

LogThread::LogThread(const ImagerLink& link, std::unique_ptr<ReadingOutput> output,
                     std::chrono::milliseconds every, const LogSettings& settings)
    : frames_(settings),
      log_([&link] { return HeadStatus::Of(link); }, frames_, outputs_, EveryOnly(every)),
      loop_(every) {
    outputs_.Add(std::move(output));
}

LogThread::~LogThread() {
    Stop();
}

void LogThread::Start() {
    if (!thread_.joinable()) {
        // The first interval begins here, not when the thread gets going: every frame shown
        // once Start has returned belongs to the log.
        const auto firstEnd = log_.Begin(IntervalLoop::Clock::now());
        thread_ = std::thread([this, firstEnd] { Run(firstEnd); });
    }
}

void LogThread::Stop() {
    loop_.RequestStop();
    if (thread_.joinable()) {
        thread_.join();
    }
}

void LogThread::Run(IntervalLoop::Clock::time_point firstEnd) {
    const bool stopped = loop_.Run(
        firstEnd,
        [this](IntervalLoop::Clock::time_point now) {
            return Keep(log_.CloseInterval(now).failures);
        },
        [] { return true; });
    if (stopped) {
        if (const auto last = log_.CloseLastInterval(IntervalLoop::Clock::now())) {
            Keep(last->failures);
        }
    }
}

bool LogThread::Keep(const std::vector<std::string>& failures) {
    if (failures.empty()) {
        return true;
    }
    std::lock_guard lock(failureMutex_);
    if (!failure_) {
        failure_ = failures.front();
    }
    return false;
}

std::optional<std::string> LogThread::Failure() const {
    std::lock_guard lock(failureMutex_);
    return failure_;
}
