#include "platform/power_status.h"

#include <gtest/gtest.h>

#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

namespace fs = std::filesystem;

namespace {

// A fake power supply folder in a temporary directory.
class PowerStatusTest : public ::testing::Test {
  protected:
    PowerStatusTest()
        : folder_(fs::temp_directory_path() /
                  ("power_status_test_" + std::to_string(::getpid()) + "_" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name())) {
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    ~PowerStatusTest() override { fs::remove_all(folder_); }

    void Supply(const std::string& name, const std::map<std::string, std::string>& attributes) {
        fs::create_directories(folder_ / name);
        for (const auto& [attribute, value] : attributes) {
            std::ofstream(folder_ / name / attribute) << value << "\n";
        }
    }
    PowerReading Read() const { return PowerStatus(folder_).Read(); }

    fs::path folder_;
};

TEST_F(PowerStatusTest, NoSuppliesMeansNoBatteryAndUnknownLine) {
    EXPECT_EQ(Read(), (PowerReading{255, 128, 255}));
    EXPECT_EQ(PowerStatus(folder_ / "missing").Read(), (PowerReading{255, 128, 255}));
}

TEST_F(PowerStatusTest, MainsWithoutBattery) {
    Supply("AC", {{"type", "Mains"}, {"online", "1"}});
    EXPECT_EQ(Read(), (PowerReading{1, 128, 255}));
}

TEST_F(PowerStatusTest, DischargingBattery) {
    Supply("AC", {{"type", "Mains"}, {"online", "0"}});
    Supply("BAT0", {{"type", "Battery"},
                    {"capacity", "57"},
                    {"status", "Discharging"},
                    {"capacity_level", "Normal"}});
    EXPECT_EQ(Read(), (PowerReading{0, 1, 57}));
}

TEST_F(PowerStatusTest, ChargingAddsEightToTheLevel) {
    Supply("ADP1", {{"type", "Mains"}, {"online", "1"}});
    Supply("BAT0", {{"type", "Battery"},
                    {"capacity", "12"},
                    {"status", "Charging"},
                    {"capacity_level", "Low"}});
    EXPECT_EQ(Read(), (PowerReading{1, 2 + 8, 12}));
}

TEST_F(PowerStatusTest, LevelsMapToTheHandheldFlags) {
    const std::map<std::string, int> levels = {{"Critical", 4}, {"Low", 2},  {"Normal", 1},
                                               {"High", 1},     {"Full", 1}, {"Unknown", 255}};
    for (const auto& [level, flag] : levels) {
        Supply("BAT0", {{"type", "Battery"},
                        {"status", "Discharging"},
                        {"capacity", "50"},
                        {"capacity_level", level}});
        EXPECT_EQ(Read().batteryFlag, flag) << level;
    }
}

TEST_F(PowerStatusTest, UnreadableValuesAreUnknown) {
    Supply("BAT1", {{"type", "Battery"}, {"capacity", "lots"}});
    const PowerReading reading = Read();
    EXPECT_EQ(reading.batteryFlag, 255);
    EXPECT_EQ(reading.percent, 255);
    EXPECT_EQ(reading.acLine, 255);
}

TEST_F(PowerStatusTest, BatteryStatusStandsInForAMissingMainsSupply) {
    Supply("BAT0", {{"type", "Battery"},
                    {"capacity", "100"},
                    {"status", "Charging"},
                    {"capacity_level", "Full"}});
    EXPECT_EQ(Read(), (PowerReading{1, 9, 100}));
}

TEST_F(PowerStatusTest, PeripheralBatteriesAreIgnored) {
    Supply("hidpp_battery_0", {{"type", "Battery"}, {"scope", "Device"}, {"capacity", "5"}});
    Supply("usb", {{"type", "USB"}, {"online", "1"}});
    EXPECT_EQ(Read(), (PowerReading{1, 128, 255}));
}

TEST_F(PowerStatusTest, CapacityIsLimitedToAPercentage) {
    Supply("BAT0", {{"type", "Battery"}, {"capacity", "104"}, {"capacity_level", "Full"}});
    EXPECT_EQ(Read().percent, 100);
}

}  // namespace
