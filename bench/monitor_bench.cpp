// The log's own work at the line's full rate (about 21 frames a second): taking in a
// frame, and 21 frames with the 1-second row they make. The budget of the whole of
// quorvel-log is 0.3 % of one core, 3 ms of CPU a second: about 140 us a frame.

#include <benchmark/benchmark.h>

#include <random>

#include "monitor/interval_frames.h"
#include "monitor/reading_maker.h"
#include "monitor/row_format.h"

namespace {

ThermalFrame NoisyScene(std::mt19937& random) {
    std::uniform_int_distribution<int> pixel(2900, 3100);
    ThermalFrame frame;
    for (auto& value : frame.pixels) {
        value = static_cast<std::uint16_t>(pixel(random));
    }
    return frame;
}

LogSettings Settings() {
    LogSettings settings;
    settings.correction = {temperature_unit::kCelsius, 250, 0.95f};
    settings.spots = {FrameCell{7, 7}, FrameCell{3, 12}};
    settings.averageCount = 4;
    return settings;
}

void BM_FrameIntake(benchmark::State& state) {
    std::mt19937 random(1);
    const std::vector<ThermalFrame> frames{NoisyScene(random), NoisyScene(random)};
    IntervalFrames log(Settings());
    std::size_t k = 0;
    for (auto _ : state) {
        log.FrameArrived(frames[k++ % frames.size()]);
    }
}
BENCHMARK(BM_FrameIntake);

void BM_RowOf21Frames(benchmark::State& state) {
    std::mt19937 random(2);
    const ThermalFrame frame = NoisyScene(random);
    IntervalFrames log(Settings());
    ReadingMaker maker;
    const RowFormat csv(RowFormat::Kind::kCsv, 2);
    HeadStatus head;
    head.range = {1, "-20 ... 100 C", 2530, 3730};
    head.health.framesTaken = 1;
    for (auto _ : state) {
        for (int k = 0; k < 21; ++k) {
            log.FrameArrived(frame);
        }
        const Reading reading = maker.Make(log.TakeSummary(), head, 0, "2026-12-08T14:31:41+01:00");
        benchmark::DoNotOptimize(csv.Line(reading));
    }
}
BENCHMARK(BM_RowOf21Frames);

}  // namespace

BENCHMARK_MAIN();
