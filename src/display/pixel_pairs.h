#pragma once

#include <array>
#include <cstdint>

class PaletteSet;

// The 256 colours of one palette as pixel pairs: two pixels of the picture, bytes blue,
// green, red, blue, green, red from the least significant byte on, the top two bytes 0.
class PixelPairs {
  public:
    PixelPairs(const PaletteSet& palettes, int paletteNumber);

    const std::uint64_t* Data() const { return pairs_.data(); }

  private:
    std::array<std::uint64_t, 256> pairs_;
};
