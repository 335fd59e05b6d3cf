// The settings command, the span buttons, the key-equivalent commands and file errors.
#include <gtest/gtest.h>

#include "ui/commands_fixture.h"

namespace {

using namespace commands_test;

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
    EXPECT_EQ(document_.SnapshotIndex(), 0);
    EXPECT_TRUE(view_->IsBrowsing());
    EXPECT_TRUE(Shown(View::kDelete));
    EXPECT_EQ(document_.TemperatureUnit(), 1);
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
    EXPECT_EQ(document_.PaletteNumber(), 0);
    EXPECT_EQ(view_->ThermalImage().PaletteNumber(), 0);
    EXPECT_EQ(view_->ColourScale().PaletteNumber(), 0);
    EXPECT_EQ(document_.SnapshotNote(), "") << "texts only on OK";
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
    EXPECT_EQ(document_.BackgroundTemperature(), 210);
    EXPECT_EQ(view_->ThermalImage().BackgroundTemperature(), 210);

    RunSettings([](SettingsDialog& dialog) {
        Driver::Control<QLineEdit>(dialog, SettingsDialog::kBackground).setText("21.4");
        Driver::Press(dialog, QDialogButtonBox::Ok);
    });
    EXPECT_EQ(document_.BackgroundTemperature(), 214);
}

TEST_F(CommandsTest, SettingsAcceptedUnchangedChangeNothing) {
    // -19.8 is one of the values whose shown text reads back as a different single-
    // precision number than the document's value times 0.1.
    document_.SetBackgroundTemperature(-198);
    document_.SetEmissivity(0.6f);  // shown as the item of 0.65
    for (int pass = 0; pass < 3; ++pass) {
        RunSettings([](SettingsDialog& dialog) { Driver::Press(dialog, QDialogButtonBox::Ok); });
    }
    EXPECT_EQ(document_.BackgroundTemperature(), -198);
    EXPECT_FLOAT_EQ(document_.Emissivity(), 0.6f);

    // Nor does a shown snapshot count as changed, even with a note longer than can be typed.
    const std::string longNote(40, 'n');
    document_.SetSnapshotNote(longNote);
    StoreSnapshots(1);
    Click(View::kBrowse);
    RunSettings([](SettingsDialog& dialog) { Driver::Press(dialog, QDialogButtonBox::Ok); });
    EXPECT_FALSE(document_.IsSnapshotModified());
    EXPECT_EQ(document_.SnapshotNote(), longNote);
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
    EXPECT_EQ(document_.BackgroundTemperature(), 150);
    EXPECT_EQ(document_.SnapshotNote(), "kiln") << "read before the range check";
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
    EXPECT_FALSE(view_->InterpolatedMode());
    EXPECT_FALSE(view_->ThermalImage().Interpolated());
    EXPECT_FALSE(document_.IsSecondSpotShown());
    EXPECT_FALSE(view_->ThermalImage().SecondMarkerShown());
    EXPECT_EQ(document_.IntegrationCount(), 5);
    EXPECT_FLOAT_EQ(document_.Emissivity(), 0.85f);

    // Fit span takes the span from the picture, a uniform empty one here.
    Click(View::kFitSpan);
    EXPECT_EQ(document_.SpanLow(), document_.SpanHigh());
    EXPECT_EQ(view_->RangeBar().SpanLow(), document_.SpanLow());

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
    EXPECT_EQ(document_.SpotPosition(0), 135 - 1 - 16);
    commands.OnCommand(ViewCommands::kKeyRight);
    commands.OnCommand(ViewCommands::kKeyDown);
    EXPECT_EQ(document_.SpotPosition(0), 135);
    EXPECT_FALSE(commands.OnCommand(107));
    EXPECT_FALSE(commands.OnCommand(116)) << "the prompt sends no command";
}

TEST_F(CommandsTest, AltArrowsAndTheKeypadSendTheKeyCommandsFromAnywhereInTheWindow) {
    Button(View::kBrowse).setFocus();
    ASSERT_TRUE(Button(View::kBrowse).hasFocus());
    PressKey(Button(View::kBrowse), Qt::Key_Left, Qt::AltModifier);
    EXPECT_EQ(document_.SpotPosition(0), 134);
    EXPECT_TRUE(view_->hasFocus());

    PressKey(*view_, Qt::Key_8, Qt::KeypadModifier);
    EXPECT_EQ(document_.SpotPosition(0), 118);
    PressKey(*view_, Qt::Key_6, Qt::KeypadModifier);
    PressKey(*view_, Qt::Key_2, Qt::KeypadModifier);
    EXPECT_EQ(document_.SpotPosition(0), 135);
    PressKey(*view_, Qt::Key_5, Qt::KeypadModifier);
    EXPECT_EQ(view_->GetSelectionMode(), View::kSpot2);
    PressKey(*view_, Qt::Key_Return, Qt::AltModifier);
    EXPECT_EQ(view_->GetSelectionMode(), View::kSpot1) << "span skipped under automatic span";
    PressKey(*view_, Qt::Key_Down, Qt::AltModifier);
    PressKey(*view_, Qt::Key_4, Qt::KeypadModifier);
    EXPECT_EQ(document_.SpotPosition(0), 150);
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
