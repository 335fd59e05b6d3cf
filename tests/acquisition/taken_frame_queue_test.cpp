#include "acquisition/taken_frame_queue.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

TakenFrameQueue::Entry Entry(int k) {
    return {TakenFrameQueue::Clock::time_point(std::chrono::seconds(k)),
            ThermalFrame::Filled(static_cast<std::uint16_t>(k)), 7};
}

// A reader that falls behind loses the oldest frames, never the newest.
TEST(TakenFrameQueueTest, KeepsTheNewestFramesInOrderUpToItsCapacity) {
    TakenFrameQueue queue;
    const int pushed = static_cast<int>(TakenFrameQueue::kCapacity) + 10;
    std::thread writer([&queue, pushed] {
        for (int k = 0; k < pushed; ++k) {
            queue.Push(Entry(k));
        }
    });
    writer.join();
    const auto taken = queue.TakeAll();
    ASSERT_EQ(taken.size(), TakenFrameQueue::kCapacity);
    EXPECT_EQ(taken.front().frame, ThermalFrame::Filled(10));
    EXPECT_EQ(taken.back().frame, ThermalFrame::Filled(static_cast<std::uint16_t>(pushed - 1)));
    EXPECT_TRUE(queue.TakeAll().empty());
}

}  // namespace
