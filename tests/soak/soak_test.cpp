// The soak test (label "soak", `make soak`): the whole imager, started in this process
// offscreen as its main starts it, on quorvel-headsim at the line's full frame rate with
// garbage between the frames and a new head every 15 seconds, worked by the SoakDriver
// for QUORVEL_SOAK_SECONDS (600 when unset; seed QUORVEL_SOAK_SEED, 1 when unset).
// Running in-process lets the driver press the view's commands and answer the dialogs
// directly, and the figures are those of the process the imager runs in.

#include <gtest/gtest.h>

#include <QMessageBox>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "document/archive_exception.h"
#include "document/imager_document.h"
#include "soak/soak_driver.h"
#include "support/archive_file.h"
#include "support/child_process.h"
#include "support/wait_until.h"
#include "ui/imager_application.h"
#include "ui/imager_test_support.h"

namespace {

namespace fs = std::filesystem;
using std::chrono::seconds;
using test_support::ChildProcess;
using test_support::WaitUntil;

const fs::path kBin = QUORVEL_BIN_DIR;
constexpr long kRssGrowthLimitKiB = 10 * 1024;
constexpr int kSecondsPerHead = 15;

long EnvironmentNumber(const char* name, long fallback) {
    const char* text = std::getenv(name);
    return text != nullptr && std::atol(text) > 0 ? std::atol(text) : fallback;
}

int CountLinesWith(const fs::path& file, const std::string& text) {
    std::ifstream in(file);
    int count = 0;
    for (std::string line; std::getline(in, line);) {
        count += line.find(text) != std::string::npos ? 1 : 0;
    }
    return count;
}

void ExpectReadableArchive(const fs::path& file) {
    try {
        test_support::ReadArchiveFile(file);
    } catch (const ArchiveException& error) {
        ADD_FAILURE() << file << ": " << error.what();
    }
}

// Every entry is a snapshot file that reads back; their number.
long CheckSnapshotFolder(const fs::path& folder) {
    long count = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        EXPECT_TRUE(entry.is_regular_file() && name.starts_with("Snapshot ") &&
                    name.ends_with(".snp"))
            << "left in the snapshot folder: " << name;
        ExpectReadableArchive(entry.path());
        ++count;
    }
    return count;
}

class Soak : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(head_.Started());
        ASSERT_TRUE(WaitUntil([&] { return fs::is_symlink(root_.Host("\\COM1")); }, seconds(10)));
    }
    void TearDown() override {
        if (head_.Started()) {
            head_.Signal(SIGTERM);
            head_.WaitForExit(seconds(10));
        }
    }

    // Runs the imager under the driver; the folder of the snapshots on the host.
    fs::path RunImager() {
        ImagerApplication application(kBin);
        if (!application.Start({})) {
            ADD_FAILURE() << "the imager did not start";
            return {};
        }
        SoakDriver driver(application, seed_,
                          {.warmUp = std::min<seconds>(seconds(20), duration_ / 3),
                           .total = duration_,
                           .step = std::chrono::milliseconds(300)});
        driver.Start();
        application.Run();
        counts_ = driver.Counts();
        start_ = driver.StartFigures();
        end_ = driver.EndFigures();
        std::string folder = application.Document()->SnapshotFolder();
        return root_.Host(folder.substr(0, folder.find_last_not_of('\\') + 1));
    }  // the session stops here: threads ended, settings file written, port closed

    void Print() const {
        std::cout << "soak: " << duration_.count() << " s, seed " << seed_ << "\nsoak: start "
                  << *start_ << "\nsoak: end   " << *end_ << "\nsoak: RSS growth "
                  << static_cast<long>(end_->residentKiB) - static_cast<long>(start_->residentKiB)
                  << " KiB\nsoak: frames seen " << counts_.framesSeen << ", holds " << counts_.holds
                  << ", saves " << counts_.saves << ", discards " << counts_.discards
                  << ", browses " << counts_.browses << ", next/previous " << counts_.pageTurns
                  << ", deletes " << counts_.deletes << ", back to live " << counts_.backToLive
                  << "\nsoak: range switches " << counts_.rangesFollowed << " of "
                  << counts_.rangeRequests << " requested, head serial changes "
                  << CountLinesWith(headLog_, "serial number now") << std::endl;
    }

    bool applicationReady_ = (imager_test::Application(), true);
    seconds duration_{EnvironmentNumber("QUORVEL_SOAK_SECONDS", 600)};
    std::uint32_t seed_ = static_cast<std::uint32_t>(EnvironmentNumber("QUORVEL_SOAK_SEED", 1));
    imager_test::TemporaryDeviceRoot root_;
    fs::path headLog_ = root_.Home() / "headsim.log";
    ChildProcess head_{{(kBin / "quorvel-headsim").string(), "--device-root", "--rate", "max",
                        "--garbage", "40", "--new-serial-every", std::to_string(kSecondsPerHead),
                        "--seed", std::to_string(seed_), "--verbose"},
                       {.outputFile = headLog_.string()}};
    // Answers Yes to every question: the Delete command's.
    imager_test::MessageBoxAnswerer answerer_{QMessageBox::Yes};
    SoakCounts counts_;
    std::optional<ProcessFigures> start_;
    std::optional<ProcessFigures> end_;
};

TEST_F(Soak, HoldSaveBrowseDeleteAndRangeSwitchesLeakNothing) {
    const fs::path snapshots = RunImager();
    ASSERT_TRUE(start_ && end_) << "the run never reached its sampling points";
    Print();

    EXPECT_LT(static_cast<long>(end_->residentKiB) - static_cast<long>(start_->residentKiB),
              kRssGrowthLimitKiB);
    EXPECT_EQ(end_->threads, start_->threads);
    EXPECT_EQ(end_->openDescriptors, start_->openDescriptors);

    // Every message box was a Delete question: no command failed.
    EXPECT_EQ(static_cast<int>(answerer_.seen.size()), counts_.deletes);
    for (const auto& box : answerer_.seen) {
        EXPECT_EQ(box.icon, QMessageBox::Question) << box.text.toStdString();
    }
    EXPECT_EQ(CheckSnapshotFolder(snapshots), counts_.saves - counts_.deletes);
    ExpectReadableArchive(root_.SettingsFile());
    for (const fs::directory_entry& entry :
         fs::directory_iterator(root_.SettingsFile().parent_path())) {
        EXPECT_EQ(entry.path(), root_.SettingsFile()) << "left in the program folder";
    }

    // The stream kept flowing through head changes and range switches.
    const long minutes = duration_.count() / 60;
    EXPECT_GE(counts_.framesSeen, duration_.count());
    EXPECT_GE(CountLinesWith(headLog_, "serial number now"),
              duration_.count() / kSecondsPerHead - 1);
    EXPECT_GE(counts_.rangesFollowed, counts_.rangeRequests / 2);
    EXPECT_GT(counts_.saves, minutes);
    EXPECT_GT(counts_.deletes, 0);
}

}  // namespace
