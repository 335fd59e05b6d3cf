#include "display/image_interpolator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <vector>

namespace {

constexpr int kGrid = 96;
constexpr int kBand = 3;
constexpr int kStep = 6;
constexpr std::int16_t kUntouched = -7;

using Input = std::array<std::uint16_t, 256>;

class ImageInterpolatorTest : public ::testing::Test {
  protected:
    ImageInterpolatorTest() : grid_(kGrid * kGrid, kUntouched) { interpolator_.SetSize(kGrid); }

    void Run(const Input& input) { interpolator_.Interpolate(input, grid_); }
    std::int16_t At(int row, int column) const { return grid_[row * kGrid + column]; }
    static bool Written(int row, int column) {
        return row >= kBand && row < kGrid - kBand && column >= kBand && column < kGrid - kBand;
    }

    ImageInterpolator interpolator_;
    std::vector<std::int16_t> grid_;
};

TEST(ImageInterpolatorSize, SizeZeroWritesNothing) {
    const ImageInterpolator interpolator;
    Input input;
    input.fill(3000);
    std::vector<std::int16_t> grid(16, kUntouched);
    interpolator.Interpolate(input, grid);
    EXPECT_TRUE(std::all_of(grid.begin(), grid.end(), [](auto v) { return v == kUntouched; }));
}

TEST_F(ImageInterpolatorTest, ConstantFrameGivesUniformGridAndLeavesTheBand) {
    Input input;
    input.fill(2950);
    Run(input);
    for (int row = 0; row < kGrid; ++row) {
        for (int column = 0; column < kGrid; ++column) {
            ASSERT_EQ(At(row, column), Written(row, column) ? 2950 : kUntouched)
                << row << "," << column;
        }
    }
}

TEST_F(ImageInterpolatorTest, EveryInputPixelLandsExactlyOnItsGridPosition) {
    Input input;
    std::srand(7);
    for (auto& v : input) {
        v = static_cast<std::uint16_t>(2500 + std::rand() % 1500);
    }
    Run(input);
    // Cells cover input rows and columns 0..14; each starts on its input pixel.
    for (int r = 0; r < 15; ++r) {
        for (int c = 0; c < 15; ++c) {
            EXPECT_EQ(At(kBand + r * kStep, kBand + c * kStep), input[r * 16 + c]) << r << "," << c;
        }
    }
}

TEST_F(ImageInterpolatorTest, SingleHotPixelGivesAPeakWithUndershoot) {
    Input input;
    input.fill(2900);
    input[8 * 16 + 8] = 3500;
    Run(input);
    const int peakRow = kBand + 8 * kStep;
    const int peakColumn = kBand + 8 * kStep;
    EXPECT_EQ(At(peakRow, peakColumn), 3500);
    std::int16_t highest = 0;
    std::int16_t lowest = 32767;
    for (int row = kBand; row < kGrid - kBand; ++row) {
        for (int column = kBand; column < kGrid - kBand; ++column) {
            highest = std::max(highest, At(row, column));
            lowest = std::min(lowest, At(row, column));
        }
    }
    EXPECT_EQ(highest, 3500);
    EXPECT_LT(lowest, 2900);
    EXPECT_GT(lowest, 2800);
    // The dip lies between one and two pixels from the peak, along the row and column.
    EXPECT_LT(At(peakRow, peakColumn + 9), 2900);
    EXPECT_LT(At(peakRow - 9, peakColumn), 2900);
    EXPECT_EQ(At(peakRow, peakColumn + 6), 2900);
    // Smooth: the peak falls off monotonically along the row to the next pixel.
    for (int k = 1; k <= kStep; ++k) {
        EXPECT_LT(At(peakRow, peakColumn + k), At(peakRow, peakColumn + k - 1));
    }
}

TEST_F(ImageInterpolatorTest, LinearRampIsReproducedInTheInterior) {
    Input input;
    for (int r = 0; r < 16; ++r) {
        for (int c = 0; c < 16; ++c) {
            input[r * 16 + c] = static_cast<std::uint16_t>(2600 + 12 * c + 30 * r);
        }
    }
    Run(input);
    // Away from the clamped edge pixels the curve through a straight line is the line.
    for (int row = kBand + kStep; row < kBand + 14 * kStep; ++row) {
        for (int column = kBand + kStep; column < kBand + 14 * kStep; ++column) {
            const double exact =
                2600 + 12.0 * (column - kBand) / kStep + 30.0 * (row - kBand) / kStep;
            ASSERT_NEAR(At(row, column), exact, 1.0) << row << "," << column;
        }
    }
}

TEST_F(ImageInterpolatorTest, LargeValuesDoNotOverflow) {
    Input input;
    input.fill(40000);
    input[5 * 16 + 5] = 65535;
    Run(input);
    EXPECT_EQ(At(kBand, kBand), static_cast<std::int16_t>(40000));
    EXPECT_EQ(static_cast<std::uint16_t>(At(kBand + 5 * kStep, kBand + 5 * kStep)), 65535);
    EXPECT_EQ(static_cast<std::uint16_t>(At(kGrid - kBand - 1, kGrid - kBand - 1)), 40000);
}

}  // namespace
