#include "acquisition/acquisition_thread.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <vector>

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

// Records the events of the passes, in order.
class RecordingListener : public AcquisitionListener {
  public:
    void Notice(AcquisitionEvent event) override {
        {
            std::lock_guard lock(mutex_);
            events_.push_back(event);
        }
        told_.notify_all();
    }
    std::vector<AcquisitionEvent> Take() {
        std::lock_guard lock(mutex_);
        return std::exchange(events_, {});
    }
    std::size_t Count() {
        std::lock_guard lock(mutex_);
        return events_.size();
    }
    // Waits (bounded, generously) until `event` has been told.
    bool WaitFor(AcquisitionEvent event) {
        std::unique_lock lock(mutex_);
        return told_.wait_for(lock, 20s, [&] {
            return std::find(events_.begin(), events_.end(), event) != events_.end();
        });
    }

  private:
    std::mutex mutex_;
    std::condition_variable told_;
    std::vector<AcquisitionEvent> events_;
};

class AcquisitionThreadTest : public ::testing::Test {
  protected:
    FakeFrameSource source_;
    AcquisitionThread::SharedState state_;
    RecordingListener listener_;
    AcquisitionThread thread_{source_, state_, &listener_};
};

using Events = std::vector<AcquisitionEvent>;
constexpr AcquisitionEvent kSpan = AcquisitionEvent::kSpanFollowed;
constexpr AcquisitionEvent kFrame = AcquisitionEvent::kFrameTaken;
constexpr AcquisitionEvent kBlink = AcquisitionEvent::kBlink;
constexpr AcquisitionEvent kBattery = AcquisitionEvent::kBatteryCheck;

TEST_F(AcquisitionThreadTest, PeriodicFlagsFollowThePassCounter) {
    std::vector<Events> passes;
    for (int pass = 0; pass < 81; ++pass) {
        thread_.RunPass();
        passes.push_back(listener_.Take());
    }
    EXPECT_EQ(passes[0], (Events{kBlink, kBattery}));
    EXPECT_EQ(passes[1], (Events{kBattery}));
    EXPECT_EQ(passes[8], (Events{kBlink, kBattery}));
    EXPECT_EQ(passes[38], (Events{kBattery}));
    EXPECT_EQ(passes[39], (Events{}));  // the counter has become 40
    EXPECT_EQ(passes[40], (Events{kBlink, kBattery}));
    EXPECT_EQ(passes[79], (Events{}));
    EXPECT_EQ(passes[80], (Events{kBlink, kBattery}));
    EXPECT_EQ(source_.Polls(), 81);
}

TEST_F(AcquisitionThreadTest, PassCounterWrapsAsASigned16BitValue) {
    std::vector<bool> battery;
    for (int pass = 0; pass < 32800; ++pass) {
        thread_.RunPass();
        const Events events = listener_.Take();
        battery.push_back(std::find(events.begin(), events.end(), kBattery) != events.end());
    }
    EXPECT_FALSE(battery[32759]);  // counter 32760, a multiple of 40
    EXPECT_TRUE(battery[32767]);   // counter wraps to -32768
    EXPECT_FALSE(battery[32775]);  // counter -32760
    EXPECT_TRUE(battery[32799]);   // counter -32736, although 32800 is a multiple of 40
}

TEST_F(AcquisitionThreadTest, LiveFrameIsTakenInWithSpanThenFrameFlags) {
    source_.Queue(ThermalFrame::Filled(3000));
    thread_.RunPass();
    EXPECT_EQ(listener_.Take(), (Events{kSpan, kFrame, kBlink, kBattery}));
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
    EXPECT_EQ(listener_.Take(), (Events{kFrame, kBlink, kBattery, kFrame, kBattery}));
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
    EXPECT_EQ(listener_.Take().front(), kSpan);
}

TEST_F(AcquisitionThreadTest, FramesAreNotTakenInWhileNotLive) {
    state_.live = false;
    source_.Queue(ThermalFrame::Filled(3000));
    thread_.RunPass();
    EXPECT_EQ(listener_.Take(), (Events{kBlink, kBattery}));
    EXPECT_EQ(state_.displayFrame, ThermalFrame::Filled(2730));
    EXPECT_EQ(source_.Polls(), 1);  // the head is still polled
}

// Records the frames an observer is shown.
class RecordingObserver : public FrameObserver {
  public:
    void FrameArrived(const ThermalFrame& frame) override { frames.push_back(frame); }
    std::vector<ThermalFrame> frames;
};

TEST_F(AcquisitionThreadTest, ObserverSeesEveryNewFrameAsReceivedAlsoWhileNotLive) {
    RecordingObserver observer;
    thread_.AddFrameObserver(observer);
    state_.integrationCount = 2;
    source_.Queue(ThermalFrame::Filled(3000));
    thread_.RunPass();
    thread_.RunPass();  // no new frame
    state_.live = false;
    source_.Queue(ThermalFrame::Filled(3100));
    thread_.RunPass();
    EXPECT_EQ(observer.frames,
              (std::vector<ThermalFrame>{ThermalFrame::Filled(3000), ThermalFrame::Filled(3100)}));
    EXPECT_EQ(state_.rawFrame, ThermalFrame::Filled(3000)) << "the held picture stays";
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
    AcquisitionThread fast(source_, state_, nullptr, 20ms);
    EXPECT_EQ(fast.TakePause(), 20ms);
}

TEST_F(AcquisitionThreadTest, RunningThreadTellsOfFramesAndStopsForGood) {
    source_.AlwaysDeliver(ThermalFrame::Filled(3100));
    thread_.Start();
    ASSERT_TRUE(listener_.WaitFor(kFrame));
    ASSERT_TRUE(listener_.WaitFor(kSpan));
    thread_.Stop();
    thread_.Stop();  // a second stop is harmless
    const std::size_t posted = listener_.Count();
    const int polls = source_.Polls();
    std::this_thread::sleep_for(200ms);
    EXPECT_EQ(listener_.Count(), posted);
    EXPECT_EQ(source_.Polls(), polls);
    std::lock_guard lock(state_.mutex);
    EXPECT_EQ(state_.displayFrame, ThermalFrame::Filled(3100));
}

}  // namespace
