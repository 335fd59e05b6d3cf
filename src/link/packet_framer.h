#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "link/packet_buffer.h"

// Cuts the byte stream from the head into packets. 0xAA is the escape byte: 0xAA 0xBB
// opens a packet, 0xAA 0xCC closes one, 0xAA 0xAA inside a packet is one data byte 0xAA
// and 0xAA before any other byte is dropped. Bytes outside a packet are ignored, but an
// unpaired 0xAA among them stays pending. No byte sequence makes it stop.
class PacketFramer {
  public:
    // Data bytes a packet keeps; further ones are dropped so that the packet with its
    // end marker always fits a PacketBuffer.
    static constexpr std::size_t kMaxDataBytes = kPacketCapacity - 2;

    // Takes one received byte. True when it closed a packet; Packet() then shows it
    // until the next call.
    bool Feed(std::uint8_t byte);

    // The packet closed last: its unescaped bytes followed by 0xAA 0xCC.
    std::span<const std::uint8_t> Packet() const {
        return std::span<const std::uint8_t>(buffer_.data(), completedLength_);
    }

  private:
    void ClosePacket();

    PacketBuffer buffer_{};
    std::size_t receivedLength_ = 0;
    std::size_t completedLength_ = 0;
    bool inPacket_ = false;
    bool escapePending_ = false;
};
