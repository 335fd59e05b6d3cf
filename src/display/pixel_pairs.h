#pragma once

#include <array>
#include <cstdint>
#include <cstring>

class PaletteSet;

// The 256 colours of one palette as pixel pairs: in memory the bytes blue, green, red,
// blue, green, red and two spare bytes, so that one 8-byte store writes two pixels.
class PixelPairs {
  public:
    static constexpr int kPairBytes = 6;

    PixelPairs(const PaletteSet& palettes, int paletteNumber);

    // Writes one picture row: for each of `count` colour indices, read `stride` apart,
    // kPairsEach pixel pairs. Each pair's spare bytes are overwritten by the next pair;
    // the row's last pair is written without them, so no byte after the row is touched.
    template <int kPairsEach>
    void WriteRow(const std::uint8_t* indices, int stride, int count, std::uint8_t* row) const {
        std::uint8_t* out = row;
        for (int j = 0; j + 1 < count; ++j) {
            const std::uint64_t pair = pairs_[indices[j * stride]];
            for (int k = 0; k < kPairsEach; ++k, out += kPairBytes) {
                std::memcpy(out, &pair, sizeof pair);
            }
        }
        const std::uint64_t pair = pairs_[indices[(count - 1) * stride]];
        for (int k = 0; k + 1 < kPairsEach; ++k, out += kPairBytes) {
            std::memcpy(out, &pair, sizeof pair);
        }
        std::memcpy(out, &pair, kPairBytes);
    }

  private:
    std::array<std::uint64_t, 256> pairs_;
};
