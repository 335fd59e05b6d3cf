#pragma once

#include <cstdint>

// A colour laid out as the handheld's COLORREF: red in the lowest byte, then green,
// then blue; the top byte is 0.
using ColourRef = std::uint32_t;

constexpr ColourRef MakeColourRef(int red, int green, int blue) {
    return static_cast<ColourRef>(red & 0xFF) | (static_cast<ColourRef>(green & 0xFF) << 8) |
           (static_cast<ColourRef>(blue & 0xFF) << 16);
}
constexpr int RedOf(ColourRef colour) {
    return static_cast<int>(colour & 0xFF);
}
constexpr int GreenOf(ColourRef colour) {
    return static_cast<int>((colour >> 8) & 0xFF);
}
constexpr int BlueOf(ColourRef colour) {
    return static_cast<int>((colour >> 16) & 0xFF);
}
