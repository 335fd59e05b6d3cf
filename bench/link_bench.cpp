// Framing and decoding cost of the serial link, against the line rate of 115200 baud
// (11,520 bytes per second at ten bits per byte).

#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <vector>

#include "link/head_wire.h"
#include "link/imager_protocol.h"
#include "link/packet_framer.h"

namespace {

constexpr double kLineBytesPerSecond = 11520.0;

// A frame packet as the head puts it on the line, 0xAA doubled.
std::vector<std::uint8_t> LineFramePacket(std::mt19937& random) {
    std::uniform_int_distribution<int> pixel(2900, 3100);
    std::vector<std::uint8_t> body{71, head_wire::kKindFrame, 1, 0x12, 0x34};
    for (int i = 0; i < 256; ++i) {
        const int value = pixel(random);
        body.push_back(static_cast<std::uint8_t>(value >> 8));
        body.push_back(static_cast<std::uint8_t>(value & 0xFF));
    }
    body.resize(head_wire::kFrameBodyLength, 0);
    std::vector<std::uint8_t> line{head_wire::kEscape, head_wire::kStartMarker};
    for (std::uint8_t byte : body) {
        line.push_back(byte);
        if (byte == head_wire::kEscape) {
            line.push_back(byte);
        }
    }
    line.push_back(head_wire::kEscape);
    line.push_back(head_wire::kEndMarker);
    return line;
}

void BM_FramerThroughput(benchmark::State& state) {
    std::mt19937 random(1);
    std::vector<std::uint8_t> stream;
    for (int i = 0; i < 64; ++i) {
        const auto packet = LineFramePacket(random);
        stream.insert(stream.end(), packet.begin(), packet.end());
    }
    PacketFramer framer;
    std::size_t packets = 0;
    for (auto _ : state) {
        for (std::uint8_t byte : stream) {
            packets += framer.Feed(byte) ? 1 : 0;
        }
        benchmark::DoNotOptimize(packets);
    }
    const double bytes =
        static_cast<double>(state.iterations()) * static_cast<double>(stream.size());
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
    state.counters["x_line_rate"] =
        benchmark::Counter(bytes / kLineBytesPerSecond, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_FramerThroughput);

void BM_DecodeFramePacket(benchmark::State& state) {
    std::mt19937 random(2);
    const auto line = LineFramePacket(random);
    PacketFramer framer;
    PacketBuffer packet{};
    for (std::uint8_t byte : line) {
        if (framer.Feed(byte)) {
            std::copy(framer.Packet().begin(), framer.Packet().end(), packet.begin());
        }
    }
    ImagerProtocol protocol(nullptr);
    for (auto _ : state) {
        benchmark::DoNotOptimize(protocol.Decode(packet));
    }
    // A frame packet takes about 533 bytes on the line, so this many arrive per second.
    const double framesPerSecond = kLineBytesPerSecond / static_cast<double>(line.size());
    state.counters["line_frames_per_s"] = framesPerSecond;
    state.counters["x_line_rate"] = benchmark::Counter(
        static_cast<double>(state.iterations()) / framesPerSecond, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_DecodeFramePacket);

}  // namespace

BENCHMARK_MAIN();
