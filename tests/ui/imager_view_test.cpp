#include "ui/imager_view.h"
#include "support/started_document.h"

#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QMainWindow>
#include <fstream>

#include "document/imager_document.h"
#include "document/update_flags.h"
#include "platform/device_root.h"
#include "ui/imager_test_support.h"
#include "ui/view_fixture.h"

namespace {

using namespace imager_test;
using View = ImagerView;

const std::map<int, std::string> kStrings{
    {130, "Hold"}, {131, "Span"}, {132, "Setup"},   {133, "Browse"},
    {134, "Exit"}, {135, "Prev"}, {136, "Next"},    {137, "Delete"},
    {138, "Live"}, {139, "Save"}, {140, "Discard"}, {141, "Picture held: save or discard?"},
    {149, "S1 "},  {150, "S2 "}};

class ViewTest : public ViewFixture {
  protected:
    ViewTest() : ViewFixture(kStrings) {}
    void SetUp() override { view_.CreateScreen(); }

    bool Shown(View::Button button) { return !view_.ButtonAt(button).isHidden(); }

    void PressKey(int qtKey) {
        QKeyEvent press(QEvent::KeyPress, qtKey, Qt::NoModifier);
        QCoreApplication::sendEvent(&view_, &press);
    }

    // Makes one snapshot file and shows it, as browsing does.
    void BrowseOneSnapshot() {
        document_.SaveNewSnapshot();
        document_.BeginBrowsing();
        view_.ShowBrowsingRow();
    }
};

TEST_F(ViewTest, InitialUpdateGivesTheButtonsCaptionsIconsAndTheToggle) {
    EXPECT_EQ(view_.ButtonAt(View::kHold).text(), "Hold");
    EXPECT_EQ(view_.ButtonAt(View::kAutoSpan).text(), "Span");
    EXPECT_EQ(view_.ButtonAt(View::kFitSpan).text(), "Span");
    EXPECT_EQ(view_.ButtonAt(View::kDiscard).text(), "Discard");
    EXPECT_EQ(view_.Prompt().text(), "Picture held: save or discard?");
    for (int b = 0; b < View::kButtonCount; ++b) {
        ImageButton& button = view_.ButtonAt(static_cast<View::Button>(b));
        const bool textOnly = b == View::kSave || b == View::kDiscard;
        EXPECT_EQ(button.HasIcon(), !textOnly) << b;
        EXPECT_EQ(button.GetAlignment(), textOnly ? 0 : 1) << b;
        EXPECT_FALSE(button.IsFlat()) << b;
        EXPECT_EQ(button.IsToggle(), b == View::kAutoSpan) << b;
    }
    EXPECT_EQ(view_.ButtonAt(View::kAutoSpan).GetCheck(), 1);
}

TEST_F(ViewTest, InitialUpdateCopiesTheDocumentIntoTheControls) {
    const ThermalImageControl& image = view_.ThermalImage();
    EXPECT_EQ(image.PaletteNumber(), 1);
    EXPECT_EQ(image.SpanLow(), 2930);
    EXPECT_EQ(image.SpanHigh(), 3130);
    EXPECT_EQ(image.MarkerPosition(0), 135);
    EXPECT_EQ(image.MarkerPosition(1), 136);
    EXPECT_EQ(image.SelectionMode(), 0);
    EXPECT_TRUE(image.Interpolated());
    EXPECT_EQ(image.BackgroundTemperature(), 200);
    EXPECT_EQ(view_.ColourScale().SpanHigh(), 3130);
    EXPECT_EQ(view_.RangeBar().SelectionMode(), 0);
    EXPECT_EQ(view_.RangeBar().RangeLow(), document_.RangeLow());
}

TEST_F(ViewTest, HintZeroChangesNothing) {
    document_.SetPaletteNumber(2);
    document_.SetTemperatureUnit(2);
    view_.ShowChanges(0);
    EXPECT_EQ(view_.ThermalImage().PaletteNumber(), 1);
    EXPECT_EQ(view_.ColourScale().Unit(), 0);
    // Bits above 1024 are ignored as well.
    view_.ShowChanges(2048 | 4096);
    EXPECT_EQ(view_.ThermalImage().PaletteNumber(), 1);
}

TEST_F(ViewTest, HintsPushTheDocumentStateIntoTheControls) {
    document_.SetPaletteNumber(2);
    document_.SetTemperatureUnit(2);
    document_.SetEmissivity(0.5f);
    document_.SetBackgroundTemperature(-30);
    view_.ShowChanges(update_flag::kAll);
    EXPECT_EQ(view_.ThermalImage().PaletteNumber(), 2);
    EXPECT_EQ(view_.ColourScale().PaletteNumber(), 2);
    for (TemperatureUnit unit :
         {view_.ThermalImage().Unit(), view_.ColourScale().Unit(), view_.RangeBar().Unit()}) {
        EXPECT_EQ(unit, 2);
    }
    EXPECT_FLOAT_EQ(view_.RangeBar().Emissivity(), 0.5f);
    EXPECT_FLOAT_EQ(view_.ColourScale().Emissivity(), 0.5f);
    EXPECT_EQ(view_.ThermalImage().BackgroundTemperature(), -30);
    EXPECT_EQ(view_.RangeBar().BackgroundTemperature(), -30);
}

// A port that cannot be opened: the next poll finds no head, and the head flag shows it.
TEST_F(ViewTest, HeadFlagShowsWhetherAHeadAnswers) {
    EXPECT_FALSE(view_.ThermalImage().HeadAbsent());
    EXPECT_FALSE(started_.Link().Open());  // no COM1 in the device root
    started_.Link().Poll();
    EXPECT_TRUE(document_.IsHeadAbsent());
    view_.ShowChanges(update_flag::kAll);
    EXPECT_FALSE(view_.ThermalImage().HeadAbsent());
    view_.ShowChanges(update_flag::kHead);
    EXPECT_TRUE(view_.ThermalImage().HeadAbsent());
}

TEST_F(ViewTest, SpanMovesReachAllThreeControls) {
    view_.SetSelectionMode(View::kSpan);
    view_.HandleKey(View::Key::kDown);  // narrows 2930..3130 to 2940..3120
    for (auto [low, high] :
         {std::pair(view_.ThermalImage().SpanLow(), view_.ThermalImage().SpanHigh()),
          std::pair(view_.ColourScale().SpanLow(), view_.ColourScale().SpanHigh()),
          std::pair(view_.RangeBar().SpanLow(), view_.RangeBar().SpanHigh())}) {
        EXPECT_EQ(low, 2940);
        EXPECT_EQ(high, 3120);
    }
}

TEST_F(ViewTest, HintTwoWithTheSecondSpotHiddenUpdatesMarkerOneOnly) {
    document_.SetSecondSpotShown(false);
    document_.MoveSpot(1, SpotDirection::kRight);  // spot 2: 136 -> 137, announces 2
    document_.MoveSpot(0, SpotDirection::kLeft);   // spot 1: 135 -> 134
    EXPECT_EQ(view_.ThermalImage().MarkerPosition(0), 134);
    EXPECT_EQ(view_.ThermalImage().MarkerPosition(1), 136);

    document_.SetSecondSpotShown(true);
    view_.ShowChanges(update_flag::kSpots);
    EXPECT_EQ(view_.ThermalImage().MarkerPosition(1), 137);
}

TEST_F(ViewTest, HidingTheSelectedSecondSpotMovesTheSelectionToTheSpan) {
    view_.HandleKey(View::Key::kReturn);
    ASSERT_EQ(view_.GetSelectionMode(), View::kSpot2);
    document_.SetSecondSpotShown(false);
    view_.ShowChanges(update_flag::kSecondSpot);
    EXPECT_EQ(view_.GetSelectionMode(), View::kSpan);
    EXPECT_EQ(view_.ThermalImage().SelectionMode(), 2);
    EXPECT_EQ(view_.RangeBar().SelectionMode(), 2);
    EXPECT_FALSE(view_.ThermalImage().SecondMarkerShown());

    // With marker 1 selected the selection stays.
    view_.SetSelectionMode(View::kSpot1);
    view_.ShowChanges(update_flag::kSecondSpot);
    EXPECT_EQ(view_.GetSelectionMode(), View::kSpot1);
}

TEST_F(ViewTest, BlinkGoesToTheRangeBarWhileTheSpanIsSelected) {
    const bool imageCursor = view_.ThermalImage().CursorVisible();
    const bool barCursor = view_.RangeBar().CursorVisible();
    view_.SetSelectionMode(View::kSpan);
    view_.ShowChanges(update_flag::kBlink);
    EXPECT_EQ(view_.RangeBar().CursorVisible(), !barCursor);
    EXPECT_EQ(view_.ThermalImage().CursorVisible(), imageCursor);

    for (View::Selection mode : {View::kSpot1, View::kSpot2}) {
        view_.SetSelectionMode(mode);
        const bool before = view_.ThermalImage().CursorVisible();
        view_.ShowChanges(update_flag::kBlink);
        EXPECT_EQ(view_.ThermalImage().CursorVisible(), !before) << mode;
        EXPECT_EQ(view_.RangeBar().CursorVisible(), !barCursor) << mode;
    }
}

TEST_F(ViewTest, SnapshotHintLeavesBrowsingWhenNoSnapshotIsLeft) {
    BrowseOneSnapshot();
    ASSERT_TRUE(view_.IsBrowsing());
    view_.ShowChanges(update_flag::kSnapshot);
    EXPECT_TRUE(view_.IsBrowsing()) << "a snapshot is still there";
    EXPECT_EQ(view_.ThermalImage().StatusIndex(), 0);
    EXPECT_EQ(view_.ButtonAt(View::kSettings).geometry(), QRect(121, 235, 38, 32));

    const auto folder = device_root::Map(document_.SnapshotFolder());
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        std::filesystem::remove(entry.path());
    }
    notifier_.TakeWasPosted(0);
    view_.ShowChanges(update_flag::kSnapshot);
    EXPECT_FALSE(view_.IsBrowsing());
    for (View::Button shown :
         {View::kHold, View::kAutoSpan, View::kSettings, View::kBrowse, View::kExit}) {
        EXPECT_TRUE(Shown(shown)) << shown;
    }
    for (View::Button hidden :
         {View::kPrevious, View::kNext, View::kDelete, View::kLive, View::kFitSpan}) {
        EXPECT_FALSE(Shown(hidden)) << hidden;
    }
    EXPECT_EQ(view_.ButtonAt(View::kSettings).geometry(), QRect(97, 235, 46, 32));
    EXPECT_EQ(view_.ButtonAt(View::kExit).geometry(), QRect(193, 235, 46, 32));
    EXPECT_EQ(document_.SnapshotIndex(), -1);
    EXPECT_TRUE(document_.IsLive());
    EXPECT_TRUE(notifier_.TakeWasPosted(update_flag::kSnapshot));
}

