#include "display/pixel_pairs.h"

#include "palette/palette_set.h"

PixelPairs::PixelPairs(const PaletteSet& palettes, int paletteNumber) {
    const auto colours = palettes.Colours(paletteNumber);
    for (std::size_t k = 0; k < pairs_.size(); ++k) {
        const std::uint64_t pixel = static_cast<std::uint64_t>(BlueOf(colours[k])) |
                                    static_cast<std::uint64_t>(GreenOf(colours[k])) << 8 |
                                    static_cast<std::uint64_t>(RedOf(colours[k])) << 16;
        pairs_[k] = pixel | pixel << 24;
    }
}
