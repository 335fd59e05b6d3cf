#include "monitor/log_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/file_error.h"

namespace {

namespace fs = std::filesystem;

const RowFormat kCsv(RowFormat::Kind::kCsv, 1);

Reading Row(const std::string& time) {
    Reading reading;
    reading.timeText = time;
    reading.spots = {20.5f};
    reading.state = "ok";
    return reading;
}

std::string Text(const fs::path& file) {
    std::ifstream in(file);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class LogFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "log-file-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
    }
    void TearDown() override { fs::remove_all(folder_); }

    fs::path folder_;
};

TEST_F(LogFileTest, HeaderGoesOnlyIntoANewFileAndRowsAreAppended) {
    const fs::path file = folder_ / "log.csv";
    EXPECT_FALSE(LogFile::Open(file, kCsv)->Write(Row("a")).has_value());
    EXPECT_FALSE(LogFile::Open(file, kCsv)->Write(Row("b")).has_value());
    EXPECT_EQ(Text(file), kCsv.Header() + kCsv.Line(Row("a")) + kCsv.Line(Row("b")));
}

TEST_F(LogFileTest, FileWithOtherColumnsIsRefusedAndLeftAsItWas) {
    const fs::path file = folder_ / "log.csv";
    LogFile::Open(file, RowFormat(RowFormat::Kind::kCsv, 2))->Write(Row("a"));
    const std::string before = Text(file);
    EXPECT_THROW(LogFile::Open(file, kCsv), FileError);
    EXPECT_EQ(Text(file), before);
    // JSON lines have no header to compare.
    EXPECT_NO_THROW(
        LogFile::Open(folder_ / "log.jsonl", RowFormat(RowFormat::Kind::kJsonLines, 1)));
}

TEST_F(LogFileTest, RotatedOrRemovedFileIsCreatedAgainWithItsHeader) {
    const fs::path file = folder_ / "log.csv";
    const auto log = LogFile::Open(file, kCsv);
    log->Write(Row("a"));
    fs::rename(file, folder_ / "log.csv.1");
    EXPECT_FALSE(log->Write(Row("b")).has_value());
    fs::remove(file);
    EXPECT_FALSE(log->Write(Row("c")).has_value());
    EXPECT_EQ(Text(file), kCsv.Header() + kCsv.Line(Row("c")));
    EXPECT_EQ(Text(folder_ / "log.csv.1"), kCsv.Header() + kCsv.Line(Row("a")));
}

TEST_F(LogFileTest, RemovedFolderAndFullDiskAreFailuresNamingTheFileAndTheReason) {
    const fs::path file = folder_ / "sub" / "log.csv";
    fs::create_directories(file.parent_path());
    const auto log = LogFile::Open(file, kCsv);
    fs::remove_all(file.parent_path());
    const auto gone = log->Write(Row("a"));
    ASSERT_TRUE(gone.has_value());
    EXPECT_EQ(gone->rfind(file.string() + ": ", 0), 0u) << *gone;
    EXPECT_NE(gone->find("No such file or directory"), std::string::npos) << *gone;

    const auto full = LogFile::Open("/dev/full", kCsv)->Write(Row("a"));
    ASSERT_TRUE(full.has_value());
    EXPECT_EQ(*full, "/dev/full: No space left on device");
}

// The disk fills up in the middle of a row: the part written is taken back.
TEST_F(LogFileTest, RowCutShortIsTakenBack) {
    const fs::path file = folder_ / "log.csv";
    const auto log = LogFile::Open(file, kCsv);
    log->Write(Row("a"));
    const std::string before = Text(file);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    ::getrlimit(RLIMIT_FSIZE, &old);
    rlimit limit = old;
    limit.rlim_cur = before.size() + 5;
    ::setrlimit(RLIMIT_FSIZE, &limit);
    const auto failure = log->Write(Row("b"));
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    ASSERT_TRUE(failure.has_value());
    EXPECT_NE(failure->find("File too large"), std::string::npos) << *failure;
    EXPECT_EQ(Text(file), before);
}

}  // namespace
