// The fast picture path against the reference path, byte for byte, for every kernel
// variant that this processor runs.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "display/colour_index_scale.h"
#include "display/image_interpolator.h"
#include "display/picture_kernels.h"
#include "display/picture_renderer.h"
#include "display/reference_picture_renderer.h"
#include "palette/palette_set.h"

namespace {

using Frame = std::array<std::uint16_t, 256>;

constexpr int kGrid = PictureKernels::kGridSide;
constexpr std::int16_t kUntouched = -12345;
constexpr int kNarrowLimit = PictureKernels::kNarrowLimit;

Frame Uniform(int value) {
    Frame frame;
    frame.fill(static_cast<std::uint16_t>(value));
    return frame;
}

Frame Random(std::mt19937& random, int low, int high) {
    std::uniform_int_distribution<int> values(low, high);
    Frame frame;
    for (auto& v : frame) {
        v = static_cast<std::uint16_t>(values(random));
    }
    return frame;
}

// A period-4 pattern of 0 and `high` whose cells reach the largest and the smallest
// blends that any frame up to `high` gives: the row fits overshoot to 6.75 times the
// 2048-scaled input, the vertical blend to 46.1 times (down to −10.1 times).
// `inverted` swaps 0 and `high`.
Frame Overshoot(int high, bool inverted = false) {
    Frame frame;
    for (int r = 0; r < 16; ++r) {
        for (int c = 0; c < 16; ++c) {
            const bool inner = ((r % 4 == 1 || r % 4 == 2) == (c % 4 == 1 || c % 4 == 2));
            frame[r * 16 + c] = static_cast<std::uint16_t>(inner != inverted ? high : 0);
        }
    }
    return frame;
}

// Frames across the whole 16-bit range, on both sides of the narrow-lane limit and of
// the point where 32-bit intermediates would overflow (2048·36·29127 < 2³¹).
std::vector<std::pair<std::string, Frame>> Frames() {
    std::mt19937 random(15);
    std::vector<std::pair<std::string, Frame>> frames = {
        {"zero", Uniform(0)},
        {"top", Uniform(65535)},
        {"last uniform 32-bit value", Uniform(29127)},
        {"first uniform 64-bit value", Uniform(29128)},
        {"overshoot at the narrow limit", Overshoot(kNarrowLimit)},
        {"overshoot above the narrow limit", Overshoot(kNarrowLimit + 1)},
        {"last overshoot within 32 bits", Overshoot(22733)},
        {"first overshoot beyond 32 bits", Overshoot(22734)},
        {"overshoot at the top", Overshoot(65535)},
        {"undershoot at the top", Overshoot(65535, true)},
        {"undershoot at the narrow limit", Overshoot(kNarrowLimit, true)},
    };
    for (int k = 0; k < 6; ++k) {
        frames.emplace_back("scene " + std::to_string(k), Random(random, 2600, 3400));
        frames.emplace_back("narrow " + std::to_string(k), Random(random, 0, kNarrowLimit));
        frames.emplace_back("any " + std::to_string(k), Random(random, 0, 65535));
    }
    return frames;
}

// The position of the first element where two sequences differ, -1 when they are equal.
template <typename A, typename B>
long FirstDifference(const A& a, const B& b) {
    if (a.size() != b.size()) {
        return 0;
    }
    const auto [where, other] = std::mismatch(a.begin(), a.end(), b.begin());
    return where == a.end() ? -1 : static_cast<long>(where - a.begin());
}

PictureRenderer::ReversedFrame Reversed(const Frame& frame) {
    PictureRenderer::ReversedFrame reversed;
    std::transform(frame.rbegin(), frame.rend(), reversed.begin(),
                   [](std::uint16_t v) { return static_cast<std::int16_t>(v); });
    return reversed;
}

class PictureExactnessTest : public ::testing::TestWithParam<const PictureKernels*> {
  protected:
    const PictureKernels& Kernels() const { return *GetParam(); }
};

TEST_P(PictureExactnessTest, InterpolationEqualsTheGeneralInterpolator) {
    ImageInterpolator reference;
    reference.SetSize(kGrid);
    for (const auto& [name, frame] : Frames()) {
        std::vector<std::int16_t> expected(kGrid * kGrid, kUntouched);
        std::vector<std::int16_t> actual(kGrid * kGrid, kUntouched);
        reference.Interpolate(frame, expected);
        Kernels().interpolate(frame.data(), actual.data());
        ASSERT_EQ(FirstDifference(actual, expected), -1) << name;
    }
}

// Every value a grid or frame can hold, through spans of every shape.
TEST_P(PictureExactnessTest, ColourIndicesEqualTheScaleForEveryValue) {
    const std::vector<std::pair<int, int>> spans = {
        {2850, 3300}, {-32768, 32767}, {0, 1}, {-5, 250}, {100, 100}, {3000, 2000}, {32766, 32767}};
    std::vector<std::int16_t> values(65536);
    for (int k = 0; k < 65536; ++k) {
        values[k] = static_cast<std::int16_t>(k - 32768);
    }
    std::vector<std::uint8_t> indices(values.size());
    for (const auto& [min, max] : spans) {
        const ColourIndexScale scale(static_cast<std::int16_t>(min),
                                     static_cast<std::int16_t>(max));
        Kernels().colourIndices(values.data(), static_cast<int>(values.size()), scale,
                                indices.data());
        for (std::size_t k = 0; k < values.size(); ++k) {
            ASSERT_EQ(indices[k], std::clamp(scale.Index(values[k]), 0, 255))
                << "span " << min << ".." << max << ", value " << values[k];
        }
    }
}

// Both modes, every palette (and numbers outside 0..2), spans of every shape: the
// pixels and the grid equal the reference renderer's, starting from the same state.
TEST_P(PictureExactnessTest, PicturesEqualTheReferenceByteForByte) {
    const PaletteSet palettes;
    const std::vector<std::pair<int, int>> spans = {{2850, 3300}, {-32768, 32767}, {2900, 2901},
                                                    {3000, 3000}, {3300, 2850},    {-400, -100}};
    const auto frames = Frames();
    PictureRenderer fast(Kernels());
    ReferencePictureRenderer reference;
    int round = 0;
    for (const auto& [min, max] : spans) {
        for (const int palette : {0, 1, 2, -1, 7}) {
            const auto& [name, frame] = frames[static_cast<std::size_t>(round++) % frames.size()];
            for (const bool smooth : {true, false}) {
                const auto span =
                    std::make_pair(static_cast<std::int16_t>(min), static_cast<std::int16_t>(max));
                fast.Render(Reversed(frame), smooth, span.first, span.second, palettes, palette);
                reference.Render(Reversed(frame), smooth, span.first, span.second, palettes,
                                 palette);
                const auto where = name + ", span " + std::to_string(min) + ".." +
                                   std::to_string(max) + ", palette " + std::to_string(palette) +
                                   (smooth ? ", smooth" : ", plain");
                ASSERT_EQ(FirstDifference(fast.Pixels(), reference.Pixels()), -1) << where;
                ASSERT_EQ(FirstDifference(fast.Grid(), reference.Grid()), -1) << where;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(EveryVariant, PictureExactnessTest, ::testing::ValuesIn([] {
                             std::vector<const PictureKernels*> variants;
                             for (const auto& kernels : PictureKernels::Supported()) {
                                 variants.push_back(&kernels);
                             }
                             return variants;
                         }()),
                         [](const auto& info) { return std::string(info.param->name); });

}  // namespace
