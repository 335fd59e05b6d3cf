#pragma once

#include <QImage>
#include <QWidget>
#include <cstdint>
#include <optional>

#include "display/qt/offscreen_dc.h"
#include "display/temperature_formatter.h"

class GdiPainter;
class RangeBarLayout;
class StringResources;

// The strip below the picture: the head range as a horizontal scale, lowest limit at
// the left end, with the display span as a raised box on it; the two limits and the
// span width above; a blinking red frame while the keys move the span.
class RangeBarControl : public QWidget {
  public:
    explicit RangeBarControl(QWidget* parent = nullptr);
    ~RangeBarControl() override;

    // Source of the unit texts; null gives empty texts.
    void SetStringResources(const StringResources* strings);

    // Stores everything without repainting.
    void Initialise(std::int16_t rangeLow, std::int16_t rangeHigh, std::int16_t spanLow,
                    std::int16_t spanHigh, float emissivity, TemperatureUnit unit,
                    std::int16_t selectionMode, std::int16_t background);

    void SetRangeLimits(std::int16_t rangeLow, std::int16_t rangeHigh);
    void SetDisplayRange(std::int16_t spanLow, std::int16_t spanHigh);
    void SetUnit(TemperatureUnit unit);
    void SetEmissivity(float emissivity);
    void SetBackgroundTemperature(std::int16_t background);
    // 2 = the display span is selected and the frame blinks.
    void SetSelectionMode(std::int16_t mode);
    void ToggleCursor();

    std::int16_t RangeLow() const { return rangeLow_; }
    std::int16_t RangeHigh() const { return rangeHigh_; }
    std::int16_t SpanLow() const { return spanLow_; }
    std::int16_t SpanHigh() const { return spanHigh_; }
    TemperatureUnit Unit() const { return unit_; }
    float Emissivity() const { return emissivity_; }
    std::int16_t BackgroundTemperature() const { return background_; }
    std::int16_t SelectionMode() const { return selectionMode_; }
    bool CursorVisible() const { return cursorVisible_; }

    // Draws the control into its off-screen image and returns it; null when it cannot
    // be made.
    const QImage* PaintOffscreen();

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void DrawScale(GdiPainter& dc, const RangeBarLayout& layout) const;
    void DrawTexts(GdiPainter& dc, const RangeBarLayout& layout) const;

    std::int16_t rangeLow_ = 0;
    std::int16_t rangeHigh_ = 0;
    std::int16_t spanLow_ = 2744;
    std::int16_t spanHigh_ = 3000;
    TemperatureUnit unit_ = temperature_unit::kCelsius;
    float emissivity_ = 1.0f;
    std::int16_t background_ = 0;
    std::int16_t selectionMode_ = 0;
    bool cursorVisible_ = true;
    TemperatureFormatter formatter_;
    std::optional<OffscreenDC> offscreen_;
};
