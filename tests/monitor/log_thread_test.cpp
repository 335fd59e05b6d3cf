#include "monitor/log_thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "link/imager_link.h"
#include "support/wait_until.h"

namespace {

using namespace std::chrono_literals;

// Counts the rows; read only after the log thread has ended.
class CountingOutput : public ReadingOutput {
  public:
    explicit CountingOutput(std::atomic<int>& rows, std::atomic<std::uint64_t>& frames)
        : rows_(rows), frames_(frames) {}
    std::optional<std::string> Write(const Reading& reading) override {
        ++rows_;
        frames_ += reading.framesTaken;
        return std::nullopt;
    }
    std::optional<std::string> Write(const AlarmEvent&) override { return std::nullopt; }

  private:
    std::atomic<int>& rows_;
    std::atomic<std::uint64_t>& frames_;
};

// Frames and settings come from other threads while the log writes its rows; every frame
// shown to it is in a row once it has stopped, the last interval's included.
TEST(LogThreadTest, EveryFrameShownEndsUpInARow) {
    ImagerLink link(nullptr);
    std::atomic<int> rows{0};
    std::atomic<std::uint64_t> frames{0};
    LogThread log(link, std::make_unique<CountingOutput>(rows, frames), 100ms, LogSettings{});
    log.Start();
    std::atomic<bool> stop{false};
    int shown = 0;
    std::thread feeder([&] {
        while (!stop) {
            log.Frames().FrameArrived(
                ThermalFrame::Filled(static_cast<std::uint16_t>(2900 + shown % 50)));
            ++shown;
            std::this_thread::sleep_for(2ms);
        }
    });
    std::thread settings([&] {
        LogSettings fahrenheit;
        fahrenheit.correction.unit = temperature_unit::kFahrenheit;
        while (!stop) {
            log.SetSettings(fahrenheit);
            log.SetSettings(LogSettings{});
            std::this_thread::sleep_for(5ms);
        }
    });
    ASSERT_TRUE(test_support::WaitUntil([&] { return rows >= 3; }));
    stop = true;
    feeder.join();
    settings.join();
    log.Stop();
    EXPECT_EQ(frames, static_cast<std::uint64_t>(shown));
    EXPECT_FALSE(log.Failure().has_value());
}

}  // namespace
