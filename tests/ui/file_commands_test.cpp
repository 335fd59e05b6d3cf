// The file keys of the view: Ctrl+O opens a snapshot file chosen in the file dialog,
// Ctrl+N and Ctrl+S act on what the button row offers.
#include <gtest/gtest.h>

#include "ui/commands_fixture.h"

namespace {

using namespace commands_test;

class FileCommandsTest : public CommandsTest {
  protected:
    void Press(Qt::Key key) {
        PressKey(*view_, key, Qt::ControlModifier);
        DeliverPostedEvents();
    }
    // The settings file and every snapshot file, as bytes.
    std::vector<std::vector<std::uint8_t>> FilesOnDisk() const {
        std::vector<std::vector<std::uint8_t>> files{*whole_file::Read(root_.SettingsFile())};
        for (const std::string& name : Snapshots()) {
            files.push_back(*whole_file::Read(SnapshotFile(name)));
        }
        return files;
    }
};

TEST_F(FileCommandsTest, OpenThenLiveLeavesTheSettingsAndFilesAsBrowseAndLiveWould) {
    StoreSnapshots(2);
    document_.SetPaletteNumber(2);  // a live setting
    Click(View::kBrowse);
    Click(View::kNext);
    Click(View::kLive);
    DeliverPostedEvents();
    const auto afterBrowse = FilesOnDisk();

    files_.choices = {SnapshotFile(Snapshots()[1])};
    Press(Qt::Key_O);
    EXPECT_EQ(files_.folders, std::vector<fs::path>{device_root::Map(document_.SnapshotFolder())});
    EXPECT_TRUE(view_->IsBrowsing());
    EXPECT_TRUE(Shown(View::kDelete));
    EXPECT_EQ(document_.SnapshotIndex(), 1);
    EXPECT_EQ(document_.PaletteNumber(), 1) << "the snapshot's own palette";
    EXPECT_EQ(view_->ThermalImage().StatusIndex(), 1);
    EXPECT_TRUE(view_->hasFocus());

    document_.SetPaletteNumber(0);
    messages_.answers = {message_box::kIdNo};
    Click(View::kLive);
    EXPECT_EQ(messages_.TakeIds(), std::vector<int>{129});
    EXPECT_TRUE(LiveRowShown());
    EXPECT_EQ(document_.PaletteNumber(), 2);
    EXPECT_EQ(FilesOnDisk(), afterBrowse);
}

TEST_F(FileCommandsTest, UnreadableFileIsReportedAndCancelChangesNothing) {
    files_.choices = {std::nullopt, root_.Home() / "missing.snp"};
    Press(Qt::Key_O);
    EXPECT_TRUE(messages_.shown.empty()) << "cancelled";
    Press(Qt::Key_O);
    ASSERT_EQ(messages_.Texts().size(), 1u);
    EXPECT_EQ(messages_.Texts()[0],
              "Could not open or create the file\n" + (root_.Home() / "missing.snp").string());
    EXPECT_TRUE(LiveRowShown());
    EXPECT_TRUE(document_.IsLive());
    EXPECT_FALSE(fs::exists(root_.SettingsFile()));
}

TEST_F(FileCommandsTest, CtrlNAndCtrlSFollowTheButtonRow) {
    Press(Qt::Key_N);
    EXPECT_TRUE(Shown(View::kSave)) << "a new picture is held";
    files_.choices = {SnapshotFile("any.snp")};
    Press(Qt::Key_O);
    EXPECT_TRUE(files_.folders.empty()) << "a held picture is saved or discarded first";
    Press(Qt::Key_S);
    EXPECT_EQ(Snapshots().size(), 1u);
    EXPECT_TRUE(LiveRowShown());
    Press(Qt::Key_S);
    EXPECT_EQ(Snapshots().size(), 1u) << "nothing to save in the live row";

    Click(View::kBrowse);
    document_.SetPaletteNumber(0);
    Press(Qt::Key_S);
    EXPECT_EQ(ReadArchive(SnapshotFile(Snapshots()[0])).paletteNumber, 0);
    Press(Qt::Key_N);  // saved: Live asks nothing (the message boxes are strict)
    EXPECT_TRUE(LiveRowShown());
    EXPECT_TRUE(messages_.shown.empty());
}

}  // namespace
