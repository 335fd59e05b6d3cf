// The whole restore on a prepared device root: the installed program is deleted,
// quorvel-relumo restores the stored package and starts the real installer, and the
// restored program runs.
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "installer/package_installer.h"
#include "installer/package_reader.h"
#include "reinstall_test_paths.h"
#include "support/child_process.h"
#include "support/environment.h"

namespace {

using test_support::ChildProcess;

using test_support::TemporaryDeviceRoot;

constexpr auto kPatience = std::chrono::seconds(60);

// While it lives, descendants orphaned by their parent become children of the test
// process, so the installer can be waited for after quorvel-relumo has ended.
class SubreaperScope {
  public:
    SubreaperScope() { enabled_ = prctl(PR_SET_CHILD_SUBREAPER, 1) == 0; }
    ~SubreaperScope() { prctl(PR_SET_CHILD_SUBREAPER, 0); }
    SubreaperScope(const SubreaperScope&) = delete;
    SubreaperScope& operator=(const SubreaperScope&) = delete;
    bool Enabled() const { return enabled_; }

  private:
    bool enabled_ = false;
};

// Reaps children until none is left: their wait statuses, or nothing if some still run
// when the patience is used up.
std::optional<std::vector<int>> ReapAllChildren() {
    std::vector<int> statuses;
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    while (std::chrono::steady_clock::now() < deadline) {
        int status = 0;
        const pid_t pid = waitpid(-1, &status, WNOHANG);
        if (pid > 0) {
            statuses.push_back(status);
        } else if (pid < 0 && errno == ECHILD) {
            return statuses;
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    return std::nullopt;
}

void CopyTo(const std::filesystem::path& source, const std::filesystem::path& destination) {
    std::filesystem::create_directories(destination.parent_path());
    std::filesystem::copy_file(source, destination);
}

// The probe writes the path it runs from into the file it is given.
void ExpectProbeRuns(const std::filesystem::path& program, const std::filesystem::path& record) {
    ChildProcess probe({program.string(), record.string()});
    const auto status = probe.WaitForExit(kPatience);
    ASSERT_TRUE(status.has_value());
    EXPECT_TRUE(ChildProcess::ExitedWith(*status, 0));
    EXPECT_EQ(TemporaryDeviceRoot::ReadText(record),
              std::filesystem::canonical(program).string() + "\n");
}

bool MapsQtWidgets(pid_t pid) {
    return TemporaryDeviceRoot::ReadText("/proc/" + std::to_string(pid) + "/maps")
               .find("libQt6Widgets") != std::string::npos;
}

// The imager runs until it is ended, so it counts as started once the kernel runs it from
// the restored file and its Qt libraries are loaded (or it has ended successfully).
void ExpectImagerStarts(const std::filesystem::path& program, const std::filesystem::path& root) {
    ChildProcess imager({program.string(), "-platform", "offscreen"}, {.workingFolder = root});
    const std::string exeLink = "/proc/" + std::to_string(imager.Pid()) + "/exe";
    std::error_code error;
    EXPECT_EQ(std::filesystem::read_symlink(exeLink, error), std::filesystem::canonical(program));
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    bool started = false;
    while (!started && std::chrono::steady_clock::now() < deadline) {
        if (imager.HasEnded()) {
            const auto status = imager.WaitForExit(std::chrono::milliseconds(0));
            started = ChildProcess::ExitedWith(*status, 0);
            break;
        }
        started = MapsQtWidgets(imager.Pid());
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_TRUE(started);
}

TEST(RestoreEndToEnd, RelumoReinstallsADeletedProgramThatThenRuns) {
    const TemporaryDeviceRoot device;
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // The handheld as prepared: the installer in place, the package stored on the storage
    // card, the program installed once beside its settings file.
    CopyTo(kInstallerProgram, device.Host("\\Windows\\wceload.exe"));
    CopyTo(kTestPackage, device.Host("\\Storage Card\\Quorvel Relumo.dll"));
    PackageInstaller(device.Root()).Install(device.Host("\\Storage Card\\Quorvel Relumo.dll"));
    const std::filesystem::path folder = device.Host("\\Program Files\\Therlix Imager");
    const std::filesystem::path program = folder / kRestoredProgramName;
    ASSERT_TRUE(std::filesystem::exists(program));
    const std::string programBytes = TemporaryDeviceRoot::ReadText(program);
    device.Put("\\Program Files\\Therlix Imager\\Persist.dat", "settings");
    std::filesystem::remove(program);

    const SubreaperScope reaper;
    ASSERT_TRUE(reaper.Enabled());
    ChildProcess relumo({kRelumoProgram});
    const auto relumoStatus = relumo.WaitForExit(kPatience);
    ASSERT_TRUE(relumoStatus.has_value()) << "quorvel-relumo did not end";
    EXPECT_TRUE(ChildProcess::ExitedWith(*relumoStatus, 0));
    const auto installerStatuses = ReapAllChildren();
    ASSERT_TRUE(installerStatuses.has_value()) << "the installer did not end";
    ASSERT_EQ(installerStatuses->size(), 1u);
    EXPECT_TRUE(ChildProcess::ExitedWith(installerStatuses->front(), 0));

    EXPECT_EQ(TemporaryDeviceRoot::ReadText(device.Root() / "Quorvel_Relumo.cab"),
              TemporaryDeviceRoot::ReadText(kTestPackage));
    ASSERT_TRUE(std::filesystem::exists(program));
    EXPECT_EQ(TemporaryDeviceRoot::ReadText(program), programBytes);
    EXPECT_NE(std::filesystem::status(program).permissions() & std::filesystem::perms::owner_exec,
              std::filesystem::perms::none);
    EXPECT_EQ(TemporaryDeviceRoot::ReadText(folder / "Persist.dat"), "settings");
    PackageReader package(kTestPackage);
    while (const auto entry = package.NextEntry()) {
        EXPECT_EQ(std::filesystem::file_size(folder / entry->name), entry->size) << entry->name;
    }

    if constexpr (kRestoredIsImager) {
        ExpectImagerStarts(program, device.Root());
    } else {
        ExpectProbeRuns(program, device.Root().parent_path() / "probe-record.txt");
        EXPECT_EQ(std::filesystem::status(folder / "probe_notes.txt").permissions() &
                      std::filesystem::perms::owner_exec,
                  std::filesystem::perms::none);
    }
}

}  // namespace
