#include "link/packet_mailbox.h"

#include <algorithm>

void PacketMailbox::Put(std::span<const std::uint8_t> packet) {
    const std::size_t length = std::min(packet.size(), slot_.size());
    std::lock_guard lock(mutex_);
    std::copy_n(packet.begin(), length, slot_.begin());
    // Only the tail of a longer previous packet needs clearing; the rest is zero already.
    if (slotLength_ > length) {
        std::fill(slot_.begin() + static_cast<std::ptrdiff_t>(length),
                  slot_.begin() + static_cast<std::ptrdiff_t>(slotLength_), 0);
    }
    slotLength_ = length;
    ready_ = true;
}

bool PacketMailbox::Take(PacketBuffer& destination) {
    std::lock_guard lock(mutex_);
    if (!ready_) {
        return false;
    }
    destination = slot_;
    ready_ = false;
    return true;
}
