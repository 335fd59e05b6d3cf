#include "link/acquisition_thread.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <vector>

#include "platform/update_flags.h"
#include "platform/update_notifier.h"

namespace {

using namespace std::chrono_literals;

// Hands out queued frames, one per poll; or the same frame at every poll.
class FakeFrameSource : public AcquisitionThread::FrameSource {
  public:
    void Queue(const ThermalFrame& frame) {
        std::lock_guard lock(mutex_);
        frames_.push_back(frame);
    }
    void AlwaysDeliver(const ThermalFrame& frame) {
        std::lock_guard lock(mutex_);
        always_ = true;
        latest_ = frame;
    }
    int Poll() override {
        std::lock_guard lock(mutex_);
        ++polls_;
        if (always_) {
            return 1;
        }
        if (frames_.empty()) {
            return 0;
        }
        latest_ = frames_.front();
        frames_.pop_front();
        return 1;
    }
    void CopyFrame(ThermalFrame& destination) const override {
        std::lock_guard lock(mutex_);
        destination = latest_;
    }
    int Polls() const {
        std::lock_guard lock(mutex_);
        return polls_;
    }

  private:
    mutable std::mutex mutex_;
    std::deque<ThermalFrame> frames_;
    ThermalFrame latest_;
    bool always_ = false;
    int polls_ = 0;
};

class RecordingNotifier : public UpdateNotifier {
  public:
    void PostUpdate(std::uint32_t hint) override {
        {
            std::lock_guard lock(mutex_);
            hints_.push_back(hint);
        }
        posted_.notify_all();
    }
    std::vector<std::uint32_t> Take() {
        std::lock_guard lock(mutex_);
        return std::exchange(hints_, {});
    }
    std::size_t Count() {
        std::lock_guard lock(mutex_);
        return hints_.size();
    }
    // Waits (bounded, generously) until `hint` has been posted.
    bool WaitFor(std::uint32_t hint) {
        std::unique_lock lock(mutex_);
        return posted_.wait_for(lock, 20s, [&] {
            return std::find(hints_.begin(), hints_.end(), hint) != hints_.end();
        });
    }

