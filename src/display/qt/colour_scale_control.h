#pragma once

#include <QImage>
#include <QWidget>
#include <cstdint>
#include <optional>
#include <vector>

#include "display/qt/offscreen_dc.h"
#include "display/temperature_formatter.h"

class GdiPainter;
class PaletteSet;

// The colour bar of the current palette, hottest colour at the top, with six compact
// temperature labels: the span maximum and two values below it at the top, the span
// minimum and two values above it at the bottom. The bars of all three palettes are
// drawn once, at the first paint; a palette change only picks another one.
class ColourScaleControl : public QWidget {
  public:
    explicit ColourScaleControl(QWidget* parent = nullptr);
    ~ColourScaleControl() override;

    // Stores everything without repainting. The palette set is not owned.
    void Initialise(const PaletteSet* palettes, std::int16_t paletteNumber, std::int16_t spanLow,
                    std::int16_t spanHigh, float emissivity, TemperatureUnit unit,
                    std::int16_t background);

    void SetPaletteNumber(std::int16_t paletteNumber);
    void SetDisplayRange(std::int16_t spanLow, std::int16_t spanHigh);
    void SetEmissivity(float emissivity);
    void SetUnit(TemperatureUnit unit);
    void SetBackgroundTemperature(std::int16_t background);

    std::int16_t PaletteNumber() const { return paletteNumber_; }
    std::int16_t SpanLow() const { return spanLow_; }
    std::int16_t SpanHigh() const { return spanHigh_; }
    float Emissivity() const { return emissivity_; }
    TemperatureUnit Unit() const { return unit_; }
    std::int16_t BackgroundTemperature() const { return background_; }

    // Draws the control into its off-screen image and returns it; null when it cannot
    // be made.
    const QImage* PaintOffscreen();

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    const PaletteSet& Palettes() const;
    void RenderGradients();
    const OffscreenDC& CurrentGradient() const;
    void DrawLabels(GdiPainter& dc) const;

    const PaletteSet* palettes_ = nullptr;
    std::int16_t paletteNumber_ = 0;
    std::int16_t spanLow_ = 2744;
    std::int16_t spanHigh_ = 3000;
    float emissivity_ = 1.0f;
    TemperatureUnit unit_ = temperature_unit::kCelsius;
    std::int16_t background_ = 0;
    TemperatureFormatter formatter_;
    std::optional<OffscreenDC> offscreen_;
    // One per palette number 0, 1, 2; empty until the first paint.
    std::vector<OffscreenDC> gradients_;
};
