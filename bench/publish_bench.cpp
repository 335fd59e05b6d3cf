// What publishing costs the logger: the caller's side of a message to the broker (it
// must never wait for the network), messages acknowledged by a local broker, and a row
// committed to the SQLite log.
//
// The acknowledged-message benchmark needs a broker: start one, e.g.
//   mosquitto -p 18830 &  QUORVEL_BENCH_MQTT_URL=mqtt://127.0.0.1:18830 publish_bench
// It is skipped without QUORVEL_BENCH_MQTT_URL.

#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "publish/mqtt_publisher.h"
#include "publish/sqlite_log.h"

namespace {

// A row as --format jsonl writes it, with two spots.
constexpr const char* kRow =
    "{\"time\":\"2026-12-08T14:31:41+01:00\",\"head\":4711,\"range\":2,\"rangeText\":"
    "\"0..250 \\u00b0C\",\"frames\":21,\"lost\":0,\"lowest\":19.3,\"highest\":84.7,"
    "\"mean\":31.06,\"hottest\":[3,12],\"coldest\":[15,0],\"spots\":[21.5,22.1],"
    "\"state\":\"ok\"}";

double ProcessCpuSeconds() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& time) {
        return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) * 1e-6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

MqttSettings Settings(const std::string& url) {
    MqttSettings settings;
    settings.address = MqttAddress::Parse(url);
    settings.topicPrefix = "quorvel/bench/4711";
    return settings;
}

// The broker is away (nothing listens at port 1): every call queues, and once the queue
// is full drops the oldest. This is all the acquisition side ever pays.
void BM_PublishReadingWhileBrokerAway(benchmark::State& state) {
    MqttPublisher publisher(Settings("mqtt://127.0.0.1:1"));
    publisher.Start();
    for (auto _ : state) {
        publisher.PublishReading(kRow);
    }
    publisher.Close(std::chrono::milliseconds(0));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_PublishReadingWhileBrokerAway);

// Batches of 1000 messages, each batch timed until the broker acknowledged all of it.
// cpu_per_message counts every thread of the process (the publisher's own included).
void BM_PublishReadingAcknowledged(benchmark::State& state) {
    const char* url = std::getenv("QUORVEL_BENCH_MQTT_URL");
    if (url == nullptr) {
        state.SkipWithError("QUORVEL_BENCH_MQTT_URL is not set");
        return;
    }
    constexpr int kBatch = 1000;
    MqttPublisher publisher(Settings(url));
    publisher.Start();
    const double cpuBefore = ProcessCpuSeconds();
    for (auto _ : state) {
        const std::uint64_t target = publisher.Counts().acknowledged + kBatch;
        for (int i = 0; i < kBatch; ++i) {
            publisher.PublishReading(kRow);
        }
        while (publisher.Counts().acknowledged < target) {
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
    }
    const double messages = static_cast<double>(state.iterations()) * kBatch;
    state.counters["cpu_per_message_us"] = (ProcessCpuSeconds() - cpuBefore) / messages * 1e6;
    state.counters["messages"] = benchmark::Counter(messages, benchmark::Counter::kIsRate);
    publisher.Close();
}
BENCHMARK(BM_PublishReadingAcknowledged)->UseRealTime()->Unit(benchmark::kMillisecond);

// One row committed per call, as the logger does (write-ahead logging, synchronous
// NORMAL), in a file of the temporary folder.
void BM_SqliteLogAdd(benchmark::State& state) {
    std::string folder = (std::filesystem::temp_directory_path() / "quorvel-bench-XXXXXX").string();
    if (::mkdtemp(folder.data()) == nullptr) {
        state.SkipWithError("cannot create a temporary folder");
        return;
    }
    {
        SqliteLog log(std::filesystem::path(folder) / "bench.sqlite", "C");
        log.Open();
        Reading reading;
        reading.timeText = "2026-12-08T14:31:41+01:00";
        reading.headSerial = 4711;
        reading.rangeNumber = 2;
        reading.rangeText = "0..250 °C";
        reading.framesTaken = 21;
        reading.lowest = 19.3f;
        reading.highest = 84.7f;
        reading.mean = 31.06;
        reading.hottest = FrameCell{3, 12};
        reading.coldest = FrameCell{15, 0};
        reading.spots = {21.5f, 22.1f};
        reading.state = "ok";
        for (auto _ : state) {
            ++reading.time;
            log.Add(reading);
        }
    }
    std::filesystem::remove_all(folder);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SqliteLogAdd)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
