// Picture rendering speed in both picture modes: the fast path, the reference path it
// must equal byte for byte, OpenCV doing the same job (when built with it) and a
// straightforward floating-point Catmull-Rom renderer; and a full paint of the thermal
// image control into its off-screen image. Without arguments the picture benchmarks
// are repeated in random interleaved order and a summary of medians, spreads and
// ratios follows the table.
#include <benchmark/benchmark.h>
#include <QApplication>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "display/picture_kernels.h"
#include "display/picture_renderer.h"
#include "display/qt/thermal_image_control.h"
#include "display/reference_picture_renderer.h"
#include "palette/palette_set.h"
#include "platform/string_resources.h"
#include "repetition_summary.h"
#ifdef QUORVEL_WITH_OPENCV
#include <opencv2/core/utility.hpp>

#include "opencv_picture.h"
#endif

namespace {

constexpr int kPicture = 192;
constexpr int kRowBytes = kPicture * 3;
constexpr int kGrid = 96;

PictureRenderer::ReversedFrame SceneFrame() {
    PictureRenderer::ReversedFrame frame;
    for (int r = 0; r < 16; ++r) {
        for (int c = 0; c < 16; ++c) {
            const double dx = c - 9.5;
            const double dy = r - 6.0;
            frame[r * 16 + c] = static_cast<std::int16_t>(
                2900 + 350 * std::exp(-(dx * dx + dy * dy) / 10.0) + 7 * c);
        }
    }
    return frame;
}

// The same picture computed the obvious way: every grid value by floating-point
// Catmull-Rom convolution of its 4 × 4 neighbourhood, every pixel looked up and
// written on its own, no row copies.
class FloatReferenceRenderer {
  public:
    FloatReferenceRenderer() : grid_(kGrid * kGrid, 0.0f), pixels_(kPicture * kRowBytes, 0) {}

    void RenderInterpolated(const PictureRenderer::ReversedFrame& frame, int min, int max,
                            const PaletteSet& palettes, int palette) {
        for (int y = 3; y < kGrid - 3; ++y) {
            for (int x = 3; x < kGrid - 3; ++x) {
                grid_[y * kGrid + x] = Sample(frame, (y - 3) / 6.0f, (x - 3) / 6.0f);
            }
        }
        for (int sy = 0; sy < kPicture; ++sy) {
            for (int sx = 0; sx < kPicture; ++sx) {
                const float value = grid_[(sx / 2) * kGrid + (kPicture - 1 - sy) / 2];
                Write(sx, sy, palettes.Colour(Index(value, min, max), palette));
            }
        }
    }

    void RenderPlain(const PictureRenderer::ReversedFrame& frame, int min, int max,
                     const PaletteSet& palettes, int palette) {
        for (int sy = 0; sy < kPicture; ++sy) {
            for (int sx = 0; sx < kPicture; ++sx) {
                const float value = frame[(sx / 12) * 16 + 15 - sy / 12];
                Write(sx, sy, palettes.Colour(Index(value, min, max), palette));
            }
        }
    }

    const std::uint8_t* Data() const { return pixels_.data(); }

  private:
    static float Weight(float t, int k) {
        const float t2 = t * t, t3 = t2 * t;
        switch (k) {
            case 0:
                return 0.5f * (-t3 + 2 * t2 - t);
            case 1:
                return 0.5f * (3 * t3 - 5 * t2 + 2);
            case 2:
                return 0.5f * (-3 * t3 + 4 * t2 + t);
            default:
                return 0.5f * (t3 - t2);
        }
    }

    static float Sample(const PictureRenderer::ReversedFrame& frame, float row, float column) {
        const int r0 = static_cast<int>(row);
        const int c0 = static_cast<int>(column);
        const float tr = row - r0;
        const float tc = column - c0;
        float sum = 0.0f;
        for (int k = 0; k < 4; ++k) {
            const int r = std::clamp(r0 - 1 + k, 0, 15);
            float line = 0.0f;
            for (int m = 0; m < 4; ++m) {
                const int c = std::clamp(c0 - 1 + m, 0, 15);
                line += Weight(tc, m) * static_cast<std::uint16_t>(frame[r * 16 + c]);
            }
            sum += Weight(tr, k) * line;
        }
        return sum;
    }

