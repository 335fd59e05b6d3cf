// The picture commands of the view: hold, save, discard, browse, delete, next,
// previous, live and exit.
#include <gtest/gtest.h>

#include "ui/commands_fixture.h"

namespace {

using namespace commands_test;

TEST_F(CommandsTest, HoldFreezesSavesTheLiveSettingsAndShowsTheHeldRow) {
    document_.SetPaletteNumber(2);
    Button(View::kSettings).setFocus();
    Click(View::kHold);
    EXPECT_FALSE(document_.IsLive());
    EXPECT_EQ(document_.FreezeTime(), kHoldTime);
    EXPECT_EQ(ReadArchive(root_.SettingsFile()).paletteNumber, 2);
    for (View::Button hidden : {View::kHold, View::kSettings, View::kFitSpan, View::kAutoSpan,
                                View::kBrowse, View::kExit}) {
        EXPECT_FALSE(Shown(hidden)) << hidden;
    }
    EXPECT_TRUE(Shown(View::kSave) && Shown(View::kDiscard));
    EXPECT_FALSE(view_->Prompt().isHidden());
    EXPECT_TRUE(view_->hasFocus());
}

TEST_F(CommandsTest, SaveStoresTheHeldPictureWithBothTimesAndResumesLivePictures) {
    Click(View::kHold);
    now_ = kSaveTime;
    Click(View::kSave);
    ASSERT_EQ(Snapshots(), std::vector<std::string>{"Snapshot 0 3-11-2006 09-07.snp"});
    const DocumentRecord stored = ReadArchive(SnapshotFile(Snapshots()[0]));
    EXPECT_EQ(stored.captureTime, kSaveTime);
    EXPECT_EQ(stored.freezeTime, kHoldTime);
    EXPECT_TRUE(document_.IsLive());
    EXPECT_TRUE(LiveRowShown());
    EXPECT_TRUE(view_->hasFocus());
    EXPECT_TRUE(messages_.shown.empty());

    StoreSnapshots(1);
    EXPECT_EQ(Snapshots().back(), "Snapshot 1 3-11-2006 09-07.snp");
}

TEST_F(CommandsTest, DiscardStoresNothingAndRestoresTheSettingsOfTheFreeze) {
    Click(View::kHold);
    const std::uint16_t low = document_.SpanLow();
    const std::uint16_t high = document_.SpanHigh();
    view_->SetSelectionMode(View::kSpan);
    view_->HandleKey(View::Key::kDown);  // the held picture's span narrows
    ASSERT_NE(document_.SpanLow(), low);
    Click(View::kDiscard);
    EXPECT_TRUE(Snapshots().empty());
    EXPECT_EQ(document_.SpanLow(), low);
    EXPECT_EQ(document_.SpanHigh(), high);
    EXPECT_TRUE(document_.IsLive());
    EXPECT_TRUE(LiveRowShown());
}

TEST_F(CommandsTest, BrowseWithoutSnapshotsOnlyShowsMessage142) {
    Button(View::kBrowse).setFocus();
    Click(View::kBrowse);
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].stringId, 142);
    EXPECT_EQ(messages_.shown[0].style, message_box::kOk);
    EXPECT_TRUE(LiveRowShown());
    EXPECT_TRUE(document_.IsLive());
    EXPECT_EQ(document_.SnapshotIndex(), -1);
    EXPECT_FALSE(fs::exists(root_.SettingsFile())) << "browsing did not begin";
    EXPECT_TRUE(Button(View::kBrowse).hasFocus()) << "the focus stays where it was";
}

TEST_F(CommandsTest, DeletingTheOnlySnapshotGoesBackToLivePictures) {
    StoreSnapshots(1);
    Click(View::kBrowse);
    EXPECT_TRUE(view_->IsBrowsing());
    EXPECT_EQ(document_.SnapshotIndex(), 0);
    EXPECT_FALSE(document_.IsLive());
    EXPECT_EQ(Button(View::kSettings).geometry(), QRect(121, 235, 38, 32));

    messages_.answers = {message_box::kIdNo};
    Click(View::kDelete);
    EXPECT_EQ(Snapshots().size(), 1u) << "answered No";
    EXPECT_TRUE(view_->IsBrowsing());

    messages_.answers = {message_box::kIdYes};
    messages_.shown.clear();
    Click(View::kDelete);
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].stringId, 143);
    EXPECT_EQ(messages_.shown[0].style, message_box::kYesNo | message_box::kIconQuestion);
    EXPECT_TRUE(Snapshots().empty());
    DeliverPostedEvents();
    EXPECT_TRUE(LiveRowShown());
    EXPECT_EQ(Button(View::kSettings).geometry(), QRect(97, 235, 46, 32));
    EXPECT_TRUE(document_.IsLive());
    EXPECT_EQ(document_.SnapshotIndex(), -1);
}

