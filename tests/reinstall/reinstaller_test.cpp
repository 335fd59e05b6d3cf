#include "reinstall/reinstaller.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "support/environment.h"

namespace {

using test_support::TemporaryDeviceRoot;

constexpr std::array<const char*, 6> kStoredPackages = {
    "\\iPAQ File Store\\Quorvel Relumo.dll", "\\Built-in Storage\\Quorvel Relumo.dll",
    "\\Storage Card\\Quorvel Relumo.dll",    "\\Storage Card2\\Quorvel Relumo.dll",
    "\\SD Card\\Quorvel Relumo.dll",         "\\CF Card\\Quorvel Relumo.dll",
};
constexpr const char* kNoPackageMessage = "Error re-instating the .cab file";
constexpr const char* kInstallerMessage = "Error installing the application";

struct InstallerStart {
    std::filesystem::path program;
    std::string argument;
    std::filesystem::path workingFolder;
};

// Records the messages and process starts of one run instead of showing or starting them.
struct Platform {
    std::vector<std::string> messages;
    std::vector<InstallerStart> starts;
    bool startSucceeds = true;

    Reinstaller::Outcome Run() {
        const Reinstaller reinstaller(
            HandheldRoot::FromEnvironment(),
            [this](const std::string& text) { messages.push_back(text); },
            [this](const std::filesystem::path& program, const std::string& argument,
                   const std::filesystem::path& folder) {
                starts.push_back({program, argument, folder});
                return startSucceeds;
            });
        return reinstaller.Run();
    }
};

std::string RestoredPackage(const TemporaryDeviceRoot& device) {
    return TemporaryDeviceRoot::ReadText(device.Root() / "Quorvel_Relumo.cab");
}

TEST(Reinstaller, PrefersStorageCardOverSdCardAndStartsTheInstallerOnce) {
    const TemporaryDeviceRoot device;
    device.Put("\\Storage Card\\Quorvel Relumo.dll", "from the storage card");
    device.Put("\\SD Card\\Quorvel Relumo.dll", "from the SD card");
    Platform platform;

    EXPECT_EQ(platform.Run(), Reinstaller::Outcome::kInstallerStarted);

    EXPECT_EQ(RestoredPackage(device), "from the storage card");
    EXPECT_TRUE(platform.messages.empty());
    ASSERT_EQ(platform.starts.size(), 1u);
    EXPECT_EQ(platform.starts[0].program, device.Root() / "Windows" / "wceload.exe");
    EXPECT_EQ(platform.starts[0].argument, "Quorvel_Relumo.cab");
    EXPECT_EQ(platform.starts[0].workingFolder, device.Root());
    // The stored copy stays where it is.
    EXPECT_TRUE(std::filesystem::exists(device.Host("\\Storage Card\\Quorvel Relumo.dll")));
}

TEST(Reinstaller, TakesTheFirstLocationThatHoldsACopy) {
    for (std::size_t first = 0; first < kStoredPackages.size(); ++first) {
        SCOPED_TRACE(kStoredPackages[first]);
        const TemporaryDeviceRoot device;
        for (std::size_t i = first; i < kStoredPackages.size(); ++i) {
            device.Put(kStoredPackages[i], "copy " + std::to_string(i));
        }
        Platform platform;
        EXPECT_EQ(platform.Run(), Reinstaller::Outcome::kInstallerStarted);
        EXPECT_EQ(RestoredPackage(device), "copy " + std::to_string(first));
    }
}

TEST(Reinstaller, WithoutAStoredCopyShowsOneMessageAndStartsNothing) {
    const TemporaryDeviceRoot device;
    // A copy under another name or in another folder does not count.
    device.Put("\\Storage Card\\Quorvel_Relumo.cab", "wrong name");
    device.Put("\\My Documents\\Quorvel Relumo.dll", "wrong folder");
    Platform platform;

    EXPECT_EQ(platform.Run(), Reinstaller::Outcome::kNoStoredPackage);

    EXPECT_EQ(platform.messages, std::vector<std::string>{kNoPackageMessage});
    EXPECT_TRUE(platform.starts.empty());
    EXPECT_FALSE(std::filesystem::exists(device.Root() / "Quorvel_Relumo.cab"));
}

TEST(Reinstaller, ReplacesAnEarlierRestoredPackageCompletely) {
    const TemporaryDeviceRoot device;
    device.Put("\\Quorvel_Relumo.cab", std::string(4096, 'x'));
    device.Put("\\CF Card\\Quorvel Relumo.dll", "short");
    Platform platform;

    EXPECT_EQ(platform.Run(), Reinstaller::Outcome::kInstallerStarted);
    EXPECT_EQ(RestoredPackage(device), "short");
}

// A location that cannot be copied (here a folder) is passed over like a missing one.
TEST(Reinstaller, FailedRestoreKeepsAnEarlierPackageAndLeavesNothingBehind) {
    const TemporaryDeviceRoot device;
    device.Put("\\Quorvel_Relumo.cab", "earlier package");
    std::filesystem::create_directories(device.Host("\\SD Card\\Quorvel Relumo.dll"));
    Platform platform;

    EXPECT_EQ(platform.Run(), Reinstaller::Outcome::kNoStoredPackage);

    EXPECT_EQ(RestoredPackage(device), "earlier package");
    std::vector<std::string> rootEntries;
    for (const auto& entry : std::filesystem::directory_iterator(device.Root())) {
        rootEntries.push_back(entry.path().filename().string());
    }
    std::sort(rootEntries.begin(), rootEntries.end());
    EXPECT_EQ(rootEntries, (std::vector<std::string>{"Quorvel_Relumo.cab", "SD Card"}));
}

TEST(Reinstaller, InstallerThatCannotStartShowsOneMessage) {
    const TemporaryDeviceRoot device;
    device.Put("\\Storage Card2\\Quorvel Relumo.dll", "package");
    Platform platform;
    platform.startSucceeds = false;

    EXPECT_EQ(platform.Run(), Reinstaller::Outcome::kInstallerNotStarted);

    EXPECT_EQ(platform.messages, std::vector<std::string>{kInstallerMessage});
    EXPECT_EQ(platform.starts.size(), 1u);
    EXPECT_EQ(RestoredPackage(device), "package");
}

}  // namespace