TEST_F(ViewTest, ReturnCyclesThroughBothMarkersAndTheSpan) {
    document_.SetAutoSpanOn(false);
    for (View::Selection expected : {View::kSpot2, View::kSpan, View::kSpot1}) {
        PressKey(Qt::Key_Return);
        EXPECT_EQ(view_.GetSelectionMode(), expected);
        EXPECT_EQ(view_.ThermalImage().SelectionMode(), expected);
        EXPECT_EQ(view_.RangeBar().SelectionMode(), expected);
    }
}

TEST_F(ViewTest, ReturnSkipsAHiddenSecondMarkerAndTheSpanUnderAutomaticSpan) {
    document_.SetSecondSpotShown(false);
    document_.SetAutoSpanOn(false);
    view_.HandleKey(View::Key::kReturn);
    EXPECT_EQ(view_.GetSelectionMode(), View::kSpan);

    view_.SetSelectionMode(View::kSpot1);
    document_.SetAutoSpanOn(true);
    view_.HandleKey(View::Key::kReturn);
    EXPECT_EQ(view_.GetSelectionMode(), View::kSpot1) << "automatic span, live picture";

    // Automatic span not allowed: the span can be selected.
    document_.SetAutoSpanAllowed(false);
    view_.HandleKey(View::Key::kReturn);
    EXPECT_EQ(view_.GetSelectionMode(), View::kSpan);
}

