#include "display/picture_renderer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>

#include "display/colour_index_scale.h"
#include "palette/palette_set.h"

namespace {

constexpr int kSide = 192;
constexpr int kRowBytes = 576;

using Received = std::array<std::uint16_t, 256>;

PictureRenderer::ReversedFrame Reverse(const Received& received) {
    PictureRenderer::ReversedFrame reversed;
    for (int k = 0; k < 256; ++k) {
        reversed[k] = static_cast<std::int16_t>(received[255 - k]);
    }
    return reversed;
}

// The colour index rule written out: clamp to the span, scale by 255 / width in
// single precision, truncate; a span without width gives 0.
int ReferenceIndex(int value, int min, int max) {
    if (max <= min) {
        return 0;
    }
    value = std::clamp(value, min, max);
    volatile float width = static_cast<float>(max - min) * 0.003921569f;
    volatile float gain = 1.0f / width;
    return static_cast<int>(static_cast<float>(value - min) * gain);
}

// The grid value at (row y, column x) of the 96 × 96 interpolation, evaluated for that
// one pixel from the parabola-blend rule; the never-written band reads 0.
int ReferenceGridValue(const std::array<std::uint16_t, 256>& p, int y, int x) {
    const int n = 6;
    if (y < 3 || y > 92 || x < 3 || x > 92) {
        return 0;
    }
    const int r0 = (y - 3) / n, j = (y - 3) % n;
    const int c0 = (x - 3) / n, i = (x - 3) % n;
    auto clamp = [](int k) { return std::clamp(k, 0, 15); };
    auto blend = [n](long long v0, long long v1, long long v2, long long v3, long long t) {
        const long long a1 = (v2 - v0) / (2 * n), c1 = (v2 - (v2 - v0) / 2 - v1) / (n * n);
        const long long a2 = (v3 - v1) / (2 * n), c2 = (v3 - (v3 - v1) / 2 - v2) / (n * n);
        return (n - t) * (v1 + t * (a1 + c1 * t)) + t * (v2 + (t - n) * (a2 + c2 * (t - n)));
    };
    long long r[4];
    for (int k = 0; k < 4; ++k) {
        long long q[4];
        for (int m = 0; m < 4; ++m) {
            q[m] = 2048LL * p[clamp(r0 - 1 + k) * 16 + clamp(c0 - 1 + m)];
        }
        r[k] = blend(q[0], q[1], q[2], q[3], i);
    }
    return static_cast<std::int16_t>(blend(r[0], r[1], r[2], r[3], j) / (n * n * 2048));
}

struct Bgr {
    int blue, green, red;
    bool operator==(const Bgr&) const = default;
};

Bgr PixelAt(const PictureRenderer& renderer, int screenX, int screenY) {
    const std::uint8_t* p = renderer.Data() + (kSide - 1 - screenY) * kRowBytes + 3 * screenX;
    return {p[0], p[1], p[2]};
}

Bgr BgrOf(ColourRef colour) {
    return {BlueOf(colour), GreenOf(colour), RedOf(colour)};
}

class PictureRendererTest : public ::testing::Test {
  protected:
    void Render(const Received& received, bool interpolated, std::int16_t min, std::int16_t max,
                int palette) {
        renderer_.Render(Reverse(received), interpolated, min, max, palettes_, palette);
    }

