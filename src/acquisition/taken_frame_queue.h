#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <vector>

#include "acquisition/acquisition_listener.h"
#include "link/imager_link.h"
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

// Puts every frame the acquisition thread observes into `queue`, with the time it arrived
// and the serial number of the head that sent it.
class TakenFrameFeed : public FrameObserver {
  public:
    TakenFrameFeed(TakenFrameQueue& queue, const ImagerLink& link) : queue_(queue), link_(link) {}
    void FrameArrived(const ThermalFrame& frame) override {
        queue_.Push({TakenFrameQueue::Clock::now(), frame, link_.HeadSerialNumber()});
    }

  private:
    TakenFrameQueue& queue_;
    const ImagerLink& link_;
};
