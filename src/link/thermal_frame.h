#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

inline constexpr int kFrameSide = 16;
inline constexpr int kFramePixels = kFrameSide * kFrameSide;

// 256 temperatures in tenths of a kelvin (2730 is 0 °C), 16 rows of 16, row-major,
// row 0 first, in the order the head sends them.
struct ThermalFrame {
    std::array<std::uint16_t, kFramePixels> pixels{};

    static ThermalFrame Filled(std::uint16_t value) {
        ThermalFrame frame;
        frame.pixels.fill(value);
        return frame;
    }
    std::uint16_t& operator[](std::size_t i) { return pixels[i]; }
    std::uint16_t operator[](std::size_t i) const { return pixels[i]; }
    bool operator==(const ThermalFrame&) const = default;
};

// Value of every pixel of an empty picture: 0 °C.
inline constexpr std::uint16_t kEmptyPictureValue = 2730;
