#include "display/picture_kernels.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <utility>

#include "display/colour_index_scale.h"

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#define QUORVEL_AVX2_VARIANT 1
#endif

// The kernel bodies are always inlined into one entry point per instruction set, so
// the compiler vectorises each copy for its own target. The loops run over whole
// blocks of 16 or 32 lanes, which lets them vectorise without scalar remainders.
#define QUORVEL_KERNEL_BODY [[gnu::always_inline]] inline

namespace {

constexpr int kSide = PictureKernels::kFrameSide;
constexpr int kGrid = PictureKernels::kGridSide;
constexpr int kBand = PictureKernels::kGridBand;
constexpr int kStep = kGrid / kSide;      // n: grid positions per input pixel
constexpr int kCells = kSide - 1;         // cells between neighbouring input pixels
constexpr int kWritten = kCells * kStep;  // 90 grid rows and columns written
constexpr int kLanes = 96;                // kWritten padded to whole blocks of 16
constexpr std::int32_t kScale = 2048;
constexpr std::int32_t kDivisor = kStep * kStep * kScale;

static_assert(kLanes % 16 == 0 && kLanes >= kWritten && kStep * kSide == kGrid);

// The two parabolas of the blend, as the general interpolator truncates them: the
// slope (q2 − q0)/(2n) and the curvature (q2 − (q2 − q0)/2 − q1)/n² of the curve
// through q0, q1, q2 at −n, 0, n. Dividing by these constants compiles to exact
// multiply-and-shift sequences that truncate toward zero like the division.
QUORVEL_KERNEL_BODY std::int32_t Slope(std::int32_t q0, std::int32_t q2) {
    return (q2 - q0) / (2 * kStep);
}
QUORVEL_KERNEL_BODY std::int32_t Curvature(std::int32_t q0, std::int32_t q1, std::int32_t q2) {
    return (q2 - (q2 - q0) / 2 - q1) / (kStep * kStep);
}

// The left curve q1 + t·(a1 + c1·t) and the right curve q2 + s·(a2 + c2·s), s = t − n,
// at offset t, and n times their linear blend. Bounds for every 16-bit input (the
// extremes of these near-linear forms, taken where each of the 4 × 4 inputs is 0 or
// the maximum): the horizontal blend lies within [−0.75, 6.75]·2048·65535, the
// vertical step's differences within ±7.5·2048·65535 and its curve values within
// [−1.7, 7.7]·2048·65535, all inside 32 bits. Only the final vertical blend reaches
// 46.2·2048·max(input), which 32 bits hold up to kNarrowLimit (2.08·10⁹ < 2³¹);
// DivideWide divides it without forming it.
template <int t>
QUORVEL_KERNEL_BODY std::int32_t LeftCurve(std::int32_t q1, std::int32_t a1, std::int32_t c1) {
    return q1 + t * (a1 + c1 * t);
}
template <int t>
QUORVEL_KERNEL_BODY std::int32_t RightCurve(std::int32_t q2, std::int32_t a2, std::int32_t c2) {
    constexpr int s = t - kStep;
    return q2 + s * (a2 + c2 * s);
}
template <int t>
QUORVEL_KERNEL_BODY std::int32_t Blend(std::int32_t left, std::int32_t right) {
    return (kStep - t) * left + t * right;
}

// The grid value: the final vertical blend divided by n²·2048, truncated toward zero.
// Up to kNarrowLimit the blend itself fits 32 bits.
template <int t>
QUORVEL_KERNEL_BODY std::int32_t DivideNarrow(std::int32_t left, std::int32_t right) {
    return Blend<t>(left, right) / kDivisor;
}

// The same for any 16-bit frame, whose blend needs up to 34 bits, in 32-bit lanes all
// the same: both curves split at bit 13 give the blend as 8192·high + low, so its
// floor and ceiling divided by 8192 are exact; the one toward zero is then divided
// by 9 (n²·2048 = 8192·9, and truncating in two steps truncates the whole quotient).
template <int t>
QUORVEL_KERNEL_BODY std::int32_t DivideWide(std::int32_t left, std::int32_t right) {
    constexpr int kShift = 13;
    constexpr std::int32_t kMask = (1 << kShift) - 1;
    static_assert(kDivisor % (kMask + 1) == 0);
    const std::int32_t high = (kStep - t) * (left >> kShift) + t * (right >> kShift);
    const std::int32_t low = (kStep - t) * (left & kMask) + t * (right & kMask);
    const std::int32_t floor = high + (low >> kShift);
    const std::int32_t towardZero = floor >= 0 || (low & kMask) == 0 ? floor : floor + 1;
    return towardZero / (kDivisor >> kShift);
}

using Row = std::array<std::int32_t, kLanes>;
using CellLanes = std::array<std::int32_t, kSide>;

// Slopes and curvatures of both parabolas of every cell of an input row, one lane per
// cell (the last lane is padding).
struct CellCurves {
    CellLanes a1, c1, a2, c2;

