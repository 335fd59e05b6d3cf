#include "platform/device_root.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

class DeviceRootTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* old = std::getenv("XDG_DATA_HOME");
        saved_ = old != nullptr ? old : "";
        hadValue_ = old != nullptr;
    }
    void TearDown() override {
        if (hadValue_) {
            setenv("XDG_DATA_HOME", saved_.c_str(), 1);
        } else {
            unsetenv("XDG_DATA_HOME");
        }
    }
    std::string saved_;
    bool hadValue_ = false;
};

TEST_F(DeviceRootTest, MapsHandheldPathsBelowTheRoot) {
    setenv("XDG_DATA_HOME", "/tmp/xdg", 1);
    EXPECT_EQ(device_root::Folder(), "/tmp/xdg/therlix-handheld");
    EXPECT_EQ(device_root::Map("\\Program Files\\Therlix Imager\\Persist.dat"),
              "/tmp/xdg/therlix-handheld/Program Files/Therlix Imager/Persist.dat");
    EXPECT_EQ(device_root::Map("\\My Documents\\Snapshots\\"),
              "/tmp/xdg/therlix-handheld/My Documents/Snapshots");
    EXPECT_EQ(device_root::Map("\\"), "/tmp/xdg/therlix-handheld");
    EXPECT_EQ(device_root::ComPort(1), "/tmp/xdg/therlix-handheld/COM1");
}

TEST_F(DeviceRootTest, FallsBackToHomeWhenXdgDataHomeIsUnsetOrEmpty) {
    const char* home = std::getenv("HOME");
    ASSERT_NE(home, nullptr);
    unsetenv("XDG_DATA_HOME");
    EXPECT_EQ(device_root::Folder(), std::filesystem::path(home) / ".local/share/therlix-handheld");
    setenv("XDG_DATA_HOME", "", 1);
    EXPECT_EQ(device_root::Folder(), std::filesystem::path(home) / ".local/share/therlix-handheld");
}

}  // namespace
