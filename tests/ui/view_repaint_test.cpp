// The view repaints only the controls whose inputs changed, and a view brought to a
// state by a series of updates shows exactly the pixels of a view that starts there.

#include <gtest/gtest.h>

#include <QImage>
#include <filesystem>
#include <fstream>
#include <mutex>

#include "display/widget_test_support.h"
#include "document/imager_document.h"
#include "document/update_flags.h"
#include "ui/imager_view.h"
#include "ui/view_fixture.h"

namespace {

using namespace imager_test;

const std::map<int, std::string> kStrings{
    {130, "Hold"}, {131, "Span"},     {132, "Setup"}, {133, "Browse"}, {134, "Exit"}, {149, "S1 "},
    {150, "S2 "},  {151, "\xC2\xB0"}, {153, "K"},     {155, "%"},      {156, "AC"}};

class ViewRepaintTest : public ViewFixture {
  protected:
    ViewRepaintTest() : ViewFixture(kStrings) {
        view_.CreateScreen();
        WritePower(57);
        view_.BatteryGauge().SetPowerStatus(PowerStatus(Supply()));
    }

    std::filesystem::path Supply() const { return root_.Home() / "power"; }
    void WritePower(int percent) {
        const std::filesystem::path battery = Supply() / "BAT0";
        std::filesystem::create_directories(battery);
        std::ofstream(battery / "type") << "Battery\n";
        std::ofstream(battery / "capacity") << percent << '\n';
        std::ofstream(battery / "status") << "Discharging\n";
        std::ofstream(battery / "capacity_level") << "Normal\n";
    }
    // A frame with a warm diagonal, shifted by `shift`.
    void PutFrame(int shift) {
        auto& shared = document_.SharedPicture();
        std::lock_guard lock(shared.mutex);
        for (int k = 0; k < kFramePixels; ++k) {
            const bool warm = (k / kFrameSide + shift) % kFrameSide == k % kFrameSide;
            shared.displayFrame[static_cast<std::size_t>(k)] =
                static_cast<std::uint16_t>(warm ? 3050 + shift : 2900 + k % 37);
        }
    }
};

TEST_F(ViewRepaintTest, NewFrameRepaintsOnlyThePicture) {
    view_.show();
    view_.ShowChanges(update_flag::kBattery);
    ProcessPendingEvents();
    PaintCounter picture(view_.ThermalImage());
    PaintCounter scale(view_.ColourScale());
    PaintCounter rangeBar(view_.RangeBar());
    PaintCounter gauge(view_.BatteryGauge());

    PutFrame(3);
    // The span hint comes with every followed frame, here with an unchanged span.
    view_.ShowChanges(update_flag::kFrame | update_flag::kSpan | update_flag::kBattery);
    ProcessPendingEvents();
    EXPECT_GE(picture.Count(), 1);
    EXPECT_EQ(scale.Count(), 0);
    EXPECT_EQ(rangeBar.Count(), 0);
    EXPECT_EQ(gauge.Count(), 0);

    // A span that really changed reaches both span controls, and a new reading the gauge.
    document_.ShiftSpanUp();
    WritePower(56);
    view_.ShowChanges(update_flag::kSpan | update_flag::kBattery);
    ProcessPendingEvents();
    EXPECT_GE(scale.Count(), 1);
    EXPECT_GE(rangeBar.Count(), 1);
    EXPECT_GE(gauge.Count(), 1);
    view_.hide();
}

TEST_F(ViewRepaintTest, SpotMoveLeavesTheSpanControlsAlone) {
    view_.show();
    ProcessPendingEvents();
    PaintCounter picture(view_.ThermalImage());
    PaintCounter scale(view_.ColourScale());
    PaintCounter rangeBar(view_.RangeBar());
    document_.MoveSpot(0, SpotDirection::kRight);
    view_.ShowChanges(update_flag::kSpots);
    ProcessPendingEvents();
    EXPECT_GE(picture.Count(), 1);
    EXPECT_EQ(scale.Count(), 0);
    EXPECT_EQ(rangeBar.Count(), 0);
    view_.hide();
}

TEST_F(ViewRepaintTest, UpdatesEndInThePixelsOfAViewThatStartsThere) {
    // Each step is painted, so that every cache holds an intermediate state.
    auto step = [this](std::uint32_t hint) {
        view_.ShowChanges(hint);
        Rendered(view_);
    };
    step(update_flag::kBattery);
    PutFrame(1);
    step(update_flag::kFrame);
    document_.ShiftSpanUp();
    document_.WidenSpan();
    step(update_flag::kSpan);
    document_.SetTemperatureUnit(1);
    step(update_flag::kUnit);
    document_.SetPaletteNumber(2);
    step(update_flag::kPalette);
    document_.MoveSpot(0, SpotDirection::kDown);
    document_.MoveSpot(1, SpotDirection::kLeft);
    step(update_flag::kSpots);
    view_.SetSelectionMode(ImagerView::kSpot2);
    Rendered(view_);
    step(update_flag::kBlink);
    step(update_flag::kBlink);
    view_.SetSelectionMode(ImagerView::kSpan);
    Rendered(view_);
    WritePower(23);
    step(update_flag::kBattery);
    PutFrame(5);
    step(update_flag::kFrame);

    ImagerView fresh(document_, {strings_, icons_, messages_, notifier_});
    fresh.CreateScreen();
    fresh.SetSelectionMode(ImagerView::kSpan);
    fresh.BatteryGauge().SetPowerStatus(PowerStatus(Supply()));
    fresh.ShowChanges(update_flag::kBattery);
    EXPECT_TRUE(Rendered(view_) == Rendered(fresh));
}

}  // namespace
