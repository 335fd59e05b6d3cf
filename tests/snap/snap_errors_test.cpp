#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <fstream>
#include <random>
#include <set>

#include "snap/snap_test_support.h"
#include "support/child_process.h"
#include "support/environment.h"

namespace {

using test_support::ChildProcess;
using test_support::TemporaryDeviceRoot;

// Runs the real program with the work folder's files; its output goes to a log file
// outside the work folder.
class SnapErrorsTest : public ::testing::Test {
  protected:
    SnapErrorsTest() : root_(TemporaryDeviceRoot::Locale::kCInUtc), work_(root_.Home() / "work") {
        std::filesystem::create_directories(work_);
        // Qt wants a private runtime folder and complains on standard error without one.
        std::filesystem::create_directories(Runtime());
        std::filesystem::permissions(Runtime(), std::filesystem::perms::owner_all);
    }

    int Run(const std::vector<std::string>& arguments) {
        std::vector<std::string> command{QUORVEL_SNAP_PATH};
        command.insert(command.end(), arguments.begin(), arguments.end());
        ChildProcess child(command, {.environment = {{"XDG_RUNTIME_DIR", Runtime().string()}},
                                     .outputFile = Log().string()});
        const auto status = child.WaitForExit(std::chrono::seconds(20));
        if (!status || !WIFEXITED(*status)) {
            ADD_FAILURE() << "quorvel-snap did not exit";
            return -1;
        }
        return WEXITSTATUS(*status);
    }

    std::filesystem::path Log() const { return root_.Home() / "snap.log"; }
    std::filesystem::path Runtime() const { return root_.Home() / "runtime"; }

    std::set<std::filesystem::path> WorkFiles() const {
        std::set<std::filesystem::path> files;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(work_)) {
            files.insert(entry.path());
        }
        return files;
    }

    void ExpectFailureWritingNothing(const std::filesystem::path& input,
                                     const std::string& reason) {
        for (const std::string command : {"csv", "png", "info"}) {
            const auto before = WorkFiles();
            std::filesystem::remove(Log());
            EXPECT_EQ(Run({command, input.string()}), snap_run::kSomeFailed) << command;
            EXPECT_EQ(WorkFiles(), before) << command;
            const std::string log = TemporaryDeviceRoot::ReadText(Log());
            EXPECT_EQ(log, "quorvel-snap: " + input.string() + ": " + reason + "\n") << command;
        }
    }

    TemporaryDeviceRoot root_;
    std::filesystem::path work_;
};

TEST_F(SnapErrorsTest, CutOffFile) {
    auto bytes = document_archive::Encode(snap_test::SampleRecord());
    bytes.resize(bytes.size() / 2);
    const auto file = work_ / "cut.snp";
    whole_file::WriteAtomically(file, bytes);
    ExpectFailureWritingNothing(file, "cut off: data ends early for format version 3.3");
}

TEST_F(SnapErrorsTest, RandomBytes) {
    std::mt19937 generator(16);
    std::vector<std::uint8_t> bytes(700);
    for (auto& byte : bytes) {
        byte = static_cast<std::uint8_t>(generator());
    }
    const auto file = work_ / "noise.snp";
    whole_file::WriteAtomically(file, bytes);
    ExpectFailureWritingNothing(file, "not a snapshot file: unknown format version");
}

// Files the reader refuses before reading: the reason is named, and nothing waits on the
// FIFO for a writer.
TEST_F(SnapErrorsTest, RefusedFilesNameTheirReason) {
    const auto fifo = work_ / "fifo.snp";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    ExpectFailureWritingNothing(fifo, "not a regular file");
    std::filesystem::remove(fifo);
    const auto huge = work_ / "huge.snp";
    std::ofstream(huge).close();
    std::filesystem::resize_file(huge, 1024 * 1024 + 1);
    ExpectFailureWritingNothing(huge, "larger than 1 MiB");
}

TEST_F(SnapErrorsTest, FolderWithoutSnapshots) {
    std::filesystem::create_directories(work_ / "empty");
    ExpectFailureWritingNothing(work_ / "empty", "is a folder without snapshot files");
}

TEST_F(SnapErrorsTest, MissingFile) {
    ExpectFailureWritingNothing(work_ / "gone.snp", "no such file");
}

TEST_F(SnapErrorsTest, FolderOfSnapshotsExportsEachAndReportsTheBadOne) {
    snap_test::WriteRecord(work_ / "Snapshot 2 x.snp", snap_test::SampleRecord());
    snap_test::WriteRecord(work_ / "Snapshot 10 y.snp", snap_test::SampleRecord());
    whole_file::WriteAtomically(work_ / "Snapshot 3 z.snp", std::vector<std::uint8_t>{1, 2});
    const auto out = root_.Home() / "out";
    std::filesystem::create_directories(out);
    EXPECT_EQ(Run({"png", work_.string(), "-o", out.string()}), snap_run::kSomeFailed);
    EXPECT_TRUE(std::filesystem::exists(out / "Snapshot 2 x.png"));
    EXPECT_TRUE(std::filesystem::exists(out / "Snapshot 10 y.png"));
    EXPECT_FALSE(std::filesystem::exists(out / "Snapshot 3 z.png"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(out), {}), 2);
    EXPECT_EQ(Run({"png", "--help"}), snap_run::kAllDone);
    EXPECT_EQ(Run({"png", "--scale", "0", "a.snp"}), snap_run::kUsageError);
}

}  // namespace
