#include "display/qt/battery_gauge_control.h"

#include <gtest/gtest.h>
#include <QImage>

#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <string>

#include "display/widget_test_support.h"

namespace fs = std::filesystem;

namespace {

class BatteryGaugeControlTest : public ::testing::Test {
  protected:
    BatteryGaugeControlTest()
        : folder_(fs::temp_directory_path() /
                  ("battery_gauge_test_" + std::to_string(::getpid()))) {
        fs::remove_all(folder_);
        control_.resize(40, 35);
        control_.SetResources(&strings_, &icons_);
        control_.SetPowerStatus(PowerStatus(folder_));
    }
    ~BatteryGaugeControlTest() override { fs::remove_all(folder_); }

    void Power(bool online, int capacity, const std::string& status, const std::string& level) {
        fs::create_directories(folder_ / "AC");
        fs::create_directories(folder_ / "BAT0");
        std::ofstream(folder_ / "AC" / "type") << "Mains\n";
        std::ofstream(folder_ / "AC" / "online") << (online ? 1 : 0) << "\n";
        std::ofstream(folder_ / "BAT0" / "type") << "Battery\n";
        std::ofstream(folder_ / "BAT0" / "capacity") << capacity << "\n";
        std::ofstream(folder_ / "BAT0" / "status") << status << "\n";
        std::ofstream(folder_ / "BAT0" / "capacity_level") << level << "\n";
    }
    QRgb IconPixel() {
        const QImage image = Rendered(control_);
        return image.pixel(12 + 8, 16 + 8);
    }

    fs::path folder_;
    MapStrings strings_ = MapStrings::Standard();
    FakeIcons icons_;
    BatteryGaugeControl control_;
};

TEST_F(BatteryGaugeControlTest, StartsUnknown) {
    EXPECT_EQ(control_.Reading(), (PowerReading{255, 255, 255}));
    EXPECT_EQ(IconPixel(), FakeIcons::ColourOf(150).rgb());
}

TEST_F(BatteryGaugeControlTest, IconFollowsTheBatteryFlag) {
    Power(true, 100, "Charging", "Full");
    control_.Refresh();
    EXPECT_EQ(control_.Reading(), (PowerReading{1, 9, 100}));
    EXPECT_EQ(IconPixel(), FakeIcons::ColourOf(150).rgb());
    Power(false, 57, "Discharging", "Normal");
    control_.Refresh();
    EXPECT_EQ(IconPixel(), FakeIcons::ColourOf(145).rgb());
    Power(false, 8, "Discharging", "Critical");
    control_.Refresh();
    EXPECT_EQ(IconPixel(), FakeIcons::ColourOf(147).rgb());
}

TEST_F(BatteryGaugeControlTest, WhiteFaceWithBorderAndText) {
    Power(false, 57, "Discharging", "Normal");
    control_.Refresh();
    const QImage image = Rendered(control_);
    EXPECT_EQ(image.pixel(0, 0), qRgb(128, 128, 128));
    EXPECT_EQ(image.pixel(39, 34), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(1, 1), qRgb(64, 64, 64));
    EXPECT_EQ(image.pixel(3, 30), qRgb(255, 255, 255));
    int black = 0;
    for (int y = 2; y < 15; ++y) {
        for (int x = 3; x < 38; ++x) {
            black += image.pixel(x, y) == qRgb(0, 0, 0) ? 1 : 0;
        }
    }
    EXPECT_GT(black, 10);  // "57%"
}

TEST_F(BatteryGaugeControlTest, UnchangedPollDoesNotRepaint) {
    Power(false, 57, "Discharging", "Normal");
    control_.show();
    control_.Refresh();
    ProcessPendingEvents();
    PaintCounter paints(control_);
    control_.Refresh();
    ProcessPendingEvents();
    EXPECT_EQ(paints.Count(), 0);
    Power(false, 56, "Discharging", "Normal");
    control_.Refresh();
    ProcessPendingEvents();
    EXPECT_GE(paints.Count(), 1);
    control_.hide();
}

TEST_F(BatteryGaugeControlTest, WithoutResourcesNothingButTheFace) {
    control_.SetResources(nullptr, nullptr);
    const QImage image = Rendered(control_);
    EXPECT_EQ(image.pixel(20, 24), qRgb(255, 255, 255));
}

}  // namespace
