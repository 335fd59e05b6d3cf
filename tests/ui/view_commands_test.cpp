#include "ui/view_commands.h"
#include "support/started_document.h"

#include <gtest/gtest.h>

#include <QAction>
#include <cstdio>
#include <fstream>

#include "document/imager_document.h"
#include "platform/file_error.h"
#include "ui/dialog_test_support.h"
#include "ui/file_error_report.h"
#include "ui/imager_test_support.h"
#include "ui/imager_view.h"
#include "ui/main_window.h"
#include "ui/settings_command.h"
#include "ui/workflow_test_support.h"

namespace {

namespace fs = std::filesystem;
using namespace workflow_test;
using View = ImagerView;
using Driver = SettingsDialogDriver;

// 3 November 2006, 09:05 and 09:07 UTC.
constexpr std::int64_t kHoldTime = 1162544700;
constexpr std::int64_t kSaveTime = 1162544820;

const std::map<int, std::string> kStrings{
    {129, "Save changes?"}, {130, "Hold"},       {131, "Span"},       {132, "Setup"},
    {133, "Browse"},        {134, "Exit"},       {135, "Prev"},       {136, "Next"},
    {137, "Delete"},        {138, "Live"},       {139, "Save"},       {140, "Discard"},
    {141, "Held"},          {142, "None"},       {143, "Delete it?"}, {144, "Greyscale"},
    {145, "Red Blue"},      {146, "Green Blue"}, {147, "Range!"}};

class CommandsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        root_.Environment().Set("TZ", "UTC");
        receiver_.Attach(document_);
        view_->Commands().SetClock([this] { return now_; });
        view_->CreateScreen();
        frame_.SetView(view_);
        frame_.show();
        QApplication::setActiveWindow(&frame_);
        DeliverPostedEvents();
    }

    ImageButton& Button(View::Button which) { return view_->ButtonAt(which); }
    bool Shown(View::Button which) { return !Button(which).isHidden(); }
    void Click(View::Button which) { Button(which).click(); }
    std::vector<std::string> Snapshots() const {
        return SnapshotNames(document_.GetSnapshotFolder());
    }
    fs::path SnapshotFile(const std::string& name) const {
        return device_root::Map(document_.GetSnapshotFolder()) / name;
    }
    bool LiveRowShown() {
        for (View::Button hidden : {View::kPrevious, View::kNext, View::kDelete, View::kLive,
                                    View::kSave, View::kDiscard}) {
            if (Shown(hidden)) {
                return false;
            }
        }
        return Shown(View::kHold) && Shown(View::kBrowse) && Shown(View::kSettings) &&
               Shown(View::kExit) && Shown(View::kAutoSpan) != Shown(View::kFitSpan) &&
               view_->Prompt().isHidden() && !view_->IsBrowsing();
    }
    // Stores snapshots through Hold and Save; each gets the next number.
    void StoreSnapshots(int count) {
        for (int k = 0; k < count; ++k) {
            Click(View::kHold);
            Click(View::kSave);
        }
        DeliverPostedEvents();
    }
    // Runs the settings command with `step` working the open dialog.
    void RunSettings(std::function<void(SettingsDialog&)> step) {
        Driver driver(std::move(step));
        Click(View::kSettings);
        EXPECT_TRUE(driver.Ran());
        DeliverPostedEvents();
    }

    bool applicationReady_ = (imager_test::Application(), true);
    imager_test::TemporaryDeviceRoot root_;
    imager_test::MapStrings strings_{kStrings};
    FakeIcons icons_;
    ScriptedMessageBoxes messages_{ScriptedMessageBoxes::kStrict};
    UpdateReceiver receiver_;
    QtUpdateNotifier notifier_{&receiver_};
    StartedDocument started_{&messages_, &notifier_};
    ImagerDocument& document_ = started_.Document();
    MainWindow frame_;
    View* view_ =
        new View(document_, {strings_, icons_, messages_, notifier_,
                             dialog_test::EnglishTemplate(131), dialog_test::EnglishTemplate(153)});
    std::int64_t now_ = kHoldTime;
};

