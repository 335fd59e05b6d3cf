#pragma once

#include <QImage>
#include <QWidget>
#include <cstdint>
#include <optional>
#include <vector>

#include "display/display_state.h"
#include "display/qt/offscreen_dc.h"
#include "display/qt/paint_cache.h"
#include "display/qt/text_layout_cache.h"
#include "display/temperature_formatter.h"

class GdiPainter;
class PaletteSet;

// The colour bar of the current palette, hottest colour at the top, with six compact
// temperature labels: the span maximum and two values below it at the top, the span
// minimum and two values above it at the bottom. The bars of all three palettes are
// drawn once, at the first paint; a palette change only picks another one. The labels
// are drawn again only when what they show changed.
class ColourScaleControl : public QWidget {
  public:
    explicit ColourScaleControl(QWidget* parent = nullptr);
    ~ColourScaleControl() override;

    // Stores everything without repainting. The palette set is not owned.
    void Initialise(const PaletteSet* palettes, const DisplayState& state);
    void SetState(const DisplayState& state);

    const DisplayState& State() const { return state_; }
    std::int16_t PaletteNumber() const { return state_.paletteNumber; }
    std::int16_t SpanLow() const { return state_.spanLow; }
    std::int16_t SpanHigh() const { return state_.spanHigh; }
    float Emissivity() const { return state_.emissivity; }
    TemperatureUnit Unit() const { return state_.unit; }
    std::int16_t BackgroundTemperature() const { return state_.background; }

    // Draws the control into its off-screen image and returns it; null when it cannot
    // be made.
    const QImage* PaintOffscreen();

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    // What the drawn control depends on: the marker and selection fields of the state
    // leave it alone.
    struct Inputs {
        std::int16_t paletteNumber;
        std::int16_t spanLow;
        std::int16_t spanHigh;
        float emissivity;
        TemperatureUnit unit;
        std::int16_t background;
        bool operator==(const Inputs&) const = default;
    };
    static Inputs InputsOf(const DisplayState& state);

    const PaletteSet& Palettes() const;
    void RenderGradients();
    const OffscreenDC& CurrentGradient() const;
    void DrawLabels(GdiPainter& dc) const;

    const PaletteSet* palettes_ = nullptr;
    DisplayState state_;
    TemperatureFormatter formatter_;
    std::optional<OffscreenDC> offscreen_;
    TextLayoutCache texts_;
    PaintCache<Inputs> drawn_;
    // One per palette number 0, 1, 2; empty until the first paint.
    std::vector<OffscreenDC> gradients_;
};
