#pragma once

#include <cstdint>

#include "acquisition/acquisition_listener.h"

// The bits of the hint word that tells the views what changed.
namespace update_flag {
inline constexpr std::uint32_t kFrame = 1;        // new display frame
inline constexpr std::uint32_t kSpots = 2;        // spot positions changed
inline constexpr std::uint32_t kSpan = 4;         // display span changed
inline constexpr std::uint32_t kCorrection = 8;   // emissivity or background temperature
inline constexpr std::uint32_t kUnit = 16;        // temperature unit changed
inline constexpr std::uint32_t kPalette = 32;     // palette number changed
inline constexpr std::uint32_t kSecondSpot = 64;  // second spot shown changed
inline constexpr std::uint32_t kBattery = 128;    // periodic battery check
inline constexpr std::uint32_t kBlink = 256;      // periodic blink toggle
inline constexpr std::uint32_t kSnapshot = 512;   // note, title or browsing position
inline constexpr std::uint32_t kRange = 1024;     // head range information, file read
inline constexpr std::uint32_t kHead = 2048;      // the head started or stopped answering
// Everything but the periodic bits and the range bit: sent after a file was read.
inline constexpr std::uint32_t kAll = 639;

// The flag that tells the views about one event of an acquisition pass.
constexpr std::uint32_t ForAcquisitionEvent(AcquisitionEvent event) {
    switch (event) {
        case AcquisitionEvent::kSpanFollowed:
            return kSpan;
        case AcquisitionEvent::kFrameTaken:
            return kFrame;
        case AcquisitionEvent::kBlink:
            return kBlink;
        case AcquisitionEvent::kBatteryCheck:
            return kBattery;
    }
    return 0;
}
}  // namespace update_flag
