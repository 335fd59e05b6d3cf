#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <span>

#include "link/packet_buffer.h"

// Handover from the reader thread to the polling thread. Frames and the head's other
// messages (range count, range descriptions) wait in separate slots; in each slot the
// newest complete packet wins. A waiting message is handed over before a waiting frame,
// so a head that streams frames faster than they are polled cannot bury the answers to
// the range queries.
class PacketMailbox {
  public:
    // Stores a copy of `packet` (cut at the buffer size), zeros behind it.
    void Put(std::span<const std::uint8_t> packet);

    // Copies a waiting packet with its trailing zeros to `destination` and empties its
    // slot. False, and `destination` untouched, when no packet is waiting.
    bool Take(PacketBuffer& destination);

    // Frame packets put in so far, and those of them replaced before they were taken.
    struct FrameCounts {
        std::uint64_t received = 0;
        std::uint64_t replaced = 0;
    };
    FrameCounts Counts() const;

  private:
    struct Slot {
        PacketBuffer packet{};
        std::size_t length = 0;
        bool ready = false;

        void Store(std::span<const std::uint8_t> bytes);
        bool Take(PacketBuffer& destination);
    };

    mutable std::mutex mutex_;
    FrameCounts counts_;
    Slot frame_;
    Slot message_;
};
