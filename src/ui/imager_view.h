#pragma once

#include <QByteArray>
#include <QLabel>
#include <QWidget>
#include <array>
#include <atomic>
#include <cstdint>

#include "display/display_state.h"
#include "display/qt/battery_gauge_control.h"
#include "display/qt/colour_scale_control.h"
#include "display/qt/range_bar_control.h"
#include "display/qt/thermal_image_control.h"
#include "document/document_view.h"
#include "palette/palette_set.h"
#include "ui/button_row.h"
#include "ui/image_button.h"
#include "ui/view_commands.h"

class FileChooser;
class ImagerDocument;
class IconResources;
class MessageBoxService;
class StringResources;
class UpdateNotifier;

// The one view of the document, 240 x 268 pixels: the thermal picture, colour scale,
// range bar and battery gauge, and the bottom row of buttons in one of three layouts
// (live, held, browsing). It pushes the document's state into the controls for each
// update flag and turns the arrow keys and Return into spot and span moves; its
// ViewCommands carry out the buttons' commands.
class ImagerView : public QWidget, public DocumentView {
    Q_OBJECT

  public:
    // The buttons of the bottom row.
    using Button = ButtonRow::Button;
    using enum ButtonRow::Button;

    // What the arrow keys move.
    using Selection = DisplayState::Selection;
    using enum DisplayState::Selection;

    // The keys HandleKey understands.
    using Key = ViewKey;

    static constexpr int kWidth = 240;
    static constexpr int kHeight = 268;
    static const QColor kBackground;

    // What the view uses besides the document; all must outlive the view.
    struct Services {
        const StringResources& strings;  // captions and the controls' texts
        const IconResources& icons;      // button and battery icons
        MessageBoxService& messages;
        UpdateNotifier& notifier;  // update notifications to the user-interface thread
        // The settings and folder dialog templates of the language bundle; without them
        // the dialogs show only their OK and Cancel buttons.
        QByteArray settingsTemplate = {};
        QByteArray folderTemplate = {};
        // Picks the file of the open command; without one the command does nothing.
        FileChooser* files = nullptr;
    };

    // Attaches itself to `document`.
    ImagerView(ImagerDocument& document, const Services& services, QWidget* parent = nullptr);
    ~ImagerView() override;
    ImagerView(const ImagerView&) = delete;
    ImagerView& operator=(const ImagerView&) = delete;

    ImagerDocument& GetDocument() const { return document_; }
    const Services& GetServices() const { return services_; }
    ViewCommands& Commands() { return commands_; }
    // The control id of a button, which is also the id of its command.
    static int ControlId(Button which);

    // Creates and initialises every child window; then the live row is shown.
    void CreateScreen();
    bool IsInitialised() const { return initialised_.load(); }

    // DocumentView.
    void ShowChanges(std::uint32_t hint) override;
    bool InterpolatedMode() const override { return interpolated_; }
    void SetInterpolatedMode(bool on) override;
    bool EdgeRepairFlag() const override;
    void SetEdgeRepairFlag(bool on) override;
    // From the acquisition thread: stores the flag unless snapshots are being browsed.
    void SetEdgeRepaired(bool repaired) override;

    // Arrow keys move the selected spot or the span; Return selects the next of them.
    void HandleKey(Key key);
    Selection GetSelectionMode() const { return state_.selection; }
    // Selects what the arrow keys move and tells the picture and the range bar.
    void SetSelectionMode(Selection mode);

    // The three layouts of the bottom row.
    void ShowLiveRow();
    void ShowHeldRow();
    void ShowBrowsingRow();
    // Shows Auto span or Fit span, as the document allows automatic span or not.
    void ShowAutoOrFitSpan();
    // Snapshots are being browsed: the browsing row is shown.
    bool IsBrowsing() const { return browsing_.load(); }

    ImageButton& ButtonAt(Button which) { return buttons_.At(which); }
    QLabel& Prompt() { return buttons_.Prompt(); }
    ThermalImageControl& ThermalImage() { return thermalImage_; }
    ColourScaleControl& ColourScale() { return colourScale_; }
    RangeBarControl& RangeBar() { return rangeBar_; }
    BatteryGaugeControl& BatteryGauge() { return batteryGauge_; }

  signals:
    // The controls have taken the changes of `hint` (companions of the screen follow it).
    void ChangesShown(std::uint32_t hint);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void MoveSpan(Key key);
    // Return: selects the next of spot 1, spot 2 and span that the arrows may move.
    void SelectNext();
    void CreateDisplayControls();
    void InitialiseDisplayControls();

    // Hands state_ to the three value controls.
    void ShowState();
    void UpdateFrame();
    void UpdateSpots();
    void UpdateSpan();
    void UpdateCorrections();
    void UpdateUnit();
    void UpdatePalette();
    void UpdateSecondSpot();
    void UpdateBlink();
    void UpdateSnapshotStatus();
    void UpdateRangeLimits();

    ImagerDocument& document_;
    Services services_;

    PaletteSet palettes_;
    ThermalImageControl thermalImage_;
    ColourScaleControl colourScale_;
    RangeBarControl rangeBar_;
    BatteryGaugeControl batteryGauge_;
    ButtonRow buttons_;
    // What the three value controls show, kept here and handed to each of them.
    DisplayState state_;
    bool interpolated_ = true;
    // Read by the acquisition thread (SetEdgeRepaired), written here.
    std::atomic<bool> browsing_{false};
    std::atomic<bool> initialised_{false};
    ViewCommands commands_{*this};
};
