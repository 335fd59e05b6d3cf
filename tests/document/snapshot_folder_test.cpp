#include "document/snapshot_folder.h"

#include <gtest/gtest.h>

#include <fstream>

#include "support/document_test_support.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kFolder = "\\My Documents\\Snapshots\\";

class SnapshotFolderTest : public ::testing::Test {
  protected:
    void SetUp() override { fs::create_directories(root_.Host(kFolder)); }
    void Touch(const std::string& name) { std::ofstream(root_.Host(kFolder) / name).put('x'); }
    std::string NameAt(const SnapshotFolder& folder, int position) {
        const auto file = folder.FileAt(position);
        return file ? file->filename().string() : "";
    }

    document_test::TemporaryDeviceRoot root_;
};

TEST_F(SnapshotFolderTest, NextNumberIsOneAboveTheHighest) {
    Touch("Snapshot 0 1-1-2006 10-00.snp");
    Touch("Snapshot 3 1-1-2006 10-01.snp");
    Touch("Snapshot 7 1-1-2006 10-02.snp");
    Touch("notes.txt");
    const SnapshotFolder folder(kFolder);
    EXPECT_EQ(folder.Count(), 3);
    EXPECT_TRUE(folder.Any());
    EXPECT_EQ(folder.NextNumber(), 8);
    EXPECT_EQ(NameAt(folder, 0), "Snapshot 0 1-1-2006 10-00.snp");
    EXPECT_EQ(NameAt(folder, 1), "Snapshot 3 1-1-2006 10-01.snp");
    EXPECT_EQ(NameAt(folder, 2), "Snapshot 7 1-1-2006 10-02.snp");
    EXPECT_EQ(NameAt(folder, 3), "");
    EXPECT_EQ(NameAt(folder, -1), "");
}

TEST_F(SnapshotFolderTest, PositionsFollowTheNumbersNotTheNames) {
    Touch("Snapshot 10 1-1-2006 10-00.snp");
    Touch("Snapshot 9 5-5-2007 10-00.snp");
    Touch("Snapshot 2 9-9-2009 10-00.snp");
    const SnapshotFolder folder(kFolder);
    EXPECT_EQ(NameAt(folder, 0), "Snapshot 2 9-9-2009 10-00.snp");
    EXPECT_EQ(NameAt(folder, 1), "Snapshot 9 5-5-2007 10-00.snp");
    EXPECT_EQ(NameAt(folder, 2), "Snapshot 10 1-1-2006 10-00.snp");
}

TEST_F(SnapshotFolderTest, UnnumberedFilesAreCountedButTakeNoPosition) {
    Touch("Snapshot x.snp");
    Touch("Snapshot 012 a.snp");  // not how %d writes 12
    const SnapshotFolder folder(kFolder);
    EXPECT_EQ(folder.Count(), 2);
    EXPECT_EQ(folder.NextNumber(), 13);  // "012" still reads as 12
    EXPECT_FALSE(folder.FileAt(0).has_value());
    EXPECT_FALSE(folder.FileToSaveBack(0).has_value());
}

TEST_F(SnapshotFolderTest, SaveBackTakesTheFirstFileOfEachNumber) {
    Touch("Snapshot 1 a.snp");
    Touch("Snapshot 4 a.snp");
    Touch("Snapshot 4 b.snp");
    Touch("Snapshot 6 a.snp");
    const SnapshotFolder folder(kFolder);
    EXPECT_EQ(folder.FileAt(3)->filename(), "Snapshot 6 a.snp");
    ASSERT_TRUE(folder.FileToSaveBack(2).has_value());
    EXPECT_EQ(folder.FileToSaveBack(2)->filename(), "Snapshot 6 a.snp");
    EXPECT_EQ(folder.FileToSaveBack(1)->filename().string().substr(0, 11), "Snapshot 4 ");
    EXPECT_FALSE(folder.FileToSaveBack(3).has_value());
}

TEST_F(SnapshotFolderTest, NumbersEndAtTheLargestThatANameCarries) {
    Touch("Snapshot 999999999998 1-1-2006 10-00.snp");
    const SnapshotFolder folder(kFolder);
    ASSERT_EQ(folder.NextNumber(), 999'999'999'999);
    std::tm local{};
    local.tm_mday = 1;
    local.tm_year = 106;
    Touch(folder.NewFile(999'999'999'999, local).filename().string());
    EXPECT_EQ(NameAt(folder, 1), "Snapshot 999999999999 1-1-2006 00-00.snp");
    EXPECT_FALSE(folder.NextNumber().has_value());
    Touch("Snapshot 1000000000000 1-1-2006 10-00.snp");  // read as the largest number
    EXPECT_FALSE(folder.NextNumber().has_value());
}

TEST_F(SnapshotFolderTest, FolderWithoutSeparatorGetsOne) {
    EXPECT_EQ(SnapshotFolder("\\My Documents\\Snapshots").HandheldFolder(), kFolder);
    EXPECT_EQ(SnapshotFolder("").HandheldFolder(), "\\");
    Touch("Snapshot 5 a.snp");
    EXPECT_EQ(SnapshotFolder("\\My Documents\\Snapshots").NextNumber(), 6);
}

TEST_F(SnapshotFolderTest, NumberIsTheTextBetweenTheFirstTwoSpaces) {
    EXPECT_EQ(SnapshotFolder::NumberOf("Snapshot 12 3-11-2006 09-05.snp"), 12);
    EXPECT_EQ(SnapshotFolder::NumberOf("Snapshot 12.snp"), 12);
    EXPECT_EQ(SnapshotFolder::NumberOf("Snapshot 4x2 a.snp"), 4);
    EXPECT_EQ(SnapshotFolder::NumberOf("Snapshot x.snp"), 0);
    EXPECT_EQ(SnapshotFolder::NumberOf("Snapshot  a.snp"), 0);
    EXPECT_EQ(SnapshotFolder::NumberOf("Snapshot -3 a.snp"), 0);
    EXPECT_EQ(SnapshotFolder::NumberOf("Snapshot 99999999999999999999 a.snp"), 999'999'999'999);
}

TEST_F(SnapshotFolderTest, MissingFolderHoldsNoSnapshot) {
    const SnapshotFolder folder("\\Nowhere\\");
    EXPECT_EQ(folder.Count(), 0);
    EXPECT_EQ(folder.NextNumber(), 0);
}

TEST_F(SnapshotFolderTest, HostFolderStoresNumberedSnapshotsNamedAfterTheCaptureTime) {
    const fs::path host = root_.Home() / "elsewhere";
    fs::create_directories(host);
    const SnapshotFolder folder = SnapshotFolder::OnHost(host);
    const std::vector<std::uint8_t> bytes{1, 2, 3};
    EXPECT_EQ(folder.StoreNew(bytes, 1162544700), host / "Snapshot 0 3-11-2006 09-05.snp");
    EXPECT_EQ(folder.StoreNew(bytes, 1162544700), host / "Snapshot 1 3-11-2006 09-05.snp");
    EXPECT_EQ(folder.Count(), 2);
    EXPECT_EQ(SnapshotFolder(kFolder).Count(), 0) << "nothing in the device root";
}

}  // namespace
