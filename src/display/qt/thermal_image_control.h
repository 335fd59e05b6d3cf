#pragma once

#include <QImage>
#include <QWidget>
#include <array>
#include <atomic>
#include <cstdint>
#include <optional>
#include <string>

#include "display/picture_renderer.h"
#include "display/qt/offscreen_dc.h"
#include "display/temperature_formatter.h"
#include "display/thermal_image_layout.h"
#include "link/thermal_frame.h"

class GdiPainter;
class PaletteSet;
class StringResources;

// The 196 × 196 thermal picture: a sunken border around the 192 × 192 false-colour
// picture, the centre reticle, one or two spot markers with their readouts and the
// difference between them, the blinking selection cursor and, while a stored snapshot
// is shown, three status lines. Setters store and schedule a repaint; all drawing
// happens in the paint handler.
class ThermalImageControl : public QWidget {
  public:
    // Language texts: marker captions, status format (two integers).
    static constexpr int kFirstMarkerText = 149;
    static constexpr int kSecondMarkerText = 150;
    static constexpr int kStatusFormatText = 154;

    explicit ThermalImageControl(QWidget* parent = nullptr);
    ~ThermalImageControl() override;

    // Source of the language texts; null gives empty texts.
    void SetStringResources(const StringResources* strings);

    // Stores everything without repainting. The palette set is not owned.
    void Initialise(const PaletteSet* palettes, std::int16_t paletteNumber,
                    const ThermalFrame& frame, std::int16_t spanLow, std::int16_t spanHigh,
                    std::uint8_t spotPosition1, std::uint8_t spotPosition2, float emissivity,
                    TemperatureUnit unit, std::int16_t selectionMode, bool interpolated,
                    bool secondSpotShown, std::int16_t background);

    void SetFrame(const ThermalFrame& frame);
    void SetPaletteNumber(std::int16_t paletteNumber);
    void SetDisplayRange(std::int16_t spanLow, std::int16_t spanHigh);
    // spot 0 or 1; position = row × 16 + column.
    void SetMarkerPosition(int spot, std::uint8_t position);
    void SetSecondMarkerShown(bool shown);
    void SetEmissivity(float emissivity);
    void SetUnit(TemperatureUnit unit);
    void SetBackgroundTemperature(std::int16_t background);
    // 0 marker 1, 1 marker 2, 2 none here (the range bar holds the selection).
    void SetSelectionMode(std::int16_t mode);
    void ToggleCursor();
    void SetInterpolated(bool interpolated);
    // index −1 hides the status lines; textA is the note, textB the title.
    void SetStatus(std::int16_t index, std::int16_t count, std::string textA, std::string textB);

    // The edge mask may be written from another thread; it does not repaint, the next
    // paint shows it.
    void SetEdgeMask(bool masked) { edgeMask_.store(masked ? 1 : 0, std::memory_order_relaxed); }
    bool EdgeMask() const { return edgeMask_.load(std::memory_order_relaxed) != 0; }

    std::int16_t PaletteNumber() const { return paletteNumber_; }
    std::int16_t SpanLow() const { return spanLow_; }
    std::int16_t SpanHigh() const { return spanHigh_; }
    std::uint8_t MarkerPosition(int spot) const { return spots_[spot == 0 ? 0 : 1]; }
    bool SecondMarkerShown() const { return secondShown_; }
    float Emissivity() const { return emissivity_; }
    TemperatureUnit Unit() const { return unit_; }
    std::int16_t BackgroundTemperature() const { return background_; }
    std::int16_t SelectionMode() const { return selectionMode_; }
    bool CursorVisible() const { return cursorVisible_; }
    bool Interpolated() const { return interpolated_; }
    std::int16_t StatusIndex() const { return statusIndex_; }
    const ThermalFrame& Frame() const { return received_; }

    // Draws the whole control into its off-screen image (made at the first call, of the
    // control's size at that time) and returns it; null when it cannot be made.
    const QImage* PaintOffscreen();

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    const PaletteSet& Palettes() const;
    void StoreFrame(const ThermalFrame& frame);
    void DrawPicture(GdiPainter& dc);
    void DrawEdgeMask(GdiPainter& dc, const ThermalImageLayout& layout, bool masked) const;
    void DrawMarker(GdiPainter& dc, const ThermalImageLayout& layout, int marker) const;
    void DrawDifference(GdiPainter& dc, const ThermalImageLayout& layout) const;
    void DrawCursor(GdiPainter& dc, const ThermalImageLayout& layout) const;
    void DrawStatus(GdiPainter& dc, const ThermalImageLayout& layout) const;
    QColor MarkerBoxColour(std::int16_t temperature) const;
    MarkerCell Cell(int marker) const { return MarkerCell::FromPosition(spots_[marker]); }
    std::string Text(int id) const;

    const StringResources* strings_ = nullptr;
    TemperatureFormatter formatter_;
    std::int16_t paletteNumber_ = 0;
    const PaletteSet* palettes_ = nullptr;
    std::optional<OffscreenDC> offscreen_;
    std::optional<PictureRenderer> picture_;
    std::int16_t spanLow_ = 2744;
    std::int16_t spanHigh_ = 3000;
    bool secondShown_ = true;
    std::array<std::uint8_t, 2> spots_{135, 136};
    float emissivity_ = 1.0f;
    TemperatureUnit unit_ = temperature_unit::kCelsius;
    std::int16_t selectionMode_ = 2;
    bool cursorVisible_ = true;
    std::int16_t background_ = 0;
    std::atomic<std::uint8_t> edgeMask_{0};
    bool interpolated_ = true;
    ThermalFrame received_ = ThermalFrame::Filled(kEmptyPictureValue);
    PictureRenderer::ReversedFrame reversed_{};
    std::int16_t statusIndex_ = -1;
    std::int16_t statusCount_ = 0;
    std::string statusTextA_;
    std::string statusTextB_;
};