  private:
    std::mutex mutex_;
    std::condition_variable posted_;
    std::vector<std::uint32_t> hints_;
};

class AcquisitionThreadTest : public ::testing::Test {
  protected:
    FakeFrameSource source_;
    AcquisitionThread::SharedState state_;
    RecordingNotifier notifier_;
    AcquisitionThread thread_{source_, state_, &notifier_};
};

using Hints = std::vector<std::uint32_t>;

TEST_F(AcquisitionThreadTest, PeriodicFlagsFollowThePassCounter) {
    std::vector<Hints> passes;
    for (int pass = 0; pass < 81; ++pass) {
        thread_.RunPass();
        passes.push_back(notifier_.Take());
    }
    EXPECT_EQ(passes[0], (Hints{256, 128}));
    EXPECT_EQ(passes[1], (Hints{128}));
    EXPECT_EQ(passes[8], (Hints{256, 128}));
    EXPECT_EQ(passes[38], (Hints{128}));
    EXPECT_EQ(passes[39], (Hints{}));  // the counter has become 40
    EXPECT_EQ(passes[40], (Hints{256, 128}));
    EXPECT_EQ(passes[79], (Hints{}));
    EXPECT_EQ(passes[80], (Hints{256, 128}));
    EXPECT_EQ(source_.Polls(), 81);
}

TEST_F(AcquisitionThreadTest, PassCounterWrapsAsASigned16BitValue) {
    std::vector<bool> battery;
    for (int pass = 0; pass < 32800; ++pass) {
        thread_.RunPass();
        const Hints hints = notifier_.Take();
        battery.push_back(std::find(hints.begin(), hints.end(), 128u) != hints.end());
    }
    EXPECT_FALSE(battery[32759]);  // counter 32760, a multiple of 40
    EXPECT_TRUE(battery[32767]);   // counter wraps to -32768
    EXPECT_FALSE(battery[32775]);  // counter -32760
    EXPECT_TRUE(battery[32799]);   // counter -32736, although 32800 is a multiple of 40
}

TEST_F(AcquisitionThreadTest, LiveFrameIsTakenInWithSpanThenFrameFlags) {
    source_.Queue(ThermalFrame::Filled(3000));
    thread_.RunPass();
    EXPECT_EQ(notifier_.Take(), (Hints{4, 1, 256, 128}));
    EXPECT_EQ(state_.rawFrame, ThermalFrame::Filled(3000));
    EXPECT_EQ(state_.displayFrame, ThermalFrame::Filled(3000));
    EXPECT_EQ(state_.spanLow, 2938);
    EXPECT_EQ(state_.spanHigh, 3115);
}

TEST_F(AcquisitionThreadTest, SpanStaysPutWithoutBothAutoSpanFlags) {
    state_.autoSpanOn = false;
    source_.Queue(ThermalFrame::Filled(3000));
    thread_.RunPass();
    state_.autoSpanOn = true;
    state_.autoSpanAllowed = false;
    source_.Queue(ThermalFrame::Filled(3001));
    thread_.RunPass();
    EXPECT_EQ(notifier_.Take(), (Hints{1, 256, 128, 1, 128}));
    EXPECT_EQ(state_.spanLow, 2930);
    EXPECT_EQ(state_.spanHigh, 3130);
    EXPECT_EQ(state_.displayFrame, ThermalFrame::Filled(3001));
}

TEST_F(AcquisitionThreadTest, NarrowSpanIsWidenedToTwoKelvin) {
    state_.spanLow = 3000;
    state_.spanHigh = 3012;  // the update leaves it at 3012
    source_.Queue(ThermalFrame::Filled(3000));
    thread_.RunPass();
    EXPECT_EQ(state_.spanLow, 3000);
    EXPECT_EQ(state_.spanHigh, 3020);
    EXPECT_EQ(notifier_.Take().front(), 4u);
}

TEST_F(AcquisitionThreadTest, FramesAreNotTakenInWhileNotLive) {
    state_.live = false;
    source_.Queue(ThermalFrame::Filled(3000));
    thread_.RunPass();
    EXPECT_EQ(notifier_.Take(), (Hints{256, 128}));
    EXPECT_EQ(state_.displayFrame, ThermalFrame::Filled(2730));
    EXPECT_EQ(source_.Polls(), 1);  // the head is still polled
}

TEST_F(AcquisitionThreadTest, IntegrationCountIsReadAtEveryPass) {
    state_.integrationCount = 2;
    for (std::uint16_t value : {3000, 3010, 3030}) {
        source_.Queue(ThermalFrame::Filled(value));
        thread_.RunPass();
    }
    EXPECT_EQ(state_.displayFrame, ThermalFrame::Filled(3020));
    EXPECT_EQ(state_.rawFrame, ThermalFrame::Filled(3030));
}

TEST_F(AcquisitionThreadTest, FirstPassAfterReturnToLiveIsSlow) {
    EXPECT_EQ(thread_.TakePause(), 75ms);
    state_.slowFirstPass = true;
    EXPECT_EQ(thread_.TakePause(), 500ms);
    EXPECT_FALSE(state_.slowFirstPass);
    EXPECT_EQ(thread_.TakePause(), 75ms);
}

TEST_F(AcquisitionThreadTest, RunningThreadPostsFramesAndStopsForGood) {
    source_.AlwaysDeliver(ThermalFrame::Filled(3100));
    thread_.Start();
    ASSERT_TRUE(notifier_.WaitFor(update_flag::kFrame));
    ASSERT_TRUE(notifier_.WaitFor(update_flag::kSpan));
    thread_.Stop();
    thread_.Stop();  // a second stop is harmless
    const std::size_t posted = notifier_.Count();
    const int polls = source_.Polls();
    std::this_thread::sleep_for(200ms);
    EXPECT_EQ(notifier_.Count(), posted);
    EXPECT_EQ(source_.Polls(), polls);
    std::lock_guard lock(state_.mutex);
    EXPECT_EQ(state_.displayFrame, ThermalFrame::Filled(3100));
}

}  // namespace