    static int Index(float value, int min, int max) {
        if (max <= min) {
            return 0;
        }
        value = std::clamp(value, static_cast<float>(min), static_cast<float>(max));
        return static_cast<int>((value - min) * 255.0f / static_cast<float>(max - min));
    }

    void Write(int sx, int sy, ColourRef colour) {
        std::uint8_t* p = &pixels_[(kPicture - 1 - sy) * kRowBytes + 3 * sx];
        p[0] = static_cast<std::uint8_t>(BlueOf(colour));
        p[1] = static_cast<std::uint8_t>(GreenOf(colour));
        p[2] = static_cast<std::uint8_t>(RedOf(colour));
    }

    std::vector<float> grid_;
    std::vector<std::uint8_t> pixels_;
};

constexpr std::int16_t kSpanMin = 2850;
constexpr std::int16_t kSpanMax = 3300;
constexpr int kPalette = 1;

// The scene with a 3000 K hot spot: a frame above the value up to which the smooth
// picture's last interpolation step fits 32 bits, so it takes the split form.
PictureRenderer::ReversedFrame HotSceneFrame() {
    auto frame = SceneFrame();
    frame[6 * 16 + 9] = 30000;
    return frame;
}

// One picture per iteration by any renderer with Render(frame, smooth) and Data().
template <typename Renderer>
void RunPicture(benchmark::State& state, Renderer& renderer,
                const PictureRenderer::ReversedFrame& frame, bool smooth) {
    for (auto _ : state) {
        renderer.Render(frame, smooth);
        benchmark::DoNotOptimize(renderer.Data());
        benchmark::ClobberMemory();
    }
}

// The renderers behind one calling convention, with the scene's span and palette.
template <typename Picture>
class WithSceneSettings {
  public:
    void Render(const PictureRenderer::ReversedFrame& frame, bool smooth) {
        picture_.Render(frame, smooth, kSpanMin, kSpanMax, palettes_, kPalette);
    }
    const std::uint8_t* Data() const { return picture_.Data(); }

  private:
    PaletteSet palettes_;
    Picture picture_;
};

class FloatPicture {
  public:
    void Render(const PictureRenderer::ReversedFrame& frame, bool smooth) {
        if (smooth) {
            renderer_.RenderInterpolated(frame, kSpanMin, kSpanMax, palettes_, kPalette);
        } else {
            renderer_.RenderPlain(frame, kSpanMin, kSpanMax, palettes_, kPalette);
        }
    }
    const std::uint8_t* Data() const { return renderer_.Data(); }

  private:
    PaletteSet palettes_;
    FloatReferenceRenderer renderer_;
};

#ifdef QUORVEL_WITH_OPENCV
class OpenCvScenePicture {
  public:
    OpenCvScenePicture() : picture_(palettes_, kPalette) {}
    void Render(const PictureRenderer::ReversedFrame& frame, bool smooth) {
        picture_.Render(frame, smooth, kSpanMin, kSpanMax);
    }
    const std::uint8_t* Data() const { return picture_.Image().data; }

