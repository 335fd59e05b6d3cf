#include "link/packet_mailbox.h"

#include <algorithm>

#include "link/head_wire.h"

void PacketMailbox::Slot::Store(std::span<const std::uint8_t> bytes) {
    const std::size_t count = std::min(bytes.size(), packet.size());
    std::copy_n(bytes.begin(), count, packet.begin());
    // Only the tail of a longer previous packet needs clearing; the rest is zero already.
    if (length > count) {
        std::fill(packet.begin() + static_cast<std::ptrdiff_t>(count),
                  packet.begin() + static_cast<std::ptrdiff_t>(length), 0);
    }
    length = count;
    ready = true;
}

bool PacketMailbox::Slot::Take(PacketBuffer& destination) {
    if (!ready) {
        return false;
    }
    destination = packet;
    ready = false;
    return true;
}

void PacketMailbox::Put(std::span<const std::uint8_t> packet) {
    const bool isFrame = packet.size() > 1 && packet[1] == head_wire::kKindFrame;
    std::lock_guard lock(mutex_);
    if (isFrame) {
        ++counts_.received;
        counts_.replaced += frame_.ready ? 1 : 0;
    }
    (isFrame ? frame_ : message_).Store(packet);
}

bool PacketMailbox::Take(PacketBuffer& destination) {
    std::lock_guard lock(mutex_);
    return message_.Take(destination) || frame_.Take(destination);
}

PacketMailbox::FrameCounts PacketMailbox::Counts() const {
    std::lock_guard lock(mutex_);
    return counts_;
}
