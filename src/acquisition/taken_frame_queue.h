#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <vector>

#include "link/thermal_frame.h"

// Every frame taken from the head, with its time and the head's serial number, kept for
// a reader on another thread whether the picture is live, held or a snapshot is shown.
// Holds at most kCapacity frames: when the reader falls behind, the oldest go first.
class TakenFrameQueue {
  public:
    using Clock = std::chrono::steady_clock;
    // Nearly ten seconds of frames at the acquisition's fastest pace.
    static constexpr std::size_t kCapacity = 128;

    struct Entry {
        Clock::time_point time;
        ThermalFrame frame;
        std::uint16_t headSerial = 0;
    };

    // Any thread.
    void Push(const Entry& entry);
    // The frames since the last call, oldest first.
    std::vector<Entry> TakeAll();

  private:
    std::mutex mutex_;
    std::deque<Entry> entries_;
};
