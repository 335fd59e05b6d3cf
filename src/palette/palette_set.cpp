#include "palette/palette_set.h"

#include <algorithm>

namespace {

// One stretch of a palette rule: from v = start on, each colour channel is either a
// constant, t (v minus start), or a constant plus or minus t.
struct Channel {
    int base;
    int slope;  // -1, 0 or +1: the channel is base + slope * t

    int At(int t) const { return base + slope * t; }
};

struct Stretch {
    int start;
    Channel red;
    Channel green;
    Channel blue;
};

constexpr Channel Fixed(int value) {
    return {value, 0};
}
constexpr Channel Rising(int from) {
    return {from, 1};
}
constexpr Channel Falling(int from) {
    return {from, -1};
}

template <std::size_t N>
ColourRef ColourOfRule(const std::array<Stretch, N>& rule, int v) {
    // The last stretch whose start is not above v.
    std::size_t k = 0;
    while (k + 1 < N && rule[k + 1].start <= v) {
        ++k;
    }
    const Stretch& s = rule[k];
    const int t = v - s.start;
    return MakeColourRef(s.red.At(t), s.green.At(t), s.blue.At(t));
}

constexpr std::array<Stretch, 5> kRedBlueRule{{
    {0, Fixed(0), Fixed(0), Rising(0)},         // black to blue
    {256, Rising(0), Fixed(0), Fixed(255)},     // blue to magenta
    {512, Fixed(255), Fixed(0), Falling(255)},  // magenta to red
    {768, Fixed(255), Rising(0), Fixed(0)},     // red to yellow
    {1024, Fixed(255), Fixed(255), Rising(0)},  // yellow toward white
}};

constexpr std::array<Stretch, 14> kGreenBlueRule{{
    {0, Fixed(0), Fixed(0), Rising(0)},
    {128, Rising(0), Fixed(0), Fixed(128)},
    {384, Fixed(255), Fixed(0), Rising(128)},
    {512, Falling(255), Fixed(0), Fixed(255)},
    {768, Fixed(0), Rising(0), Fixed(255)},
    {896, Fixed(0), Fixed(128), Falling(255)},
    {1152, Fixed(0), Rising(128), Fixed(0)},
    {1280, Rising(0), Fixed(255), Fixed(0)},
    {1408, Fixed(128), Falling(255), Fixed(0)},
    {1664, Rising(128), Fixed(0), Fixed(0)},
    {1792, Fixed(255), Rising(0), Fixed(0)},
    {1920, Fixed(255), Fixed(128), Rising(0)},
    {2048, Fixed(255), Rising(128), Fixed(128)},
    {2176, Fixed(255), Fixed(255), Rising(128)},
}};

}  // namespace

PaletteSet::PaletteSet() : palettes_{Greyscale(), RedBlue(), GreenBlue()} {}

int PaletteSet::ValidPaletteNumber(int paletteNumber) {
    return paletteNumber == 0 || paletteNumber == 1 ? paletteNumber : kPaletteCount - 1;
}

const std::string& PaletteSet::Name(int paletteNumber) const {
    return palettes_[static_cast<std::size_t>(ValidPaletteNumber(paletteNumber))].name;
}

ColourRef PaletteSet::Colour(int colourIndex, int paletteNumber) const {
    return Colours(
        paletteNumber)[static_cast<std::size_t>(std::clamp(colourIndex, 0, kColourCount - 1))];
}

std::span<const ColourRef, PaletteSet::kColourCount> PaletteSet::Colours(int paletteNumber) const {
    return palettes_[static_cast<std::size_t>(ValidPaletteNumber(paletteNumber))].colours;
}

PaletteSet::Palette PaletteSet::Greyscale() {
    Palette palette{"Greyscale (standard)", {}};
    for (int i = 0; i < kColourCount; ++i) {
        palette.colours[static_cast<std::size_t>(i)] = MakeColourRef(i, i, i);
    }
    return palette;
}

PaletteSet::Palette PaletteSet::RedBlue() {
    Palette palette{"Red Blue (standard)", {}};
    for (int i = 0; i < kColourCount; ++i) {
        palette.colours[static_cast<std::size_t>(i)] = ColourOfRule(kRedBlueRule, 5 * i);
    }
    return palette;
}

PaletteSet::Palette PaletteSet::GreenBlue() {
    Palette palette{"Green Blue (standard)", {}};
    for (int i = 0; i < kColourCount; ++i) {
        palette.colours[static_cast<std::size_t>(i)] = ColourOfRule(kGreenBlueRule, 9 * i);
    }
    return palette;
}