TEST_F(CommandsTest, HoldFreezesSavesTheLiveSettingsAndShowsTheHeldRow) {
    document_.SetPaletteNumber(2);
    Button(View::kSettings).setFocus();
    Click(View::kHold);
    EXPECT_FALSE(document_.IsLive());
    EXPECT_EQ(document_.GetFreezeTime(), kHoldTime);
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
    const std::uint16_t low = document_.GetSpanLow();
    const std::uint16_t high = document_.GetSpanHigh();
    view_->SetSelectionMode(View::kSpan);
    view_->HandleKey(View::Key::kDown);  // the held picture's span narrows
    ASSERT_NE(document_.GetSpanLow(), low);
    Click(View::kDiscard);
    EXPECT_TRUE(Snapshots().empty());
    EXPECT_EQ(document_.GetSpanLow(), low);
    EXPECT_EQ(document_.GetSpanHigh(), high);
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
    EXPECT_EQ(document_.GetSnapshotIndex(), -1);
    EXPECT_FALSE(fs::exists(root_.SettingsFile())) << "browsing did not begin";
    EXPECT_TRUE(Button(View::kBrowse).hasFocus()) << "the focus stays where it was";
}

TEST_F(CommandsTest, DeletingTheOnlySnapshotGoesBackToLivePictures) {
    StoreSnapshots(1);
    Click(View::kBrowse);
    EXPECT_TRUE(view_->IsBrowsing());
    EXPECT_EQ(document_.GetSnapshotIndex(), 0);
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
    EXPECT_EQ(document_.GetSnapshotIndex(), -1);
}

TEST_F(CommandsTest, NextAndPreviousWrapAroundAndAskBeforeLeavingAChange) {
    StoreSnapshots(3);
    Click(View::kBrowse);
    Click(View::kPrevious);
    EXPECT_EQ(document_.GetSnapshotIndex(), 2);
    Click(View::kNext);
    EXPECT_EQ(document_.GetSnapshotIndex(), 0);

    document_.SetPaletteNumber(0);
    messages_.answers = {message_box::kIdYes};
    Click(View::kNext);
    EXPECT_EQ(messages_.TakeIds(), std::vector<int>{129});
    EXPECT_EQ(document_.GetSnapshotIndex(), 1);
    EXPECT_EQ(ReadArchive(SnapshotFile(Snapshots()[0])).paletteNumber, 0);
    EXPECT_EQ(ReadArchive(SnapshotFile(Snapshots()[1])).paletteNumber, 1);
    EXPECT_TRUE(view_->hasFocus());
}

