#pragma once

#include <array>
#include <span>
#include <string>

#include "palette/colour_ref.h"

// The three fixed false-colour palettes of 256 colours each, computed once. Colour
// index 0 is the cold end (black in every palette), 255 the hot end.
class PaletteSet {
  public:
    static constexpr int kPaletteCount = 3;
    static constexpr int kColourCount = 256;

    PaletteSet();
    PaletteSet(const PaletteSet&) = delete;
    PaletteSet& operator=(const PaletteSet&) = delete;

    int Count() const { return kPaletteCount; }
    // A palette number outside 0..2 names the third palette, as the colour bar shows it.
    const std::string& Name(int paletteNumber) const;
    // Never reads outside the tables: the palette number is limited as for Name and
    // the colour index to 0..255.
    ColourRef Colour(int colourIndex, int paletteNumber) const;
    // The whole table of a palette, index 0 first; the number is limited as for Name.
    std::span<const ColourRef, kColourCount> Colours(int paletteNumber) const;

    // 0 and 1 as they are, any other number 2.
    static int ValidPaletteNumber(int paletteNumber);

  private:
    struct Palette {
        std::string name;
        std::array<ColourRef, kColourCount> colours{};
    };

    static Palette Greyscale();
    static Palette RedBlue();
    static Palette GreenBlue();

    std::array<Palette, kPaletteCount> palettes_;
};