  private:
    PaletteSet palettes_;
    OpenCvPicture picture_;
};
#endif

template <typename Renderer>
void RegisterPicture(const std::string& path) {
    for (const bool smooth : {true, false}) {
        const std::string name = std::string("Picture/") + (smooth ? "smooth/" : "plain/") + path;
        benchmark::RegisterBenchmark(name.c_str(), [smooth](benchmark::State& state) {
            Renderer renderer;
            RunPicture(state, renderer, SceneFrame(), smooth);
        })->Unit(benchmark::kMicrosecond);
    }
}

template <typename Renderer>
void RegisterHotPicture(const std::string& path) {
    benchmark::RegisterBenchmark(("Picture/hot/" + path).c_str(), [](benchmark::State& state) {
        Renderer renderer;
        RunPicture(state, renderer, HotSceneFrame(), true);
    })->Unit(benchmark::kMicrosecond);
}

class BenchStrings : public StringResources {
  public:
    std::string String(int id) const override {
        static const std::map<int, std::string> texts = {{149, "S1 "},
                                                         {150, "S2 "},
                                                         {151,
                                                          "\xC2\xB0"
                                                          "C"},
                                                         {154, "Snapshot %d of %d"}};
        const auto found = texts.find(id);
        return found == texts.end() ? std::string() : found->second;
    }
};

ThermalFrame ReceivedScene() {
    const auto reversed = SceneFrame();
    ThermalFrame frame;
    for (int k = 0; k < 256; ++k) {
        frame[k] = static_cast<std::uint16_t>(reversed[255 - k]);
    }
    return frame;
}

// Interpolated picture, both markers with their readouts and the difference, the
// cursor, and the three status lines.
void BM_ThermalImageControlPaint(benchmark::State& state) {
    const PaletteSet palettes;
    const BenchStrings strings;
    ThermalImageControl control;
    control.resize(196, 196);
    control.SetStringResources(&strings);
    DisplayState look;
    look.paletteNumber = 1;
    look.spanLow = 2850;
    look.spanHigh = 3300;
    look.spots = {0x57, 0x9A};
    look.emissivity = 0.95f;
    look.background = 200;
    control.Initialise(&palettes, look, ReceivedScene(), true);
    control.SetStatus(1, 4, "Pipe joint", "Snapshot 2");
    for (auto _ : state) {
        const QImage* image = control.PaintOffscreen();
        benchmark::DoNotOptimize(image);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_ThermalImageControlPaint)->Unit(benchmark::kMicrosecond);

// Repeated, interleaved runs unless the command line says otherwise.
std::vector<char*> WithDefaultRepetitions(int argc, char** argv) {
    static char repetitions[] = "--benchmark_repetitions=7";
    static char interleaving[] = "--benchmark_enable_random_interleaving=true";
    static char minTime[] = "--benchmark_min_time=0.2";
    std::vector<char*> arguments(argv, argv + argc);
    if (argc == 1) {
        arguments.insert(arguments.end(), {repetitions, interleaving, minTime});
    }
    arguments.push_back(nullptr);
    return arguments;
}

void PrintSummary(const RepetitionSummary& summary) {
    std::cout << "\nPicture, CPU time per frame: median (lowest .. highest over the repetitions)\n";
    for (const std::string mode : {"smooth", "plain", "hot"}) {
        std::cout << mode
                  << (mode == "hot" ? " (smooth, a value above " +
                                          std::to_string(PictureKernels::kNarrowLimit) + "):\n"
                                    : std::string(":\n"));
        const std::string fast = "Picture/" + mode + "/fast";
        PrintSummaryLine(std::cout, summary, "fast path", fast, fast);
        PrintSummaryLine(std::cout, summary, "reference path", "Picture/" + mode + "/reference",
                         fast);
        PrintSummaryLine(std::cout, summary, "OpenCV", "Picture/" + mode + "/opencv", fast);
        PrintSummaryLine(std::cout, summary, "float Catmull-Rom", "Picture/" + mode + "/float",
                         fast);
    }
}

}  // namespace

int main(int argc, char** argv) {
    // Widgets need an application; no display is needed to paint off screen.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    auto arguments = WithDefaultRepetitions(argc, argv);
    int count = static_cast<int>(arguments.size()) - 1;
    benchmark::Initialize(&count, arguments.data());
    if (benchmark::ReportUnrecognizedArguments(count, arguments.data())) {
        return 1;
    }
    RegisterPicture<WithSceneSettings<PictureRenderer>>("fast");
    RegisterPicture<WithSceneSettings<ReferencePictureRenderer>>("reference");
    RegisterHotPicture<WithSceneSettings<PictureRenderer>>("fast");
    RegisterHotPicture<WithSceneSettings<ReferencePictureRenderer>>("reference");
#ifdef QUORVEL_WITH_OPENCV
    // One thread, as the other paths; the check makes sure the ratio compares like
    // with like.
    cv::setNumThreads(1);
    if (const std::string difference = PictureLayoutDifference(); !difference.empty()) {
        std::cerr << "OpenCV picture layout differs: " << difference << '\n';
        return 1;
    }
    RegisterPicture<OpenCvScenePicture>("opencv");
#else
    std::cout << "Built without OpenCV: no comparison with it.\n";
#endif
    RegisterPicture<FloatPicture>("float");
    RepetitionSummary summary;
    benchmark::RunSpecifiedBenchmarks(&summary);
    benchmark::Shutdown();
    PrintSummary(summary);
    return 0;
}
