#pragma once

#include <cstddef>
#include <cstdint>

// The bytes exchanged with the sensor head: markers, message kinds, packet layouts
// (offsets count from the first byte after the start marker) and command codes.
namespace head_wire {

inline constexpr std::uint8_t kEscape = 0xAA;
inline constexpr std::uint8_t kStartMarker = 0xBB;
inline constexpr std::uint8_t kEndMarker = 0xCC;

// Every packet from the head starts with these three bytes.
inline constexpr std::size_t kDeviceTypeOffset = 0;
inline constexpr std::size_t kKindOffset = 1;
inline constexpr std::size_t kParameterOffset = 2;

inline constexpr std::uint8_t kKindFrame = 6;
inline constexpr std::uint8_t kKindRangeCount = 18;
inline constexpr std::uint8_t kKindRangeDescription = 19;

// Frame: parameter = current range number, then serial number, pixels, four spare bytes.
inline constexpr std::size_t kSerialOffset = 3;
inline constexpr std::size_t kPixelsOffset = 5;
inline constexpr std::size_t kFrameSpareOffset = 517;
inline constexpr std::size_t kFrameSpareLength = 4;
inline constexpr std::size_t kFrameBodyLength = 521;  // unescaped, without end marker

// Range description: parameter = range number (1-based), then text and limits in kelvin.
inline constexpr std::size_t kTextOffset = 3;
inline constexpr std::size_t kTextLength = 58;
inline constexpr std::size_t kLowerLimitOffset = 61;
inline constexpr std::size_t kUpperLimitOffset = 63;
inline constexpr std::size_t kDescriptionBodyLength = 65;

// Character of a description text that marks a high-temperature range ('H' or 'h').
inline constexpr std::size_t kHighTemperatureMarkIndex = 20;

// First byte of a command after its start marker.
inline constexpr std::uint8_t kCommandQueryRangeCount = 0x93;
inline constexpr std::uint8_t kCommandRequestDescription = 0x94;
inline constexpr std::uint8_t kCommandSelectRange = 0x95;

// Range numbers that have a slot in the limit tables.
inline constexpr int kFirstRange = 1;
inline constexpr int kRangeSlots = 6;
inline constexpr std::uint8_t kUnknownRange = 255;

inline constexpr bool IsAcceptedDeviceType(std::uint8_t code) {
    switch (code) {
        case 2:
        case 11:
        case 21:
        case 31:
        case 41:
        case 61:
        case 71:
        case 72:
        case 96:
        case 97:
        case 128:
            return true;
        default:
            return false;
    }
}

inline constexpr bool IsHighTemperatureMark(char c) {
    return c == 'H' || c == 'h';
}

inline constexpr std::uint16_t ReadBigEndian16(const std::uint8_t* bytes) {
    return static_cast<std::uint16_t>((bytes[0] << 8) | bytes[1]);
}

}  // namespace head_wire
