#pragma once

#include <cstdint>

// Maps a temperature through the display span to a colour index 0..255: the span
// minimum and everything below it give 0, the maximum and everything above it the top
// index (255, or 254 where single-precision rounding falls just short). A span whose
// maximum is not above its minimum maps every temperature to index 0.
class ColourIndexScale {
  public:
    ColourIndexScale(std::int16_t spanMin, std::int16_t spanMax);

    int Index(std::int16_t value) const {
        if (!valid_) {
            return 0;
        }
        const std::int16_t limited = value < min_ ? min_ : (value > max_ ? max_ : value);
        return static_cast<std::int16_t>(static_cast<float>(limited - min_) * gain_);
    }

    std::int16_t Min() const { return min_; }
    std::int16_t Max() const { return max_; }
    // False for a span whose maximum is not above its minimum.
    bool Valid() const { return valid_; }
    float Gain() const { return gain_; }

  private:
    std::int16_t min_;
    std::int16_t max_;
    bool valid_;
    float gain_;
};