    PaletteSet palettes_;
    PictureRenderer renderer_;
};

Received DistinctValues() {
    Received received;
    for (int k = 0; k < 256; ++k) {
        received[k] = static_cast<std::uint16_t>(1000 + k);
    }
    return received;
}

TEST(ColourIndexScale, IndexAtAndBeyondTheSpanEnds) {
    const ColourIndexScale scale(2744, 3000);
    EXPECT_EQ(scale.Index(2744), 0);
    EXPECT_EQ(scale.Index(2000), 0);
    EXPECT_EQ(scale.Index(-300), 0);
    const int top = scale.Index(3000);
    EXPECT_TRUE(top == 255 || top == 254) << top;
    EXPECT_EQ(scale.Index(3001), top);
    EXPECT_EQ(scale.Index(32767), top);
    EXPECT_EQ(scale.Index(2872), ReferenceIndex(2872, 2744, 3000));
    for (int width = 1; width < 3000; width += 7) {
        const ColourIndexScale any(100, static_cast<std::int16_t>(100 + width));
        const int index = any.Index(static_cast<std::int16_t>(100 + width));
        ASSERT_TRUE(index == 255 || index == 254) << "width " << width << ": " << index;
    }
}

TEST(ColourIndexScale, SpanWithoutWidthMapsEverythingToZero) {
    const ColourIndexScale flat(2900, 2900);
    const ColourIndexScale inverted(3000, 2000);
    for (std::int16_t v : {-32768, 0, 2000, 2900, 3000, 32767}) {
        EXPECT_EQ(flat.Index(v), 0);
        EXPECT_EQ(inverted.Index(v), 0);
    }
}

TEST_F(PictureRendererTest, PlainModeShowsSixteenBlocksInScreenOrientation) {
    const Received received = DistinctValues();
    Render(received, false, 1000, 1255, 0);
    for (int a = 0; a < 16; ++a) {
        for (int b = 0; b < 16; ++b) {
            const int grey = ReferenceIndex(received[16 * (15 - a) + b], 1000, 1255);
            const Bgr expected{grey, grey, grey};
            for (int y = 0; y < 12; ++y) {
                for (int x = 0; x < 12; ++x) {
                    ASSERT_EQ(PixelAt(renderer_, 12 * a + x, 12 * b + y), expected)
                        << "block " << a << "," << b;
                }
            }
        }
    }
}

TEST_F(PictureRendererTest, InterpolatedModeHasTheSameOrientation) {
    Received received;
    received.fill(2800);
    const int a = 4;
    const int b = 10;
    received[16 * (15 - a) + b] = 3100;
    Render(received, true, 2800, 3100, 0);
    // Frame pixel (a, b) lands on grid row a·6 + 3, grid column (15 − b)·6 + 3.
    const int peakX = 12 * a + 6;
    const int peakY = 12 * b + 4;
    const Bgr peak = PixelAt(renderer_, peakX, peakY);
    EXPECT_GE(peak.red, 254);
    for (const auto& [dx, dy] : {std::pair{1, 0}, {0, 1}, {1, 1}}) {
        EXPECT_EQ(PixelAt(renderer_, peakX + dx, peakY + dy), peak);
    }
    for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x) {
            if (x / 2 != peakX / 2 || y / 2 != peakY / 2) {
                ASSERT_LT(PixelAt(renderer_, x, y).red, peak.red) << x << "," << y;
            }
        }
    }
}

TEST_F(PictureRendererTest, SpanWithoutWidthPaintsIndexZero) {
    const Received received = DistinctValues();
    for (const bool interpolated : {false, true}) {
        Render(received, interpolated, 1100, 1100, 1);
        const auto pixels = renderer_.Pixels();
        EXPECT_TRUE(std::all_of(pixels.begin(), pixels.end(), [](auto v) { return v == 0; }));
    }
}

TEST_F(PictureRendererTest, ConstantFrameGivesAUniformPicture) {
    Received received;
    received.fill(2900);
    Render(received, true, 2800, 3000, 2);
    const Bgr inside = BgrOf(palettes_.Colour(ReferenceIndex(2900, 2800, 3000), 2));
    const Bgr band = BgrOf(palettes_.Colour(0, 2));
    for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x) {
            const bool inBand = x < 6 || x >= 186 || y < 6 || y >= 186;
            ASSERT_EQ(PixelAt(renderer_, x, y), inBand ? band : inside) << x << "," << y;
        }
    }
}

// Every byte of both pictures, against the placement, interpolation and colour rules
// evaluated pixel by pixel.
TEST_F(PictureRendererTest, KnownFrameMatchesTheRulesPixelByPixel) {
    Received received;
    std::srand(11);
    for (int k = 0; k < 256; ++k) {
        received[k] =
            static_cast<std::uint16_t>(2700 + (k % 16) * 20 + (k / 16) * 9 + std::rand() % 60);
    }
    received[100] = 3400;
    received[37] = 2500;
    const std::int16_t min = 2800;
    const std::int16_t max = 3200;
    std::array<std::uint16_t, 256> reversed;
    for (int k = 0; k < 256; ++k) {
        reversed[k] = received[255 - k];
    }

    Render(received, false, min, max, 1);
    for (int sy = 0; sy < kSide; ++sy) {
        for (int sx = 0; sx < kSide; ++sx) {
            const int value = received[16 * (15 - sx / 12) + sy / 12];
            const Bgr expected = BgrOf(palettes_.Colour(ReferenceIndex(value, min, max), 1));
            ASSERT_EQ(PixelAt(renderer_, sx, sy), expected) << "plain " << sx << "," << sy;
        }
    }

    Render(received, true, min, max, 1);
    for (int sy = 0; sy < kSide; ++sy) {
        for (int sx = 0; sx < kSide; ++sx) {
            const int gridRow = sx / 2;
            const int gridColumn = (kSide - 1 - sy) / 2;
            const int value = ReferenceGridValue(reversed, gridRow, gridColumn);
            const Bgr expected = BgrOf(palettes_.Colour(ReferenceIndex(value, min, max), 1));
            ASSERT_EQ(PixelAt(renderer_, sx, sy), expected) << "smooth " << sx << "," << sy;
        }
    }
}

}  // namespace
