#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>

#include "document/imager_document.h"
#include "document/snapshot_fixture.h"
#include "document/update_flags.h"
#include "platform/file_error.h"
#include "platform/whole_file.h"

namespace {

namespace fs = std::filesystem;
using document_test::kThirdNovember2006At0905;
using document_test::SnapshotTest;

TEST_F(SnapshotTest, EmptyFolderNumbersFromZero) {
    ImagerDocument& doc = Open();
    EXPECT_EQ(doc.CountSnapshots(), 0);
    EXPECT_FALSE(doc.AnySnapshot());
    doc.Freeze(true);
    doc.SetCaptureTime(kThirdNovember2006At0905);
    doc.SaveNewSnapshot();
    doc.Freeze(true);
    doc.SetCaptureTime(kThirdNovember2006At0905);  // the settings file brought the old one back
    doc.SaveNewSnapshot();
    EXPECT_EQ(Names(), (std::vector<std::string>{"Snapshot 0 3-11-2006 09-05.snp",
                                                 "Snapshot 1 3-11-2006 09-05.snp"}));
    EXPECT_EQ(doc.CountSnapshots(), 2);
}

TEST_F(SnapshotTest, NewSnapshotTakesTheNumberAfterTheHighest) {
    WriteThreeSnapshots();
    ImagerDocument& doc = Open();
    doc.Freeze(true);
    doc.SetCaptureTime(kThirdNovember2006At0905);
    doc.SaveNewSnapshot();
    EXPECT_TRUE(fs::exists(SnapshotFile("Snapshot 8 3-11-2006 09-05.snp")));
}

TEST_F(SnapshotTest, StoredSnapshotIsNamedAfterItsLocalCaptureTime) {
    WriteSnapshot("Snapshot 6 1-1-2006 10-00.snp", WithPalette(0, 1000));
    ImagerDocument& doc = Open();
    doc.Freeze(true);
    doc.SetPaletteNumber(2);
    doc.SetCaptureTime(kThirdNovember2006At0905);
    doc.SaveNewSnapshot();
    const std::string name = "Snapshot 7 3-11-2006 09-05.snp";
    ASSERT_TRUE(fs::exists(SnapshotFile(name)));
    const DocumentRecord stored = ReadSnapshot(name);
    EXPECT_EQ(stored.paletteNumber, 2);
    EXPECT_EQ(stored.captureTime, kThirdNovember2006At0905);
    // Back to live with the settings saved at the freeze.
    EXPECT_TRUE(doc.IsLive());
    EXPECT_EQ(doc.PaletteNumber(), 1);
}

TEST_F(SnapshotTest, BrowsingWalksByNumberAndWrapsBothWays) {
    WriteThreeSnapshots();
    ImagerDocument& doc = Open();
    doc.BeginBrowsing();
    EXPECT_TRUE(fs::exists(SettingsPath()));  // live settings saved first
    EXPECT_FALSE(doc.IsLive());
    EXPECT_EQ(doc.SnapshotIndex(), 0);
    EXPECT_EQ(doc.PaletteNumber(), 0);
    EXPECT_EQ(doc.DisplayFrame(), ThermalFrame::Filled(3000));
    const std::vector<std::int16_t> forward = [&] {
        std::vector<std::int16_t> palettes;
        for (int i = 0; i < 3; ++i) {
            doc.NextSnapshot();
            palettes.push_back(doc.PaletteNumber());
        }
        return palettes;
    }();
    EXPECT_EQ(forward, (std::vector<std::int16_t>{1, 2, 0}));
    EXPECT_EQ(doc.SnapshotIndex(), 0);
    doc.PreviousSnapshot(false);
    EXPECT_EQ(doc.SnapshotIndex(), 2);
    EXPECT_EQ(doc.PaletteNumber(), 2);
    doc.PreviousSnapshot(false);
    EXPECT_EQ(doc.SnapshotIndex(), 1);
    EXPECT_EQ(doc.CaptureTime(), 2000);
    EXPECT_TRUE(messages_.Strings().empty());  // nothing was modified
}

TEST_F(SnapshotTest, LoadedSnapshotGetsItsTitleAndAnnouncesEverything) {
    WriteSnapshot("Snapshot 0 3-11-2006 09-05.snp", WithPalette(2, kThirdNovember2006At0905));
    ImagerDocument& doc = Open();
    notifier_.Take();
    doc.BeginBrowsing();
    EXPECT_EQ(doc.SnapshotTitle(), "11/03/06 - 09:05:00");
    EXPECT_TRUE(notifier_.Contains(update_flag::kAll));
    EXPECT_EQ(doc.RangeLow(), 0);  // the recorded range while a snapshot is shown
}

TEST_F(SnapshotTest, DeletingTheOnlySnapshotReturnsToTheLiveSettings) {
    WriteSnapshot("Snapshot 0 1-1-2006 10-00.snp", WithPalette(2, 1000));
    ImagerDocument& doc = Open();
    doc.SetPaletteNumber(0);
    doc.ShiftSpanUp();
    doc.BeginBrowsing();
    EXPECT_EQ(doc.PaletteNumber(), 2);
    doc.DeleteSnapshot();
    EXPECT_TRUE(Names().empty());
    EXPECT_TRUE(doc.IsLive());
    EXPECT_EQ(doc.SnapshotIndex(), -1);
    EXPECT_EQ(doc.PaletteNumber(), 0);
    EXPECT_EQ(doc.SpanLow(), 2940);
}

TEST_F(SnapshotTest, DeletingMovesToThePrecedingSnapshot) {
    WriteThreeSnapshots();
    ImagerDocument& doc = Open();
    doc.BeginBrowsing();
    doc.NextSnapshot();
    doc.DeleteSnapshot();  // number 3
    EXPECT_EQ(doc.SnapshotIndex(), 0);
    EXPECT_EQ(doc.PaletteNumber(), 0);
    doc.DeleteSnapshot();  // number 0; wraps to the last
    EXPECT_EQ(doc.SnapshotIndex(), 0);
    EXPECT_EQ(doc.PaletteNumber(), 2);
    EXPECT_EQ(Names(), std::vector<std::string>{"Snapshot 7 1-1-2006 10-02.snp"});
    EXPECT_FALSE(doc.IsLive());
}

TEST_F(SnapshotTest, ChangedSnapshotAsksBeforeMovingOnAndNoKeepsTheFile) {
    WriteThreeSnapshots();
    const auto before = document_test::ReadFile(SnapshotFile("Snapshot 0 1-1-2006 10-00.snp"));
    ImagerDocument& doc = Open();
    doc.BeginBrowsing();
    doc.SetPaletteNumber(2);
    messages_.Answer(message_box::kIdNo);
    doc.NextSnapshot();
    EXPECT_EQ(messages_.Strings(), SaveQuestions(1));
    EXPECT_EQ(document_test::ReadFile(SnapshotFile("Snapshot 0 1-1-2006 10-00.snp")), before);
    EXPECT_EQ(doc.SnapshotIndex(), 1);
    EXPECT_FALSE(doc.IsSnapshotModified());
}

TEST_F(SnapshotTest, YesSavesTheChangesBackUnderTheSameName) {
    WriteThreeSnapshots();
    ImagerDocument& doc = Open();
    doc.BeginBrowsing();
    doc.NextSnapshot();
    doc.SetSnapshotNote("Lager");
    messages_.Answer(message_box::kIdYes);
    doc.PreviousSnapshot(false);
    EXPECT_EQ(messages_.Strings(), SaveQuestions(1));
    const DocumentRecord saved = ReadSnapshot("Snapshot 3 1-1-2006 10-01.snp");
    EXPECT_EQ(saved.snapshotNote, "Lager");
    EXPECT_EQ(saved.paletteNumber, 1);
    EXPECT_EQ(saved.captureTime, 2000);
    EXPECT_EQ(Names().size(), 3u);
    EXPECT_EQ(doc.SnapshotIndex(), 0);
}

TEST_F(SnapshotTest, QuietPreviousAndUnchangedSnapshotsAskNothing) {
    WriteThreeSnapshots();
    ImagerDocument& doc = Open();
    doc.BeginBrowsing();
    doc.SetPaletteNumber(1);
    doc.PreviousSnapshot(true);
    doc.OfferToSaveChanges();  // freshly loaded: not modified
    EXPECT_TRUE(messages_.Strings().empty());
    doc.SetPaletteNumber(0);
    messages_.Answer(message_box::kIdYes);
    doc.OfferToSaveChanges();
    EXPECT_EQ(messages_.Strings(), SaveQuestions(1));
    EXPECT_EQ(ReadSnapshot("Snapshot 7 1-1-2006 10-02.snp").paletteNumber, 0);
}

TEST_F(SnapshotTest, NoOfferWithoutSnapshotFiles) {
    ImagerDocument& doc = Open();
    doc.SetPaletteNumber(2);
    doc.OfferToSaveChanges();
    EXPECT_TRUE(messages_.Strings().empty());
}

TEST_F(SnapshotTest, UnwritableFolderRaisesTheFileErrorAndStaysFrozen) {
    ImagerDocument& doc = Open();
    fs::remove_all(Folder());
    document_test::WriteFile(Folder(), std::vector<std::uint8_t>{1});  // a file, not a folder
    doc.Freeze(true);
    EXPECT_THROW(doc.SaveNewSnapshot(), FileError);
    EXPECT_FALSE(doc.IsLive());
}

TEST_F(SnapshotTest, ExhaustedNumbersRaiseTheFileErrorAndReplaceNothing) {
    // Found by the snapshot-name fuzz target: the next number used to be 10^12, a name
    // that reads back as 999999999999, so a second save in the same minute replaced it.
    const std::string highest = "Snapshot 999999999999 3-11-2006 09-05.snp";
    WriteSnapshot(highest, WithPalette(2, 3000));
    ImagerDocument& doc = Open();
    doc.Freeze(true);
    doc.SetCaptureTime(kThirdNovember2006At0905);
    EXPECT_THROW(doc.SaveNewSnapshot(), FileError);
    EXPECT_FALSE(doc.IsLive());
    EXPECT_EQ(Names(), std::vector<std::string>{highest});
    EXPECT_EQ(ReadSnapshot(highest).paletteNumber, 2);
}

TEST_F(SnapshotTest, FailedSaveBackLeavesTheOldEntry) {
    WriteThreeSnapshots();
    ImagerDocument& doc = Open();
    doc.BeginBrowsing();
    fs::remove(SnapshotFile("Snapshot 0 1-1-2006 10-00.snp"));
    fs::create_directories(SnapshotFile("Snapshot 0 1-1-2006 10-00.snp") / "inside");
    doc.SetPaletteNumber(1);
    messages_.Answer(message_box::kIdYes);
    EXPECT_THROW(doc.NextSnapshot(), FileError);
    EXPECT_TRUE(fs::is_directory(SnapshotFile("Snapshot 0 1-1-2006 10-00.snp") / "inside"));
    EXPECT_EQ(Names().size(), 3u);      // no temporary file left
    EXPECT_EQ(doc.SnapshotIndex(), 0);  // nothing further ran
}

TEST_F(SnapshotTest, CutOffSnapshotShowsTheEmptyPicture) {
    DocumentRecord record = WithPalette(0, 5555);
    auto bytes = Archive(record);
    bytes.resize(200);
    document_test::WriteFile(SnapshotFile("Snapshot 0 a.snp"), bytes);
    document_test::WriteFile(SnapshotFile("Snapshot 1 b.snp"), {});
    ImagerDocument& doc = Open();
    doc.SetCaptureTime(kThirdNovember2006At0905);
    doc.BeginBrowsing();
    EXPECT_EQ(doc.PaletteNumber(), 0);
    EXPECT_EQ(doc.DisplayFrame(), ThermalFrame::Filled(2730));
    EXPECT_EQ(doc.SnapshotTitle(), "11/03/06 - 09:05:00");
    doc.NextSnapshot();  // an empty file fails at the version
    EXPECT_EQ(doc.SnapshotIndex(), 1);
    EXPECT_EQ(doc.DisplayFrame(), ThermalFrame::Filled(2730));
}

// An entry that cannot be read is shown at its position by its name over an empty
// picture, is never saved over, and is exactly what Delete removes.
TEST_F(SnapshotTest, UnreadableEntriesAreShownAtTheirPositionAndDeletedWhenShown) {
    WriteSnapshot("Snapshot 0 a.snp", WithPalette(0, 1000));
    const std::vector<std::string> unreadable = {"Snapshot 1 folder.snp", "Snapshot 2 loop.snp",
                                                 "Snapshot 3 fifo.snp", "Snapshot 4 huge.snp"};
    fs::create_directory(SnapshotFile(unreadable[0]));
    fs::create_symlink(unreadable[1], SnapshotFile(unreadable[1]));
    ASSERT_EQ(::mkfifo(SnapshotFile(unreadable[2]).c_str(), 0600), 0);
    document_test::WriteFile(SnapshotFile(unreadable[3]), Archive(WithPalette(1, 1)));
    fs::resize_file(SnapshotFile(unreadable[3]), whole_file::kLargestReadable + 1);
    WriteSnapshot("Snapshot 5 b.snp", WithPalette(2, 2000));
    ImagerDocument& doc = Open();
    doc.BeginBrowsing();
    doc.SetSnapshotNote("old note");
    messages_.answers = {message_box::kIdNo};
    for (int k = 1; k <= 4; ++k) {
        notifier_.Take();
        doc.NextSnapshot();
        EXPECT_EQ(doc.SnapshotIndex(), k);
        EXPECT_TRUE(doc.IsSnapshotUnreadable()) << k;
        EXPECT_EQ(doc.SnapshotTitle(), unreadable[static_cast<std::size_t>(k - 1)]);
        EXPECT_EQ(doc.SnapshotNote(), "");
        EXPECT_EQ(doc.DisplayFrame(), ThermalFrame::Filled(2730));
        EXPECT_TRUE(notifier_.Contains(update_flag::kAll));
        doc.SetPaletteNumber(0);  // nothing to save back: no question follows
        EXPECT_FALSE(doc.IsSnapshotModified());
    }
    EXPECT_EQ(messages_.shown.size(), 1u);  // only for the changed note
    doc.NextSnapshot();
    EXPECT_FALSE(doc.IsSnapshotUnreadable());
    EXPECT_EQ(doc.PaletteNumber(), 2);
    doc.PreviousSnapshot(false);
    for (int k = 4; k >= 1; --k) {
        EXPECT_EQ(doc.SnapshotTitle(), unreadable[static_cast<std::size_t>(k - 1)]);
        doc.DeleteSnapshot();
        EXPECT_EQ(doc.SnapshotIndex(), k - 1);
    }
    EXPECT_EQ(Names(), (std::vector<std::string>{"Snapshot 0 a.snp", "Snapshot 5 b.snp"}));
    EXPECT_FALSE(doc.IsSnapshotUnreadable());
    EXPECT_EQ(doc.PaletteNumber(), 0);
}

TEST_F(SnapshotTest, UnreachableSnapshotNeverHangsAWalk) {
    document_test::WriteFile(SnapshotFile("Snapshot x.snp"), Archive(WithPalette(2, 1)));
    ImagerDocument& doc = Open();
    EXPECT_EQ(doc.CountSnapshots(), 1);
    doc.BeginBrowsing();
    EXPECT_EQ(doc.PaletteNumber(), 1);  // nothing could be loaded
    doc.NextSnapshot();
    doc.PreviousSnapshot(false);
    doc.DeleteSnapshot();
    EXPECT_EQ(doc.SnapshotIndex(), 0);
    EXPECT_TRUE(fs::exists(SnapshotFile("Snapshot x.snp")));
    doc.ReturnToLive(true);
    doc.Freeze(true);
    doc.SetCaptureTime(kThirdNovember2006At0905);
    doc.SaveNewSnapshot();  // "Snapshot x.snp" counts as number 0
    EXPECT_TRUE(fs::exists(SnapshotFile("Snapshot 1 3-11-2006 09-05.snp")));
}

TEST_F(SnapshotTest, FilesRemovedWhileBrowsingStillLeadSomewhere) {
    WriteThreeSnapshots();
    ImagerDocument& doc = Open();
    doc.BeginBrowsing();
    doc.PreviousSnapshot(false);
    EXPECT_EQ(doc.SnapshotIndex(), 2);
    fs::remove(SnapshotFile("Snapshot 0 1-1-2006 10-00.snp"));
    fs::remove(SnapshotFile("Snapshot 3 1-1-2006 10-01.snp"));
    doc.NextSnapshot();
    EXPECT_EQ(doc.SnapshotIndex(), 0);
    EXPECT_EQ(doc.PaletteNumber(), 2);
    fs::remove(SnapshotFile("Snapshot 7 1-1-2006 10-02.snp"));
    doc.PreviousSnapshot(false);
    doc.NextSnapshot();
    EXPECT_EQ(doc.CountSnapshots(), 0);
}

TEST_F(SnapshotTest, FolderWithoutTrailingSeparatorStillHoldsTheFiles) {
    ImagerDocument& doc = Open();
    doc.SetSnapshotFolder("\\My Documents\\Snapshots");
    doc.Freeze(true);
    doc.SetCaptureTime(kThirdNovember2006At0905);
    doc.SaveNewSnapshot();
    EXPECT_EQ(Names(), std::vector<std::string>{"Snapshot 0 3-11-2006 09-05.snp"});
    EXPECT_EQ(doc.SnapshotFolder(), "\\My Documents\\Snapshots");
    EXPECT_EQ(doc.CountSnapshots(), 1);
}

TEST_F(SnapshotTest, SnapshotOpenedByNameIsReadIntoTheDocument) {
    ImagerDocument& doc = Open();
    WriteSnapshot("Snapshot 4 a.snp", WithPalette(0, 42));
    doc.OpenArchiveFile(SnapshotFile("Snapshot 4 a.snp"));
    EXPECT_EQ(doc.PaletteNumber(), 0);
    EXPECT_EQ(doc.CaptureTime(), 42);
    EXPECT_THROW(doc.OpenArchiveFile(SnapshotFile("missing.snp")), FileError);
}

TEST_F(SnapshotTest, OpenedSnapshotTakesItsPlaceOrComesAfterTheFolderAndIsSavedToItself) {
    ImagerDocument& doc = Open();
    WriteThreeSnapshots();
    const fs::path elsewhere = root_.Home() / "elsewhere.snp";
    document_test::WriteFile(elsewhere, Archive(WithPalette(1, 42)));

    EXPECT_THROW(doc.OpenSnapshot(root_.Home() / "missing.snp"), FileError);
    EXPECT_TRUE(doc.IsLive());
    EXPECT_FALSE(fs::exists(SettingsPath())) << "nothing put aside for an unreadable file";

    doc.OpenSnapshot(elsewhere);
    EXPECT_FALSE(doc.IsLive());
    EXPECT_EQ(ReadSettings().paletteNumber, 1) << "the live settings are put aside";
    EXPECT_EQ(doc.SnapshotIndex(), 3);
    EXPECT_EQ(doc.CountSnapshots(), 4);
    EXPECT_EQ(doc.CaptureTime(), 42);
    doc.SetPaletteNumber(0);
    messages_.Answer(message_box::kIdYes);
    doc.NextSnapshot();
    EXPECT_EQ(Decode(document_test::ReadFile(elsewhere)).paletteNumber, 0) << "saved back to the opened file";
    EXPECT_EQ(doc.SnapshotIndex(), 0);
    EXPECT_EQ(doc.CountSnapshots(), 3);

    // A file of the folder is shown at its position; Yes/No/Cancel before the end.
    doc.OpenSnapshot(SnapshotFile("Snapshot 7 1-1-2006 10-02.snp"));
    EXPECT_EQ(doc.SnapshotIndex(), 2);
    doc.SetPaletteNumber(1);
    messages_.Answer(message_box::kIdCancel);
    EXPECT_FALSE(doc.OfferToSaveChangesOrCancel());
    EXPECT_EQ(messages_.Strings().back(), std::make_pair(129, message_box::kYesNoCancel));
    EXPECT_EQ(ReadSnapshot("Snapshot 7 1-1-2006 10-02.snp").paletteNumber, 2);
    doc.SaveShownSnapshot();
    EXPECT_EQ(ReadSnapshot("Snapshot 7 1-1-2006 10-02.snp").paletteNumber, 1);
    EXPECT_TRUE(doc.OfferToSaveChangesOrCancel()) << "saved: nothing left to ask";
}

TEST_F(SnapshotTest, OpenedFileAloneIsShownAgainByNextAndDeletedAsItself) {
    ImagerDocument& doc = Open();
    doc.SetPaletteNumber(2);
    const fs::path elsewhere = root_.Home() / "elsewhere.snp";
    document_test::WriteFile(elsewhere, Archive(WithPalette(0, 42)));
    doc.OpenSnapshot(elsewhere);
    doc.SetPaletteNumber(1);
    doc.NextSnapshot();  // answered No
    EXPECT_EQ(doc.SnapshotIndex(), 0);
    EXPECT_EQ(doc.PaletteNumber(), 0) << "read again";
    EXPECT_TRUE(doc.AnySnapshot());

    doc.DeleteSnapshot();
    EXPECT_FALSE(fs::exists(elsewhere));
    EXPECT_TRUE(doc.IsLive());
    EXPECT_EQ(doc.PaletteNumber(), 2);
    EXPECT_FALSE(doc.AnySnapshot());
}

// The picture workflow on the document alone: hold and store three pictures, browse
// them, step both ways, change one and save it back, delete them all.

}  // namespace
