#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <span>

#include "link/packet_buffer.h"

// One-packet handover from the reader thread to the polling thread. The newest
// complete packet wins: a packet that was not fetched is replaced by the next one.
class PacketMailbox {
  public:
    // Stores a copy of `packet` (cut at the buffer size), zeros behind it.
    void Put(std::span<const std::uint8_t> packet);

    // Copies the waiting packet with its trailing zeros to `destination` and empties the
    // mailbox. False, and `destination` untouched, when no packet is waiting.
    bool Take(PacketBuffer& destination);

  private:
    std::mutex mutex_;
    PacketBuffer slot_{};
    std::size_t slotLength_ = 0;
    bool ready_ = false;
};