TEST_F(CommandsTest, LiveAfterAChangeAsksAndThenRestoresTheLiveSettings) {
    StoreSnapshots(1);
    document_.SetPaletteNumber(2);  // a live setting, saved when browsing begins
    Click(View::kBrowse);
    EXPECT_EQ(document_.GetPaletteNumber(), 1) << "the snapshot's palette";
    document_.SetPaletteNumber(0);
    messages_.answers = {message_box::kIdNo};
    Click(View::kLive);
    EXPECT_EQ(messages_.TakeIds(), std::vector<int>{129});
    EXPECT_EQ(ReadArchive(SnapshotFile(Snapshots()[0])).paletteNumber, 1) << "answered No";
    EXPECT_TRUE(LiveRowShown());
    EXPECT_EQ(document_.GetPaletteNumber(), 2);
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

TEST_F(CommandsTest, SettingsWhileBrowsingKeepThePicturesStopped) {
    StoreSnapshots(1);
    Click(View::kBrowse);
    RunSettings([](SettingsDialog& dialog) {
        EXPECT_TRUE(dialog.Browsing());
        EXPECT_FALSE(
            Driver::Control<QCheckBox>(dialog, SettingsDialog::kAutoSpanAllowed).isEnabled());
        Driver::Control<QComboBox>(dialog, SettingsDialog::kUnit).setCurrentIndex(1);
        Driver::Press(dialog, QDialogButtonBox::Ok);
    });
    EXPECT_FALSE(document_.IsLive());
    EXPECT_EQ(document_.GetSnapshotIndex(), 0);
    EXPECT_TRUE(view_->IsBrowsing());
    EXPECT_TRUE(Shown(View::kDelete));
    EXPECT_EQ(document_.GetTemperatureUnit(), 1);
    EXPECT_TRUE(document_.IsSnapshotModified());
    EXPECT_EQ(view_->ThermalImage().Unit(), 1);
    EXPECT_EQ(frame_.focusWidget(), view_);
}

TEST_F(CommandsTest, SettingsListChoiceAppliesEvenWhenCancelledAndLivePicturesResume) {
    RunSettings([this](SettingsDialog& dialog) {
        EXPECT_FALSE(dialog.Browsing());
        EXPECT_FALSE(document_.IsLive()) << "stopped while the dialog is open";
        Driver::Control<QComboBox>(dialog, SettingsDialog::kPalette).setCurrentIndex(0);
        Driver::Control<QLineEdit>(dialog, SettingsDialog::kNote).setText("typed");
        Driver::Press(dialog, QDialogButtonBox::Cancel);
    });
    EXPECT_EQ(document_.GetPaletteNumber(), 0);
    EXPECT_EQ(view_->ThermalImage().PaletteNumber(), 0);
    EXPECT_EQ(view_->ColourScale().PaletteNumber(), 0);
    EXPECT_EQ(document_.GetSnapshotNote(), "") << "texts only on OK";
    EXPECT_TRUE(document_.IsLive());
    EXPECT_TRUE(LiveRowShown());
}

TEST_F(CommandsTest, SettingsBackgroundTemperatureIsWrittenBackInTenths) {
    document_.SetBackgroundTemperature(214);
    RunSettings([](SettingsDialog& dialog) {
        auto& entry = Driver::Control<QLineEdit>(dialog, SettingsDialog::kBackground);
        EXPECT_EQ(entry.text(), "21.4");
        entry.setText("21.0");
        Driver::Press(dialog, QDialogButtonBox::Ok);
    });
    EXPECT_EQ(document_.GetBackgroundTemperature(), 210);
    EXPECT_EQ(view_->ThermalImage().BackgroundTemperature(), 210);

    RunSettings([](SettingsDialog& dialog) {
        Driver::Control<QLineEdit>(dialog, SettingsDialog::kBackground).setText("21.4");
        Driver::Press(dialog, QDialogButtonBox::Ok);
    });
    EXPECT_EQ(document_.GetBackgroundTemperature(), 214);
}

TEST_F(CommandsTest, SettingsAcceptedUnchangedChangeNothing) {
    // -19.8 is one of the values whose shown text reads back as a different single-
    // precision number than the document's value times 0.1.
    document_.SetBackgroundTemperature(-198);
    document_.SetEmissivity(0.6f);  // shown as the item of 0.65
    for (int pass = 0; pass < 3; ++pass) {
        RunSettings([](SettingsDialog& dialog) { Driver::Press(dialog, QDialogButtonBox::Ok); });
    }
    EXPECT_EQ(document_.GetBackgroundTemperature(), -198);
    EXPECT_FLOAT_EQ(document_.GetEmissivity(), 0.6f);

    // Nor does a shown snapshot count as changed.
    StoreSnapshots(1);
    Click(View::kBrowse);
    RunSettings([](SettingsDialog& dialog) { Driver::Press(dialog, QDialogButtonBox::Ok); });
    EXPECT_FALSE(document_.IsSnapshotModified());
}

TEST_F(CommandsTest, OutOfRangeBackgroundTemperatureKeepsTheDialogOpen) {
    document_.SetBackgroundTemperature(150);
    RunSettings([this](SettingsDialog& dialog) {
        auto& entry = Driver::Control<QLineEdit>(dialog, SettingsDialog::kBackground);
        Driver::Control<QLineEdit>(dialog, SettingsDialog::kNote).setText("kiln");
        for (const char* text : {"-20.1", "200.1"}) {
            entry.setText(text);
            Driver::Press(dialog, QDialogButtonBox::Ok);
            EXPECT_TRUE(dialog.isVisible()) << text;
            EXPECT_EQ(messages_.TakeIds(), std::vector<int>{147}) << text;
        }
        Driver::Press(dialog, QDialogButtonBox::Cancel);
    });
    EXPECT_EQ(document_.GetBackgroundTemperature(), 150);
    EXPECT_EQ(document_.GetSnapshotNote(), "kiln") << "read before the range check";
}

TEST_F(CommandsTest, SettingsSwitchAutoSpanAndFitSpanAndTheViewModes) {
    RunSettings([](SettingsDialog& dialog) {
        Driver::Control<QCheckBox>(dialog, SettingsDialog::kAutoSpanAllowed).click();
        Driver::Control<QCheckBox>(dialog, SettingsDialog::kInterpolated).click();
        Driver::Control<QCheckBox>(dialog, SettingsDialog::kSecondSpot).click();
        Driver::Control<QComboBox>(dialog, SettingsDialog::kIntegration).setCurrentIndex(4);
        Driver::Control<QComboBox>(dialog, SettingsDialog::kEmissivity).setCurrentIndex(3);
        Driver::Press(dialog, QDialogButtonBox::Ok);
    });
    EXPECT_FALSE(document_.IsAutoSpanAllowed());
    EXPECT_TRUE(Shown(View::kFitSpan));
    EXPECT_FALSE(Shown(View::kAutoSpan));
    EXPECT_FALSE(view_->GetInterpolatedMode());
    EXPECT_FALSE(view_->ThermalImage().Interpolated());
    EXPECT_FALSE(document_.IsSecondSpotShown());
    EXPECT_FALSE(view_->ThermalImage().SecondMarkerShown());
    EXPECT_EQ(document_.GetIntegrationCount(), 5);
    EXPECT_FLOAT_EQ(document_.GetEmissivity(), 0.85f);

    // Fit span takes the span from the picture, a uniform empty one here.
    Click(View::kFitSpan);
    EXPECT_EQ(document_.GetSpanLow(), document_.GetSpanHigh());
    EXPECT_EQ(view_->RangeBar().SpanLow(), document_.GetSpanLow());

    RunSettings([](SettingsDialog& dialog) {
        Driver::Control<QCheckBox>(dialog, SettingsDialog::kAutoSpanAllowed).click();
        Driver::Press(dialog, QDialogButtonBox::Ok);
    });
    EXPECT_TRUE(Shown(View::kAutoSpan));
    EXPECT_FALSE(Shown(View::kFitSpan));
}

TEST(SettingsCommandTenths, EveryShownValueComesBackAsItsOwnTenths) {
    for (int tenths = -200; tenths <= 2000; ++tenths) {
        char text[16];
        std::snprintf(text, sizeof text, "%.1f", static_cast<double>(tenths * 0.1f));
        const auto typed = static_cast<float>(SettingsDialog::ParseLeadingNumber(text));
        ASSERT_EQ(SettingsCommand::TenthsFromDegrees(typed), tenths) << text;
    }
    // More decimals are cut off toward zero.
    EXPECT_EQ(SettingsCommand::TenthsFromDegrees(21.45f), 214);
    EXPECT_EQ(SettingsCommand::TenthsFromDegrees(-1.25f), -12);
    EXPECT_EQ(SettingsCommand::TenthsFromDegrees(0.1999f), 1);
    EXPECT_EQ(SettingsCommand::TenthsFromDegrees(-0.05f), 0);
    EXPECT_EQ(SettingsCommand::TenthsFromDegrees(1.0e9f), 32767);
}

// --- span and keys -----------------------------------------------------------------------

TEST_F(CommandsTest, AutoSpanToggleSwitchesAutomaticSpanAndItsIcon) {
    view_->SetSelectionMode(View::kSpan);
    icons_.requested.clear();
    Click(View::kAutoSpan);  // released
    EXPECT_FALSE(document_.IsAutoSpanOn());
    EXPECT_EQ(view_->GetSelectionMode(), View::kSpan);
    EXPECT_EQ(icons_.requested, std::vector<int>{151});

    Click(View::kAutoSpan);  // pressed again
    EXPECT_TRUE(document_.IsAutoSpanOn());
    EXPECT_EQ(view_->GetSelectionMode(), View::kSpot1);
    EXPECT_EQ(view_->ThermalImage().SelectionMode(), View::kSpot1);
    EXPECT_EQ(view_->RangeBar().SelectionMode(), View::kSpot1);
    EXPECT_EQ(icons_.requested.back(), 152);
    EXPECT_TRUE(view_->hasFocus());
}

TEST_F(CommandsTest, KeyEquivalentCommandsActLikeTheKeys) {
    document_.SetAutoSpanOn(false);
    ViewCommands& commands = view_->Commands();
    for (View::Selection expected : {View::kSpot2, View::kSpan, View::kSpot1}) {
        EXPECT_TRUE(commands.OnCommand(ViewCommands::kKeyReturn));
        EXPECT_EQ(view_->GetSelectionMode(), expected);
        EXPECT_EQ(view_->RangeBar().SelectionMode(), expected);
    }
    commands.OnCommand(ViewCommands::kKeyLeft);
    commands.OnCommand(ViewCommands::kKeyUp);
    EXPECT_EQ(document_.GetSpotPosition(0), 135 - 1 - 16);
    commands.OnCommand(ViewCommands::kKeyRight);
    commands.OnCommand(ViewCommands::kKeyDown);
    EXPECT_EQ(document_.GetSpotPosition(0), 135);
    EXPECT_FALSE(commands.OnCommand(107));
    EXPECT_FALSE(commands.OnCommand(116)) << "the prompt sends no command";
}

TEST_F(CommandsTest, AltArrowsAndTheKeypadSendTheKeyCommandsFromAnywhereInTheWindow) {
    Button(View::kBrowse).setFocus();
    ASSERT_TRUE(Button(View::kBrowse).hasFocus());
    PressKey(Button(View::kBrowse), Qt::Key_Left, Qt::AltModifier);
    EXPECT_EQ(document_.GetSpotPosition(0), 134);
    EXPECT_TRUE(view_->hasFocus());

    PressKey(*view_, Qt::Key_8, Qt::KeypadModifier);
    EXPECT_EQ(document_.GetSpotPosition(0), 118);
    PressKey(*view_, Qt::Key_6, Qt::KeypadModifier);
    PressKey(*view_, Qt::Key_2, Qt::KeypadModifier);
    EXPECT_EQ(document_.GetSpotPosition(0), 135);
    PressKey(*view_, Qt::Key_5, Qt::KeypadModifier);
    EXPECT_EQ(view_->GetSelectionMode(), View::kSpot2);
    PressKey(*view_, Qt::Key_Return, Qt::AltModifier);
    EXPECT_EQ(view_->GetSelectionMode(), View::kSpot1) << "span skipped under automatic span";
    PressKey(*view_, Qt::Key_Down, Qt::AltModifier);
    PressKey(*view_, Qt::Key_4, Qt::KeypadModifier);
    EXPECT_EQ(document_.GetSpotPosition(0), 150);
}

// --- file errors ---------------------------------------------------------------------------

TEST_F(CommandsTest, SaveThatCannotWriteReportsTheFileAndKeepsThePictureHeld) {
    document_.SetSnapshotFolder("\\Missing\\");
    Click(View::kHold);
    Click(View::kSave);
    ASSERT_EQ(messages_.shown.size(), 1u);
    const std::string expected =
        "Could not open or create the file\n" +
        device_root::Map("\\Missing\\Snapshot 0 3-11-2006 09-05.snp").string() +
        "\nNo such file or directory";
    EXPECT_EQ(messages_.shown[0].text, expected);
    EXPECT_EQ(messages_.shown[0].style, message_box::kOk | message_box::kIconError);
    EXPECT_FALSE(document_.IsLive());
    EXPECT_TRUE(Shown(View::kSave) && Shown(View::kDiscard)) << "save again or discard";
    EXPECT_FALSE(Shown(View::kHold));

    document_.SetSnapshotFolder("\\My Documents\\Snapshots\\");
    Click(View::kSave);
    EXPECT_EQ(Snapshots().size(), 1u);
    EXPECT_TRUE(document_.IsLive());
    EXPECT_TRUE(LiveRowShown());
}

TEST_F(CommandsTest, HoldThatCannotSaveTheSettingsKeepsLivePictures) {
    fs::create_directories(root_.SettingsFile());  // a folder where the file belongs
    Click(View::kHold);
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].text.rfind(
                  "Could not write the file\n" + root_.SettingsFile().string() + "\n", 0),
              0u)
        << messages_.shown[0].text;
    EXPECT_TRUE(document_.IsLive());
    EXPECT_TRUE(LiveRowShown());
}

TEST(FileErrorReportText, NamesWhatFailedTheFileAndTheReason) {
    EXPECT_EQ(file_error_report::Text(
                  FileError("/a/b.snp", FileError::Reason::kReadFailed, "Input/output error")),
              "Could not read the file\n/a/b.snp\nInput/output error");
    EXPECT_EQ(file_error_report::Text(FileError("/a/b.snp", FileError::Reason::kWriteFailed, "")),
              "Could not write the file\n/a/b.snp");
}

}  // namespace
