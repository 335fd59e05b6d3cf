#include "monitor/interval_loop.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <system_error>

namespace {

constexpr std::chrono::seconds kLongestWait{1};

}  // namespace

static_assert(std::atomic<bool>::is_always_lock_free, "the stop flag is set by signal handlers");

IntervalLoop::IntervalLoop(std::chrono::milliseconds every)
    : every_(every), wake_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {
    if (!wake_.Valid()) {
        throw std::system_error(errno, std::generic_category(), "eventfd");
    }
}

void IntervalLoop::RequestStop() {
    stopRequested_.store(true);
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = ::write(wake_.Get(), &one, sizeof one);
}

void IntervalLoop::Wait(Clock::duration limit) const {
    // Rounded up, so that the wait never ends just before the interval does.
    const auto milliseconds = std::chrono::ceil<std::chrono::milliseconds>(limit).count();
    pollfd watched{wake_.Get(), POLLIN, 0};
    ::poll(&watched, 1, static_cast<int>(std::max<long long>(milliseconds, 0)));
}

bool IntervalLoop::Run(Clock::time_point firstEnd,
                       const std::function<bool(Clock::time_point)>& intervalEnded,
                       const std::function<bool()>& woke) {
    Clock::time_point next = firstEnd;
    while (!StopRequested()) {
        Wait(std::min<Clock::duration>(next - Clock::now(), kLongestWait));
        if (StopRequested()) {
            break;
        }
        const Clock::time_point now = Clock::now();
        if (now >= next) {
            while (next <= now) {
                next += every_;
            }
            if (!intervalEnded(now)) {
                return false;
            }
        }
        if (!woke()) {
            return false;
        }
    }
    return true;
}
