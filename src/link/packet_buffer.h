#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// One packet as the serial port hands it over: the unescaped bytes after the start
// marker, the end marker 0xAA 0xCC, then zeros up to the end of the buffer.
inline constexpr std::size_t kPacketCapacity = 2048;
using PacketBuffer = std::array<std::uint8_t, kPacketCapacity>;
