#pragma once

#include <QImage>
#include <QWidget>
#include <cstdint>
#include <optional>

#include "display/display_state.h"
#include "display/qt/offscreen_dc.h"
#include "display/qt/paint_cache.h"
#include "display/qt/text_layout_cache.h"
#include "display/temperature_formatter.h"

class GdiPainter;
class RangeBarLayout;
class StringResources;

// The strip below the picture: the head range as a horizontal scale, lowest limit at
// the left end, with the display span as a raised box on it; the two limits and the
// span width above; a blinking red frame while the keys move the span. It repaints only
// when something it shows changed.
class RangeBarControl : public QWidget {
  public:
    explicit RangeBarControl(QWidget* parent = nullptr);
    ~RangeBarControl() override;

    // Source of the unit texts; null gives empty texts.
    void SetStringResources(const StringResources* strings);

    // Stores everything without repainting.
    void Initialise(std::int16_t rangeLow, std::int16_t rangeHigh, const DisplayState& state);
    void SetRangeLimits(std::int16_t rangeLow, std::int16_t rangeHigh);
    // The frame blinks while the span is selected.
    void SetState(const DisplayState& state);
    void ToggleCursor();

    std::int16_t RangeLow() const { return rangeLow_; }
    std::int16_t RangeHigh() const { return rangeHigh_; }
    const DisplayState& State() const { return state_; }
    std::int16_t SpanLow() const { return state_.spanLow; }
    std::int16_t SpanHigh() const { return state_.spanHigh; }
    TemperatureUnit Unit() const { return state_.unit; }
    float Emissivity() const { return state_.emissivity; }
    std::int16_t BackgroundTemperature() const { return state_.background; }
    DisplayState::Selection SelectionMode() const { return state_.selection; }
    bool CursorVisible() const { return cursorVisible_; }

    // Draws the control into its off-screen image and returns it; null when it cannot
    // be made.
    const QImage* PaintOffscreen();

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    // What the drawn control depends on: the palette and the markers leave it alone.
    struct Inputs {
        std::int16_t rangeLow;
        std::int16_t rangeHigh;
        std::int16_t spanLow;
        std::int16_t spanHigh;
        float emissivity;
        TemperatureUnit unit;
        std::int16_t background;
        bool cursorShown;
        bool operator==(const Inputs&) const = default;
    };
    Inputs CurrentInputs() const;
    // Stores a change made by `edit` and repaints when the inputs changed.
    template <class Edit>
    void Change(Edit edit);

    void DrawScale(GdiPainter& dc, const RangeBarLayout& layout) const;
    void DrawTexts(GdiPainter& dc, const RangeBarLayout& layout) const;

    std::int16_t rangeLow_ = 0;
    std::int16_t rangeHigh_ = 0;
    DisplayState state_;
    bool cursorVisible_ = true;
    TemperatureFormatter formatter_;
    std::optional<OffscreenDC> offscreen_;
    TextLayoutCache texts_;
    PaintCache<Inputs> drawn_;
};