    QUORVEL_KERNEL_BODY void Fit(const std::int32_t* q0, const std::int32_t* q1,
                                 const std::int32_t* q2, const std::int32_t* q3) {
        for (int c = 0; c < kSide; ++c) {
            a1[c] = Slope(q0[c], q2[c]);
            c1[c] = Curvature(q0[c], q1[c], q2[c]);
            a2[c] = Slope(q1[c], q3[c]);
            c2[c] = Curvature(q1[c], q2[c], q3[c]);
        }
    }
};

// The input row scaled by 2048, with one clamped pixel before it and three after it,
// so that each of 16 cell lanes reads its four neighbours.
using PaddedRow = std::array<std::int32_t, kSide + 4>;

// n times the horizontal blend at offset i of every cell of one input row.
template <int i>
QUORVEL_KERNEL_BODY void BlendCells(const PaddedRow& q, const CellCurves& curves, CellLanes& out) {
    const std::int32_t* q1 = q.data() + 1;
    const std::int32_t* q2 = q.data() + 2;
    for (int c = 0; c < kSide; ++c) {
        out[c] = Blend<i>(LeftCurve<i>(q1[c], curves.a1[c], curves.c1[c]),
                          RightCurve<i>(q2[c], curves.a2[c], curves.c2[c]));
    }
}

template <int... i>
QUORVEL_KERNEL_BODY void BlendCellOffsets(const PaddedRow& q, const CellCurves& curves,
                                          std::array<CellLanes, kStep>& out,
                                          std::integer_sequence<int, i...>) {
    (BlendCells<i>(q, curves, out[i]), ...);
}

// n times the horizontal blend of one input row at every written grid column, each
// cell's parabolas fitted once. Lanes are cells here; the blends of offset i are then
// spread to columns 6·cell + i.
QUORVEL_KERNEL_BODY void BlendFrameRow(const std::uint16_t* frame, Row& out) {
    PaddedRow q;
    for (int k = 0; k < static_cast<int>(q.size()); ++k) {
        q[k] = frame[std::clamp(k - 1, 0, kSide - 1)] * kScale;
    }
    CellCurves curves;
    curves.Fit(q.data(), q.data() + 1, q.data() + 2, q.data() + 3);
    std::array<CellLanes, kStep> blends;
    BlendCellOffsets(q, curves, blends, std::make_integer_sequence<int, kStep>());
    std::fill(out.begin() + kWritten, out.end(), 0);
    for (int cell = 0; cell < kCells; ++cell) {
        for (int i = 0; i < kStep; ++i) {
            out[cell * kStep + i] = blends[i][cell];
        }
    }
}

// The grid values at every row offset j of one column of a cell row: the blend of the
// vertical parabolas, n²·2048 times the value, divided.
template <bool kWide, int... j>
QUORVEL_KERNEL_BODY void DivideBlends(std::int32_t q1, std::int32_t a1, std::int32_t c1,
                                      std::int32_t q2, std::int32_t a2, std::int32_t c2,
                                      std::array<std::int16_t, kLanes>* rows, int x,
                                      std::integer_sequence<int, j...>) {
    ((rows[j][x] = static_cast<std::int16_t>(
          kWide ? DivideWide<j>(LeftCurve<j>(q1, a1, c1), RightCurve<j>(q2, a2, c2))
                : DivideNarrow<j>(LeftCurve<j>(q1, a1, c1), RightCurve<j>(q2, a2, c2)))),
     ...);
}

// The n grid rows of one cell row from the horizontal blends of the four input rows
// around it: the vertical parabolas of each column are fitted once and blended at
// every row offset, then columns 3..92 of each grid row are written.
template <bool kWide>
QUORVEL_KERNEL_BODY void InterpolateCellRow(const Row& r0, const Row& r1, const Row& r2,
                                            const Row& r3, std::int16_t* firstRow) {
    std::array<std::array<std::int16_t, kLanes>, kStep> rows;
    for (int x = 0; x < kLanes; ++x) {
        DivideBlends<kWide>(r1[x], Slope(r0[x], r2[x]), Curvature(r0[x], r1[x], r2[x]), r2[x],
                            Slope(r1[x], r3[x]), Curvature(r1[x], r2[x], r3[x]), rows.data(), x,
                            std::make_integer_sequence<int, kStep>());
    }
    for (int j = 0; j < kStep; ++j) {
        std::memcpy(firstRow + j * kGrid + kBand, rows[j].data(), kWritten * sizeof(std::int16_t));
    }
}

QUORVEL_KERNEL_BODY void InterpolateBody(const std::uint16_t* frame, std::int16_t* grid) {
    std::array<Row, kSide> rows;
    for (int r = 0; r < kSide; ++r) {
        BlendFrameRow(frame + r * kSide, rows[r]);
    }
    const bool narrow =
        *std::max_element(frame, frame + kSide * kSide) <= PictureKernels::kNarrowLimit;
    for (int r0 = 0; r0 < kCells; ++r0) {
        const Row& r1 = rows[r0];
        const Row& r2 = rows[r0 + 1];
        const Row& before = rows[std::max(r0 - 1, 0)];
        const Row& after = rows[std::min(r0 + 2, kSide - 1)];
        std::int16_t* firstRow = grid + (kBand + r0 * kStep) * kGrid;
        if (narrow) {
            InterpolateCellRow<false>(before, r1, r2, after, firstRow);
        } else {
            InterpolateCellRow<true>(before, r1, r2, after, firstRow);
        }
    }
}

// ColourIndexScale::Index for blocks of 32 values: the same clamp, the same
// single-precision product and truncation (the product lies in 0..255.x, so the
// conversion to int equals the conversion to int16), then the palette's limit 0..255.
QUORVEL_KERNEL_BODY void ColourIndicesBody(const std::int16_t* values, int count,
                                           const ColourIndexScale& scale,
                                           std::uint8_t* __restrict indices) {
    if (!scale.Valid()) {
        std::fill(indices, indices + count, std::uint8_t{0});
        return;
    }
    const int min = scale.Min();
    const int max = scale.Max();
    const float gain = scale.Gain();
    constexpr int kBlock = 32;
    for (int start = 0; start < count; start += kBlock) {
        for (int k = start; k < start + kBlock; ++k) {
            const int limited = std::clamp<int>(values[k], min, max);
            const int index = static_cast<int>(static_cast<float>(limited - min) * gain);
            indices[k] = static_cast<std::uint8_t>(std::clamp(index, 0, 255));
        }
    }
}

constexpr int kPicture = 192;
constexpr int kRowBytes = kPicture * 3;
constexpr int kPairBytes = 6;
constexpr int kPairsPerRow = kPicture / 2;

// Writes a 64-bit word as its bytes from the least significant on.
QUORVEL_KERNEL_BODY void StoreLittleEndian(std::uint8_t* to, std::uint64_t word) {
    if constexpr (std::endian::native != std::endian::little) {
        word = __builtin_bswap64(word);
    }
    std::memcpy(to, &word, sizeof word);
}

// One memory row of 96 pixel pairs, kPairsEach pairs per colour index, the indices read
// kStride apart. Four pairs (24 bytes) go out as three 8-byte words, so the row is
// written exactly, with a quarter fewer stores than pair by pair.
template <int kPairsEach, int kStride>
QUORVEL_KERNEL_BODY void WritePictureRow(const std::uint8_t* indices, const std::uint64_t* pairs,
                                         std::uint8_t* row) {
    static_assert(kPairsPerRow % 4 == 0);
    for (int k = 0; k < kPairsPerRow; k += 4) {
        const std::uint64_t p0 = pairs[indices[k / kPairsEach * kStride]];
        const std::uint64_t p1 = pairs[indices[(k + 1) / kPairsEach * kStride]];
        const std::uint64_t p2 = pairs[indices[(k + 2) / kPairsEach * kStride]];
        const std::uint64_t p3 = pairs[indices[(k + 3) / kPairsEach * kStride]];
        std::uint8_t* out = row + k * kPairBytes;
        StoreLittleEndian(out, p0 | p1 << 48);
        StoreLittleEndian(out + 8, p1 >> 16 | p2 << 32);
        StoreLittleEndian(out + 16, p2 >> 32 | p3 << 16);
    }
}

// A whole memory row in 32-byte blocks, which compile to vector moves; a plain memcpy
// of this size becomes a string instruction that starts slowly (the build keeps GCC
// from turning this loop back into one).
QUORVEL_KERNEL_BODY void CopyPictureRow(std::uint8_t* to, const std::uint8_t* from) {
    using Block = std::uint8_t __attribute__((vector_size(32)));
    static_assert(kRowBytes % sizeof(Block) == 0);
    for (std::size_t k = 0; k < kRowBytes; k += sizeof(Block)) {
        Block block;
        std::memcpy(&block, from + k, sizeof block);
        std::memcpy(to + k, &block, sizeof block);
    }
}

template <int kSideCount>
QUORVEL_KERNEL_BODY void WritePictureBody(const std::uint8_t* indices, const std::uint64_t* pairs,
                                          std::uint8_t* pixels) {
    constexpr int kBlock = kPicture / kSideCount;
    for (int i = 0; i < kSideCount; ++i) {
        std::uint8_t* row = pixels + i * kBlock * kRowBytes;
        WritePictureRow<kBlock / 2, kSideCount>(indices + i, pairs, row);
        for (int copy = 1; copy < kBlock; ++copy) {
            CopyPictureRow(row + copy * kRowBytes, row);
        }
    }
}

QUORVEL_KERNEL_BODY void WritePictureSides(const std::uint8_t* indices, int side,
                                           const std::uint64_t* pairs, std::uint8_t* pixels) {
    if (side == kGrid) {
        WritePictureBody<kGrid>(indices, pairs, pixels);
    } else {
        WritePictureBody<kSide>(indices, pairs, pixels);
    }
}

void InterpolateBaseline(const std::uint16_t* frame, std::int16_t* grid) {
    InterpolateBody(frame, grid);
}
void ColourIndicesBaseline(const std::int16_t* values, int count, const ColourIndexScale& scale,
                           std::uint8_t* indices) {
    ColourIndicesBody(values, count, scale, indices);
}

void WritePictureBaseline(const std::uint8_t* indices, int side, const std::uint64_t* pairs,
                          std::uint8_t* pixels) {
    WritePictureSides(indices, side, pairs, pixels);
}

#ifdef QUORVEL_AVX2_VARIANT
[[gnu::target("avx2")]] void WritePictureAvx2(const std::uint8_t* indices, int side,
                                              const std::uint64_t* pairs, std::uint8_t* pixels) {
    WritePictureSides(indices, side, pairs, pixels);
}
[[gnu::target("avx2")]] void InterpolateAvx2(const std::uint16_t* frame, std::int16_t* grid) {
    InterpolateBody(frame, grid);
}
[[gnu::target("avx2")]] void ColourIndicesAvx2(const std::int16_t* values, int count,
                                               const ColourIndexScale& scale,
                                               std::uint8_t* indices) {
    ColourIndicesBody(values, count, scale, indices);
}
#endif

std::span<const PictureKernels> SupportedVariants() {
    static constexpr std::array kAll{
        PictureKernels{"baseline", InterpolateBaseline, ColourIndicesBaseline,
                       WritePictureBaseline},
#ifdef QUORVEL_AVX2_VARIANT
        PictureKernels{"avx2", InterpolateAvx2, ColourIndicesAvx2, WritePictureAvx2},
#endif
    };
    std::size_t count = 1;
#ifdef QUORVEL_AVX2_VARIANT
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx2")) {
        count = 2;
    }
#endif
    return std::span<const PictureKernels>(kAll).first(count);
}

}  // namespace

std::span<const PictureKernels> PictureKernels::Supported() {
    static const std::span<const PictureKernels> supported = SupportedVariants();
    return supported;
}

const PictureKernels& PictureKernels::Best() {
    return Supported().back();
}
