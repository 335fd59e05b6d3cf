#include "reinstall/installer_launcher.h"

#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "reinstall/handheld_root.h"
#include "reinstall/reinstaller.h"
#include "reinstall_test_paths.h"
#include "support/child_process.h"
#include "support/environment.h"

namespace {

using test_support::ChildProcess;

using test_support::TemporaryDeviceRoot;

constexpr auto kPatience = std::chrono::seconds(30);

// What the recording installer wrote about its start.
struct LaunchRecord {
    std::vector<std::string> arguments;
    std::string argumentCount;
    std::string workingFolder;
    std::string openFiles;
};

// Waits until the recording installer has written its record into `folder`.
std::optional<LaunchRecord> AwaitRecord(const std::filesystem::path& folder) {
    const std::filesystem::path file = folder / "launch-record.txt";
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    while (!std::filesystem::exists(file)) {
        if (std::chrono::steady_clock::now() > deadline) {
            return std::nullopt;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    LaunchRecord record;
    std::istringstream lines(TemporaryDeviceRoot::ReadText(file));
    for (std::string line; std::getline(lines, line);) {
        const std::string key = line.substr(0, line.find('='));
        const std::string value = line.substr(key.size() + 1);
        if (key == "argv") {
            record.arguments.push_back(value);
        } else if (key == "argc") {
            record.argumentCount = value;
        } else if (key == "cwd") {
            record.workingFolder = value;
        } else if (key == "open") {
            record.openFiles = value;
        }
    }
    return record;
}

void PlaceRecorderAsInstaller(const TemporaryDeviceRoot& device) {
    const std::filesystem::path installer = device.Host("\\Windows\\wceload.exe");
    std::filesystem::create_directories(installer.parent_path());
    std::filesystem::copy_file(kRecorderProgram, installer);
}

TEST(InstallerLauncher, StartsWithOneArgumentInTheWorkingFolderWithoutWaiting) {
    const TemporaryDeviceRoot device;
    PlaceRecorderAsInstaller(device);
    device.Put("\\hold", "");  // keeps the installer running until removed

    const auto pid = installer_launcher::Start(device.Host("\\Windows\\wceload.exe"),
                                               "Quorvel_Relumo.cab", device.Root());
    ASSERT_TRUE(pid.has_value());
    ChildProcess installer(*pid);
    const auto record = AwaitRecord(device.Root());
    ASSERT_TRUE(record.has_value());

    // Start returned while the installer was still held: it did not wait.
    EXPECT_FALSE(installer.HasEnded());
    EXPECT_EQ(record->argumentCount, "2");
    ASSERT_EQ(record->arguments.size(), 2u);
    EXPECT_EQ(record->arguments[1], "Quorvel_Relumo.cab");
    EXPECT_EQ(record->workingFolder, std::filesystem::canonical(device.Root()).string());

    std::filesystem::remove(device.Host("\\hold"));
    const auto status = installer.WaitForExit(kPatience);
    ASSERT_TRUE(status.has_value());
    EXPECT_TRUE(ChildProcess::ExitedWith(*status, 0));
}

TEST(InstallerLauncher, PassesOnNoOpenFileBeyondStandardStreams) {
    const TemporaryDeviceRoot device;
    PlaceRecorderAsInstaller(device);
    // A descriptor without close-on-exec would be inherited by a plain exec.
    const int inheritable = open("/dev/null", O_RDONLY);
    ASSERT_GE(inheritable, 3);

    const auto pid = installer_launcher::Start(device.Host("\\Windows\\wceload.exe"),
                                               "Quorvel_Relumo.cab", device.Root());
    close(inheritable);
    ASSERT_TRUE(pid.has_value());
    ChildProcess installer(*pid);
    const auto record = AwaitRecord(device.Root());
    ASSERT_TRUE(record.has_value());
    EXPECT_EQ(record->openFiles, "");
}

TEST(InstallerLauncher, ReportsAProgramThatCannotBeStarted) {
    const TemporaryDeviceRoot device;
    EXPECT_FALSE(installer_launcher::Start(device.Host("\\Windows\\wceload.exe"),
                                           "Quorvel_Relumo.cab", device.Root()));

    device.Put("\\Windows\\wceload.exe", "not a program");
    std::filesystem::permissions(
        device.Host("\\Windows\\wceload.exe"),
        std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    EXPECT_FALSE(installer_launcher::Start(device.Host("\\Windows\\wceload.exe"),
                                           "Quorvel_Relumo.cab", device.Root()));

    EXPECT_FALSE(installer_launcher::Start(kRecorderProgram, "Quorvel_Relumo.cab",
                                           device.Root() / "no such folder"));
}

TEST(InstallerLauncher, FindsARelativeProgramFromTheCallersFolder) {
    const TemporaryDeviceRoot device;
    PlaceRecorderAsInstaller(device);
    const std::filesystem::path callersFolder = std::filesystem::current_path();
    std::filesystem::current_path(device.Root().parent_path());

    const auto pid = installer_launcher::Start("therlix-handheld/Windows/wceload.exe",
                                               "Quorvel_Relumo.cab", "therlix-handheld");
    std::filesystem::current_path(callersFolder);
    ASSERT_TRUE(pid.has_value());
    ChildProcess installer(*pid);
    EXPECT_TRUE(AwaitRecord(device.Root()).has_value());
}

// The whole pass with the real launcher: the installer finds the restored package under
// the bare name it is given.
TEST(InstallerLauncher, ReinstallerStartsTheInstallerBesideTheRestoredPackage) {
    const TemporaryDeviceRoot device;
    PlaceRecorderAsInstaller(device);
    device.Put("\\Storage Card\\Quorvel Relumo.dll", "package bytes");
    std::vector<std::string> messages;
    std::optional<pid_t> started;
    const Reinstaller reinstaller(
        HandheldRoot::FromEnvironment(),
        [&messages](const std::string& text) { messages.push_back(text); },
        [&started](const std::filesystem::path& program, const std::string& argument,
                   const std::filesystem::path& folder) {
            started = installer_launcher::Start(program, argument, folder);
            return started.has_value();
        });

    EXPECT_EQ(reinstaller.Run(), Reinstaller::Outcome::kInstallerStarted);
    ASSERT_TRUE(started.has_value());
    ChildProcess installer(*started);
    const auto record = AwaitRecord(device.Root());
    ASSERT_TRUE(record.has_value());
    ASSERT_EQ(record->arguments.size(), 2u);
    EXPECT_EQ(TemporaryDeviceRoot::ReadText(std::filesystem::path(record->workingFolder) /
                                            record->arguments[1]),
              "package bytes");
    EXPECT_TRUE(messages.empty());
}

}  // namespace
