#include "acquisition/link_rate_meter.h"

void LinkRateMeter::Sample(Clock::time_point time, const LinkHealth& health) {
    const Counts counts{time, health.framesReceived, health.framesTaken};
    if (!samples_.empty() &&
        (counts.received < samples_.back().received || counts.taken < samples_.back().taken)) {
        samples_.clear();
    }
    samples_.push_back(counts);
    // The oldest sample kept is the last one at least kSpan old.
    while (samples_.size() > 2 && samples_[1].time <= time - kSpan) {
        samples_.pop_front();
    }
}

std::optional<LinkRateMeter::Rates> LinkRateMeter::Current() const {
    if (samples_.size() < 2) {
        return std::nullopt;
    }
    const Counts& first = samples_.front();
    const Counts& last = samples_.back();
    const double seconds = std::chrono::duration<double>(last.time - first.time).count();
    if (seconds < 0.1) {
        return std::nullopt;
    }
    return Rates{static_cast<double>(last.received - first.received) / seconds,
                 static_cast<double>(last.taken - first.taken) / seconds};
}
