#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "link/thermal_frame.h"

// Packets as a sensor head puts them on the line: AA BB, the body with every 0xAA
// doubled, AA CC.
namespace head_packets {

std::vector<std::uint8_t> Wrap(std::span<const std::uint8_t> body);

// Kind 6: range number, serial number, 256 big-endian pixels, four spare zero bytes.
std::vector<std::uint8_t> FrameBody(std::uint8_t deviceType, std::uint8_t range,
                                    std::uint16_t serialNumber, const ThermalFrame& frame);
// Kind 18: the number of ranges the head offers.
std::vector<std::uint8_t> RangeCountBody(std::uint8_t deviceType, std::uint8_t count);
// Kind 19: range number, 58 text bytes (cut or zero-padded), limits in whole kelvin
// (lower 0 = none given).
std::vector<std::uint8_t> RangeDescriptionBody(std::uint8_t deviceType, std::uint8_t range,
                                               const std::string& text, std::uint16_t lowerKelvin,
                                               std::uint16_t upperKelvin);

}  // namespace head_packets