TEST_F(ViewTest, ReturnSelectsTheSpanOfAShownSnapshotDespiteAutomaticSpan) {
    BrowseOneSnapshot();
    ASSERT_TRUE(document_.IsAutoSpanOn() && document_.IsAutoSpanAllowed());
    view_.SetSelectionMode(View::kSpot2);
    view_.HandleKey(View::Key::kReturn);
    EXPECT_EQ(view_.GetSelectionMode(), View::kSpan);
}

TEST_F(ViewTest, ArrowKeysMoveTheSelectedMarkerOrTheSpan) {
    PressKey(Qt::Key_Left);
    EXPECT_EQ(document_.SpotPosition(0), 134);
    EXPECT_EQ(view_.ThermalImage().MarkerPosition(0), 134);
    PressKey(Qt::Key_Up);
    EXPECT_EQ(document_.SpotPosition(0), 118);

    view_.SetSelectionMode(View::kSpot2);
    PressKey(Qt::Key_Left);
    EXPECT_EQ(document_.SpotPosition(1), 135);
    EXPECT_EQ(document_.SpotPosition(0), 118);
    PressKey(Qt::Key_Down);
    EXPECT_EQ(document_.SpotPosition(1), 151);

    view_.SetSelectionMode(View::kSpan);
    const std::uint16_t low = document_.SpanLow();
    const std::uint16_t high = document_.SpanHigh();
    PressKey(Qt::Key_Right);
    PressKey(Qt::Key_Left);
    PressKey(Qt::Key_Left);
    EXPECT_EQ(document_.SpanLow(), low - 10) << "the span, not a marker";
    EXPECT_EQ(document_.SpanHigh(), high - 10);
    EXPECT_EQ(document_.SpotPosition(1), 151);
    PressKey(Qt::Key_Up);
    EXPECT_GT(document_.SpanHigh() - document_.SpanLow(), high - low);

    // Other keys do nothing.
    PressKey(Qt::Key_Space);
    PressKey(Qt::Key_F1);
    EXPECT_EQ(view_.GetSelectionMode(), View::kSpan);
}

