#include "platform/whole_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/file_error.h"

namespace {

namespace fs = std::filesystem;

class WholeFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "whole-file-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
    }
    void TearDown() override { fs::remove_all(folder_); }

    std::size_t EntryCount() const {
        return static_cast<std::size_t>(
            std::distance(fs::directory_iterator(folder_), fs::directory_iterator()));
    }

    fs::path folder_;
};

TEST_F(WholeFileTest, WrittenBytesReadBackAndReplaceTheOldFile) {
    const fs::path file = folder_ / "data.bin";
    const std::vector<std::uint8_t> first{1, 2, 3, 0, 255};
    whole_file::WriteAtomically(file, first);
    EXPECT_EQ(whole_file::Read(file), first);
    const std::vector<std::uint8_t> second(9000, 0xAB);  // more than one read buffer
    whole_file::WriteAtomically(file, second);
    EXPECT_EQ(whole_file::Read(file), second);
    EXPECT_EQ(EntryCount(), 1u);  // no temporary file left behind
}

TEST_F(WholeFileTest, EmptyFileReadsAsNoBytes) {
    std::ofstream(folder_ / "empty").close();
    const auto bytes = whole_file::Read(folder_ / "empty");
    ASSERT_TRUE(bytes.has_value());
    EXPECT_TRUE(bytes->empty());
}

TEST_F(WholeFileTest, MissingFileOrFolderIsNotAFile) {
    EXPECT_FALSE(whole_file::Read(folder_ / "missing").has_value());
    EXPECT_FALSE(whole_file::Read(folder_).has_value());
}

// A FIFO with no writer would block a plain open; a huge sparse file would ask for
// its claimed size in memory. Both are refused at once, like a missing file.
TEST_F(WholeFileTest, FifoAndOversizedFilesAreRefusedWithoutWaitingOrAllocating) {
    const fs::path fifo = folder_ / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_FALSE(whole_file::Read(fifo).has_value());

    const fs::path huge = folder_ / "huge";
    std::ofstream(huge).close();
    fs::resize_file(huge, std::uintmax_t{1} << 40);
    EXPECT_FALSE(whole_file::Read(huge).has_value());

    const fs::path largest = folder_ / "largest";
    std::ofstream(largest).close();
    fs::resize_file(largest, whole_file::kLargestReadable);
    const auto bytes = whole_file::Read(largest);
    ASSERT_TRUE(bytes.has_value());
    EXPECT_EQ(bytes->size(), whole_file::kLargestReadable);
    fs::resize_file(largest, whole_file::kLargestReadable + 1);
    EXPECT_FALSE(whole_file::Read(largest).has_value());
}

TEST_F(WholeFileTest, MissingFolderFailsToCreateTheFile) {
    const fs::path file = folder_ / "no-such-folder" / "data.bin";
    try {
        whole_file::WriteAtomically(file, std::vector<std::uint8_t>{1});
        FAIL() << "no error raised";
    } catch (const FileError& error) {
        EXPECT_EQ(error.GetReason(), FileError::Reason::kCannotOpen);
        EXPECT_EQ(error.Path(), file);
    }
}

TEST_F(WholeFileTest, FailedReplaceLeavesTheTargetAndNoTemporaryFile) {
    const fs::path target = folder_ / "occupied";
    fs::create_directory(target);
    fs::create_directory(target / "inner");
    try {
        whole_file::WriteAtomically(target, std::vector<std::uint8_t>{1, 2});
        FAIL() << "no error raised";
    } catch (const FileError& error) {
        EXPECT_EQ(error.GetReason(), FileError::Reason::kWriteFailed);
    }
    EXPECT_TRUE(fs::is_directory(target / "inner"));
    EXPECT_EQ(EntryCount(), 1u);
}

TEST_F(WholeFileTest, NewFileNeverReplacesAnExistingOneAndLeavesNoTemporaryFile) {
    const fs::path file = folder_ / "Snapshot 1.snp";
    const std::vector<std::uint8_t> first{1, 2, 3};
    EXPECT_TRUE(whole_file::WriteNew(file, first));
    EXPECT_FALSE(whole_file::WriteNew(file, std::vector<std::uint8_t>{9}));
    EXPECT_EQ(whole_file::Read(file), first);
    EXPECT_EQ(EntryCount(), 1u);
    EXPECT_EQ(fs::status(file).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                  fs::perms::others_read);
}

}  // namespace
