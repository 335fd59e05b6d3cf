#include "ui/settings_command.h"

#include <algorithm>
#include <cmath>

#include "document/imager_document.h"
#include "ui/imager_view.h"
#include "ui/settings_dialog.h"

namespace {

// Degrees to tenths goes through ten-thousandths of a degree.
constexpr double kTenThousandths = 10000.0;
constexpr long kTenThousandthsPerTenth = 1000;
// The degrees whose tenths fit a signed 16-bit value.
constexpr float kLowestDegrees = -3276.8f;
constexpr float kHighestDegrees = 3276.7f;

}  // namespace

SettingsCommand::SettingsCommand(ImagerView& view) : view_(view) {}

void SettingsCommand::Run() {
    ImagerDocument& document = view_.GetDocument();
    // No frame may change the document while the dialog is open.
    document.Freeze(false);
    const bool browsing = !view_.ButtonAt(ImagerView::kDelete).isHidden();

    const ImagerView::Services& services = view_.GetServices();
    SettingsDialog dialog(
        &view_, browsing,
        SettingsDialog::Resources{services.settingsTemplate, services.folderTemplate,
                                  &services.strings, &services.messages});
    Fill(dialog);
    dialog.DoModal();
    WriteBackPicture(dialog);
    WriteBackAcquisition(dialog);
    if (!browsing) {
        document.ReturnToLive(false);
    }
}

void SettingsCommand::Fill(SettingsDialog& dialog) const {
    const ImagerDocument& document = view_.GetDocument();
    dialog.interpolated = view_.InterpolatedMode() ? 1 : 0;
    dialog.secondSpotShown = document.IsSecondSpotShown() ? 1 : 0;
    dialog.paletteNumber = document.PaletteNumber();
    dialog.temperatureUnit = document.TemperatureUnit();
    dialog.emissivity = document.Emissivity();
    dialog.snapshotNote = document.SnapshotNote();
    dialog.backgroundTemperature = static_cast<float>(document.BackgroundTemperature()) * 0.1f;
    dialog.snapshotFolder = document.SnapshotFolder();
    dialog.integrationCount = document.IntegrationCount();
    dialog.autoSpanAllowed = document.IsAutoSpanAllowed() ? 1 : 0;
    dialog.rangeNumber = document.CurrentRangeNumber();
    dialog.rangeDescriptions = document.RangeDescriptions();
}

void SettingsCommand::WriteBackPicture(const SettingsDialog& dialog) {
    ImagerDocument& document = view_.GetDocument();
    if ((dialog.interpolated != 0) != view_.InterpolatedMode()) {
        view_.SetInterpolatedMode(dialog.interpolated != 0);
    }
    if ((dialog.secondSpotShown != 0) != document.IsSecondSpotShown()) {
        document.SetSecondSpotShown(dialog.secondSpotShown != 0);
    }
    if (dialog.paletteNumber != document.PaletteNumber()) {
        document.SetPaletteNumber(dialog.paletteNumber);
    }
    if (dialog.temperatureUnit != document.TemperatureUnit()) {
        document.SetTemperatureUnit(dialog.temperatureUnit);
    }
    if (dialog.emissivity != document.Emissivity()) {
        document.SetEmissivity(dialog.emissivity);
    }
    if (dialog.snapshotNote != document.SnapshotNote()) {
        document.SetSnapshotNote(dialog.snapshotNote);
    }
    // Compared in tenths, so that a value shown and accepted unchanged is not
    // written back as a different one.
    if (const std::int16_t tenths = TenthsFromDegrees(dialog.backgroundTemperature);
        tenths != document.BackgroundTemperature()) {
        document.SetBackgroundTemperature(tenths);
    }
}

void SettingsCommand::WriteBackAcquisition(const SettingsDialog& dialog) {
    ImagerDocument& document = view_.GetDocument();
    if (dialog.snapshotFolder != document.SnapshotFolder()) {
        document.SetSnapshotFolder(dialog.snapshotFolder);
    }
    if (dialog.integrationCount != document.IntegrationCount()) {
        document.SetIntegrationCount(dialog.integrationCount);
    }
    if ((dialog.autoSpanAllowed != 0) != document.IsAutoSpanAllowed()) {
        document.SetAutoSpanAllowed(dialog.autoSpanAllowed != 0);
        view_.ShowAutoOrFitSpan();
    }
    if (dialog.rangeNumber != document.CurrentRangeNumber()) {
        document.SelectRange(dialog.rangeNumber);
    }
}

std::int16_t SettingsCommand::TenthsFromDegrees(float degrees) {
    if (std::isnan(degrees)) {
        return 0;
    }
    const double bounded = std::clamp(degrees, kLowestDegrees, kHighestDegrees);
    // Integer division truncates toward zero.
    return static_cast<std::int16_t>(std::lround(bounded * kTenThousandths) /
                                     kTenThousandthsPerTenth);
}
