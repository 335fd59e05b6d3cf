#include "display/pixel_pairs.h"

#include <bit>

#include "palette/palette_set.h"

namespace {

// The pair's bytes in memory order: blue, green, red, blue, green, red, 0, 0.
std::uint64_t PairOf(ColourRef colour) {
    const std::uint64_t pixel = static_cast<std::uint64_t>(BlueOf(colour)) |
                                static_cast<std::uint64_t>(GreenOf(colour)) << 8 |
                                static_cast<std::uint64_t>(RedOf(colour)) << 16;
    const std::uint64_t pair = pixel | pixel << 24;
    if constexpr (std::endian::native == std::endian::little) {
        return pair;
    } else {
        return __builtin_bswap64(pair);
    }
}

}  // namespace

PixelPairs::PixelPairs(const PaletteSet& palettes, int paletteNumber) {
    const auto colours = palettes.Colours(paletteNumber);
    for (std::size_t k = 0; k < pairs_.size(); ++k) {
        pairs_[k] = PairOf(colours[k]);
    }
}