// A folder named like a snapshot: the view shows it at its position (its name, the
// text over the picture, its status), and Delete removes it after the question.
TEST_F(CommandsTest, UnreadableEntryIsShownAndDeleteRemovesExactlyIt) {
    StoreSnapshots(2);
    const std::string folder = "Snapshot 2 folder.snp";
    fs::create_directory(SnapshotFile(folder));
    Click(View::kBrowse);
    Click(View::kNext);
    Click(View::kNext);
    DeliverPostedEvents();
    ThermalImageControl& image = view_->ThermalImage();
    EXPECT_TRUE(image.Unreadable());
    EXPECT_EQ(image.StatusIndex(), 2);
    EXPECT_EQ(document_.SnapshotTitle(), folder);
    EXPECT_EQ(image.Frame(), ThermalFrame::Filled(2730));
    // White text with its shadow across the middle of the picture, no red reticle.
    const QImage shown = image.PaintOffscreen()->copy();
    int white = 0;
    int red = 0;
    for (int y = 80; y < 116; ++y) {
        for (int x = 2; x < 194; ++x) {
            white += shown.pixel(x, y) == qRgb(255, 255, 255) ? 1 : 0;
            red += shown.pixel(x, y) == qRgb(255, 0, 0) ? 1 : 0;
        }
    }
    EXPECT_GT(white, 20);
    EXPECT_EQ(red, 0);

    messages_.answers = {message_box::kIdYes};
    Click(View::kDelete);
    EXPECT_EQ(messages_.TakeIds(), std::vector<int>{143});
    EXPECT_FALSE(fs::exists(SnapshotFile(folder)));
    EXPECT_EQ(Snapshots().size(), 2u);
    DeliverPostedEvents();
    EXPECT_EQ(document_.SnapshotIndex(), 1);
    EXPECT_FALSE(image.Unreadable());
    Click(View::kNext);
    EXPECT_EQ(document_.SnapshotIndex(), 0);
}

TEST_F(CommandsTest, NextAndPreviousWrapAroundAndAskBeforeLeavingAChange) {
    StoreSnapshots(3);
    Click(View::kBrowse);
    Click(View::kPrevious);
    EXPECT_EQ(document_.SnapshotIndex(), 2);
    Click(View::kNext);
    EXPECT_EQ(document_.SnapshotIndex(), 0);

    document_.SetPaletteNumber(0);
    messages_.answers = {message_box::kIdYes};
    Click(View::kNext);
    EXPECT_EQ(messages_.TakeIds(), std::vector<int>{129});
    EXPECT_EQ(document_.SnapshotIndex(), 1);
    EXPECT_EQ(ReadArchive(SnapshotFile(Snapshots()[0])).paletteNumber, 0);
    EXPECT_EQ(ReadArchive(SnapshotFile(Snapshots()[1])).paletteNumber, 1);
    EXPECT_TRUE(view_->hasFocus());
}

TEST_F(CommandsTest, LiveAfterAChangeAsksAndThenRestoresTheLiveSettings) {
    StoreSnapshots(1);
    document_.SetPaletteNumber(2);  // a live setting, saved when browsing begins
    Click(View::kBrowse);
    EXPECT_EQ(document_.PaletteNumber(), 1) << "the snapshot's palette";
    document_.SetPaletteNumber(0);
    messages_.answers = {message_box::kIdNo};
    Click(View::kLive);
    EXPECT_EQ(messages_.TakeIds(), std::vector<int>{129});
    EXPECT_EQ(ReadArchive(SnapshotFile(Snapshots()[0])).paletteNumber, 1) << "answered No";
    EXPECT_TRUE(LiveRowShown());
    EXPECT_EQ(document_.PaletteNumber(), 2);
    EXPECT_TRUE(document_.IsLive());
    DeliverPostedEvents();
    EXPECT_EQ(view_->ThermalImage().PaletteNumber(), 2);
    EXPECT_EQ(view_->ThermalImage().StatusIndex(), -1);
}

TEST_F(CommandsTest, ExitFromTheLiveRowAsksNothing) {
    document_.SetPaletteNumber(0);  // no snapshot shown: the flag means nothing
    Click(View::kExit);
    DeliverPostedEvents();
    EXPECT_FALSE(frame_.isVisible());
    EXPECT_TRUE(messages_.shown.empty());
}

// --- settings --------------------------------------------------------------------------

}  // namespace
