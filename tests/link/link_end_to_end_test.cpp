// The real quorvel-headsim on a pseudo-terminal, the real serial port, reader thread and
// protocol decoder.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "link/imager_link.h"
#include "link_test_support.h"
#include "support/head_simulator.h"

namespace {

using link_test::WaitUntil;
using test_support::HeadSimulator;

class LinkEndToEndTest : public ::testing::Test {
  protected:
    bool ComPortLinked() const {
        std::error_code ignored;
        return std::filesystem::is_symlink(device_root::ComPort(1), ignored);
    }

    link_test::TemporaryDeviceRoot root_;
    link_test::RecordingHeadEvents events_;
};

TEST_F(LinkEndToEndTest, SimulatedHeadCompletesTheHandshakeAndStreamsFrames) {
    HeadSimulator head({"--device-root", "--initial-range", "2", "--rate", "40"});
    ASSERT_TRUE(head.Started());
    ASSERT_TRUE(WaitUntil([&] { return ComPortLinked(); }));
    {
        ImagerLink link(&events_);
        ASSERT_TRUE(link.Open());
        ASSERT_TRUE(link.PortOpen());
        int frames = 0;
        ASSERT_TRUE(WaitUntil([&] {
            frames += link.Poll();
            return link.Descriptions().size() == 3 && frames >= 10;
        }));
        EXPECT_EQ(link.Description(0).substr(0, 14), std::string("-20 ... 100 C\0", 14));
        EXPECT_EQ(link.CurrentRangeNumber(), 2);
        EXPECT_EQ(link.CurrentLowerLimit(), 2730);
        EXPECT_EQ(link.CurrentUpperLimit(), 7730);
        EXPECT_EQ(link.HeadSerialNumber(), 0x1234);
        EXPECT_EQ(link.DeviceTypeCode(), 71);

        // Room temperature with a warmer object somewhere.
        ThermalFrame frame;
        link.CopyFrame(frame);
        const auto [coldest, warmest] =
            std::minmax_element(frame.pixels.begin(), frame.pixels.end());
        EXPECT_GT(*coldest, 2900);
        EXPECT_LT(*coldest, 3000);
        EXPECT_GT(*warmest, *coldest + 50);
        EXPECT_LT(*warmest, 3150);
    }

    // The simulator outlives a closed port: a new link gets frames again.
    {
        ImagerLink again(nullptr);
        ASSERT_TRUE(again.Open());
        int frames = 0;
        ASSERT_TRUE(WaitUntil([&] {
            frames += again.Poll();
            return frames >= 3;
        }));
    }
    EXPECT_EQ(head.Stop(), 0);
    EXPECT_FALSE(ComPortLinked());  // the simulator removed its link
}

TEST_F(LinkEndToEndTest, HeadExchangeAndGarbageFromTheSimulator) {
    HeadSimulator head({"--device-root", "--initial-range", "3", "--rate", "40", "--garbage", "40",
                        "--new-serial-after", "1.5", "4661"});
    ASSERT_TRUE(head.Started());
    ASSERT_TRUE(WaitUntil([&] { return ComPortLinked(); }));
    ImagerLink link(&events_);
    ASSERT_TRUE(link.Open());
    int frames = 0;
    ASSERT_TRUE(WaitUntil([&] {
        frames += link.Poll();
        return link.Descriptions().size() == 3 && link.CurrentRangeNumber() == 3 && frames > 0;
    }));
    EXPECT_EQ(link.HeadSerialNumber(), 0x1234);
    EXPECT_EQ(link.CurrentUpperLimit(), 12730);
    // Range 3 is marked high-temperature and the head is of type 71: edges are repaired.
    ASSERT_TRUE(WaitUntil([&] {
        link.Poll();
        return !events_.Calls().empty() && events_.Calls().back();
    }));

    // The new head is told to use range 1, and it does; frames keep coming in spite of the
    // garbage between them.
    ASSERT_TRUE(WaitUntil([&] {
        link.Poll();
        return link.HeadSerialNumber() == 4661 && link.CurrentRangeNumber() == 1;
    }));
    frames = 0;
    ASSERT_TRUE(WaitUntil([&] {
        frames += link.Poll();
        return frames >= 20;
    }));
    EXPECT_EQ(link.Descriptions().size(), 3u);
    EXPECT_EQ(link.CurrentUpperLimit(), 3730);
    EXPECT_FALSE(events_.Calls().back());
    EXPECT_GE(events_.RangeChanges(), 5);
}

TEST_F(LinkEndToEndTest, AtTheLineRateWithANewHeadEveryHalfSecond) {
    HeadSimulator head(
        {"--device-root", "--initial-range", "2", "--rate", "max", "--new-serial-every", "0.5"});
    ASSERT_TRUE(head.Started());
    ASSERT_TRUE(WaitUntil([&] { return ComPortLinked(); }));
    ImagerLink link(&events_);
    ASSERT_TRUE(link.Open());
    ASSERT_TRUE(WaitUntil([&] {
        link.Poll();
        return link.Descriptions().size() == 3;
    }));

    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    int frames = 0;
    std::set<int> serials;
    while (Clock::now() - start < std::chrono::seconds(2)) {
        frames += link.Poll();
        if (frames > 0) {
            serials.insert(link.HeadSerialNumber());
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    const double perSecond = frames / std::chrono::duration<double>(Clock::now() - start).count();
    // Well above the default 8, and no more than a 115200-baud line carries (21.9 frame
    // packets of 526 bytes a second).
    EXPECT_GT(perSecond, 12.0);
    EXPECT_LT(perSecond, 23.0);
    // One more each time, every one seen.
    ASSERT_GE(serials.size(), 3u);
    EXPECT_EQ(static_cast<std::size_t>(*serials.rbegin() - *serials.begin() + 1), serials.size());
    // Each new head is told to use range 1, and it does.
    EXPECT_EQ(link.CurrentRangeNumber(), 1);
}

}  // namespace
