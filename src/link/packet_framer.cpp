#include "link/packet_framer.h"

#include "link/head_wire.h"

bool PacketFramer::Feed(std::uint8_t byte) {
    if (byte == head_wire::kEscape && !escapePending_) {
        escapePending_ = true;
        return false;
    }
    if (escapePending_ && byte == head_wire::kStartMarker) {
        // A second start marker keeps what an open packet has received so far.
        inPacket_ = true;
        escapePending_ = false;
        return false;
    }
    if (escapePending_ && byte == head_wire::kEndMarker) {
        ClosePacket();
        return true;
    }
    if (!inPacket_ || receivedLength_ >= kMaxDataBytes) {
        return false;
    }
    buffer_[receivedLength_++] = byte;
    escapePending_ = false;
    return false;
}

void PacketFramer::ClosePacket() {
    buffer_[receivedLength_] = head_wire::kEscape;
    buffer_[receivedLength_ + 1] = head_wire::kEndMarker;
    completedLength_ = receivedLength_ + 2;
    receivedLength_ = 0;
    inPacket_ = false;
    escapePending_ = false;
}
