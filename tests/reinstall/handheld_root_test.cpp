#include "reinstall/handheld_root.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "installer/object_store.h"
#include "support/environment.h"

namespace {

using test_support::TemporaryDeviceRoot;

// Sets or clears one environment variable for a scope.
class ScopedVariable {
  public:
    ScopedVariable(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) {
            previous_ = old;
        }
        if (value != nullptr) {
            setenv(name, value, 1);
        } else {
            unsetenv(name);
        }
    }
    ~ScopedVariable() {
        if (previous_) {
            setenv(name_, previous_->c_str(), 1);
        } else {
            unsetenv(name_);
        }
    }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

  private:
    const char* name_;
    std::optional<std::string> previous_;
};

TEST(HandheldRoot, FollowsXdgDataHomeAndMapsHandheldPaths) {
    const TemporaryDeviceRoot device;
    const HandheldRoot root = HandheldRoot::FromEnvironment();
    EXPECT_EQ(root.Folder(), device.Root());
    EXPECT_EQ(root.Map("\\Storage Card\\Quorvel Relumo.dll"),
              device.Root() / "Storage Card" / "Quorvel Relumo.dll");
    EXPECT_EQ(root.Map("\\Windows\\wceload.exe"), device.Root() / "Windows" / "wceload.exe");
    EXPECT_EQ(root.Map("Quorvel_Relumo.cab"), device.Root() / "Quorvel_Relumo.cab");
}

// The reinstaller and the installer keep their own copies of the mapping; they must agree,
// or the installer would look for the package somewhere else.
TEST(HandheldRoot, FallsBackToHomeAsTheInstallerDoes) {
    const ScopedVariable home("HOME", "/home/tester");
    const std::filesystem::path expected = "/home/tester/.local/share/therlix-handheld";
    for (const char* dataHome : {static_cast<const char*>(nullptr), ""}) {
        const ScopedVariable unsetOrEmpty("XDG_DATA_HOME", dataHome);
        EXPECT_EQ(HandheldRoot::FromEnvironment().Folder(), expected);
        EXPECT_EQ(ObjectStore::Folder(), expected);
    }
    const TemporaryDeviceRoot device;
    const HandheldRoot root = HandheldRoot::FromEnvironment();
    EXPECT_EQ(root.Folder(), ObjectStore::Folder());
    EXPECT_EQ(root.Map("\\Program Files\\Therlix Imager"),
              ObjectStore::Map(ObjectStore::Folder(), "\\Program Files\\Therlix Imager"));
}

}  // namespace
