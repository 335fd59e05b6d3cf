#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <optional>

#include "link/link_health.h"

// Frames per second received on the line and taken by the program, from the link's
// counts sampled now and then, averaged over the last few seconds so that a steady
// stream shows a steady figure.
class LinkRateMeter {
  public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::seconds kSpan{5};

    struct Rates {
        double received = 0.0;
        double taken = 0.0;
    };

    // Samples must come in time order; counts that go back start the average anew.
    void Sample(Clock::time_point time, const LinkHealth& health);
    // Empty until two samples lie at least a tenth of a second apart.
    std::optional<Rates> Current() const;

  private:
    struct Counts {
        Clock::time_point time;
        std::uint64_t received = 0;
        std::uint64_t taken = 0;
    };

    std::deque<Counts> samples_;
};