TEST_F(ViewTest, EdgeRepairFromTheAcquisitionThreadIsIgnoredWhileBrowsing) {
    view_.SetEdgeRepaired(true);
    EXPECT_TRUE(view_.EdgeRepairFlag());
    view_.SetEdgeRepaired(false);
    EXPECT_FALSE(view_.EdgeRepairFlag());

    view_.SetEdgeRepairFlag(true);  // as a snapshot brought it
    view_.ShowBrowsingRow();
    view_.SetEdgeRepaired(false);
    EXPECT_TRUE(view_.EdgeRepairFlag());
    view_.ShowLiveRow();
    view_.SetEdgeRepaired(false);
    EXPECT_FALSE(view_.EdgeRepairFlag());
}

TEST_F(ViewTest, EdgeRepairBeforeTheInitialUpdateDoesNothing) {
    View fresh(document_, {strings_, icons_, messages_, notifier_});
    fresh.SetEdgeRepaired(true);
    EXPECT_FALSE(fresh.EdgeRepairFlag());
    fresh.ShowChanges(update_flag::kAll | update_flag::kBlink);
    EXPECT_EQ(fresh.ThermalImage().PaletteNumber(), 0) << "no control is touched";
}

TEST_F(ViewTest, HeldRowShowsSaveDiscardAndThePrompt) {
    view_.ShowHeldRow();
    for (View::Button hidden : {View::kHold, View::kSettings, View::kFitSpan, View::kAutoSpan,
                                View::kBrowse, View::kExit}) {
        EXPECT_FALSE(Shown(hidden)) << hidden;
    }
    EXPECT_TRUE(Shown(View::kSave));
    EXPECT_TRUE(Shown(View::kDiscard));
    EXPECT_FALSE(view_.Prompt().isHidden());
    // Back to live without automatic span: Fit span takes its place.
    document_.SetAutoSpanAllowed(false);
    view_.ShowLiveRow();
    EXPECT_TRUE(view_.Prompt().isHidden());
    EXPECT_FALSE(Shown(View::kSave));
    EXPECT_TRUE(Shown(View::kFitSpan));
    EXPECT_FALSE(Shown(View::kAutoSpan));
}

TEST_F(ViewTest, ExitButtonClosesTheMainWindow) {
    QMainWindow frame;
    view_.setParent(&frame);
    frame.setCentralWidget(&view_);
    frame.show();
    view_.ButtonAt(View::kExit).click();
    EXPECT_TRUE(frame.isVisible()) << "closed once control returns to the event loop";
    QCoreApplication::processEvents();
    EXPECT_FALSE(frame.isVisible());
    frame.takeCentralWidget();
    view_.setParent(nullptr);
}

TEST_F(ViewTest, BatteryHintRefreshesTheGauge) {
    const std::filesystem::path supply = root_.Home() / "power";
    std::filesystem::create_directories(supply / "BAT0");
    auto write = [](const std::filesystem::path& file, const char* text) {
        std::ofstream(file) << text << '\n';
    };
    write(supply / "BAT0" / "type", "Battery");
    write(supply / "BAT0" / "capacity", "57");
    write(supply / "BAT0" / "status", "Discharging");
    write(supply / "BAT0" / "capacity_level", "Normal");
    view_.BatteryGauge().SetPowerStatus(PowerStatus(supply));
    view_.ShowChanges(update_flag::kBattery);
    EXPECT_EQ(view_.BatteryGauge().Reading().percent, 57);
}

}  // namespace
