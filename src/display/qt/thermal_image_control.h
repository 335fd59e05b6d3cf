#pragma once

#include <QImage>
#include <QWidget>
#include <array>
#include <atomic>
#include <cstdint>
#include <optional>
#include <string>

#include "display/display_state.h"
#include "display/picture_renderer.h"
#include "display/qt/offscreen_dc.h"
#include "display/qt/paint_cache.h"
#include "display/qt/text_layout_cache.h"
#include "display/temperature_formatter.h"
#include "display/thermal_image_layout.h"
#include "link/thermal_frame.h"

class GdiPainter;
class PaletteSet;
class StringResources;

// The 196 × 196 thermal picture: a sunken border around the 192 × 192 false-colour
// picture, the centre reticle, one or two spot markers with their readouts and the
// difference between them, the blinking selection cursor and, while a stored snapshot
// is shown, three status lines; otherwise, while no head answers, one status line that
// says so. Setters store and schedule a repaint; all drawing
// happens in the paint handler, and only when something the control shows changed; the
// false-colour picture is rendered again only when the frame, span or palette changed.
class ThermalImageControl : public QWidget {
  public:
    // Language texts: marker captions, status format (two integers).
    static constexpr int kFirstMarkerText = 149;
    static constexpr int kSecondMarkerText = 150;
    static constexpr int kStatusFormatText = 154;
    // Shown where the picture would be when the snapshot entry cannot be read.
    static constexpr int kUnreadableText = 167;
    static constexpr int kNoHeadText = 166;

    explicit ThermalImageControl(QWidget* parent = nullptr);
    ~ThermalImageControl() override;

    // Source of the language texts; null gives empty texts.
    void SetStringResources(const StringResources* strings);

    // Stores everything without repainting. The palette set is not owned.
    void Initialise(const PaletteSet* palettes, const DisplayState& state,
                    const ThermalFrame& frame, bool interpolated);
    void SetFrame(const ThermalFrame& frame);
    // The cursor blinks on the selected marker; the span selection is the range bar's.
    void SetState(const DisplayState& state);
    void ToggleCursor();
    void SetInterpolated(bool interpolated);
    // index −1 hides the status lines; textA is the note, textB the title.
    void SetStatus(std::int16_t index, std::int16_t count, std::string textA, std::string textB);
    // The snapshot entry shown cannot be read: its text replaces the markers and the
    // reticle over the (empty) picture.
    void SetUnreadable(bool unreadable);
    bool Unreadable() const { return unreadable_; }
    // Whether the status line says that no head answers (only while no snapshot is shown).
    void SetHeadAbsent(bool absent);
    // Whether small triangles mark the hottest (pointing up) and the coldest cell (pointing
    // down) of the picture; off at first. A uniform picture has neither.
    void SetExtremesMarked(bool marked);
    bool ExtremesMarked() const { return extremesMarked_; }

    // The edge mask may be written from another thread; it does not repaint, the next
    // paint shows it.
    void SetEdgeMask(bool masked) { edgeMask_.store(masked ? 1 : 0, std::memory_order_relaxed); }
    bool EdgeMask() const { return edgeMask_.load(std::memory_order_relaxed) != 0; }

    const DisplayState& State() const { return state_; }
    std::int16_t PaletteNumber() const { return state_.paletteNumber; }
    std::int16_t SpanLow() const { return state_.spanLow; }
    std::int16_t SpanHigh() const { return state_.spanHigh; }
    std::uint8_t MarkerPosition(int spot) const { return state_.spots[spot == 0 ? 0 : 1]; }
    bool SecondMarkerShown() const { return state_.secondSpotShown; }
    float Emissivity() const { return state_.emissivity; }
    TemperatureUnit Unit() const { return state_.unit; }
    std::int16_t BackgroundTemperature() const { return state_.background; }
    DisplayState::Selection SelectionMode() const { return state_.selection; }
    bool CursorVisible() const { return cursorVisible_; }
    bool Interpolated() const { return interpolated_; }
    std::int16_t StatusIndex() const { return statusIndex_; }
    bool HeadAbsent() const { return headAbsent_; }
    const ThermalFrame& Frame() const { return received_; }

    // Draws the whole control into its off-screen image (made at the first call, of the
    // control's size at that time) and returns it; null when it cannot be made.
    const QImage* PaintOffscreen();

    // The rendered picture at its place in a control of `layout`, with the black bands
    // of the edge mask over it when `masked`.
    static void DrawPicture(GdiPainter& dc, const PictureRenderer& picture,
                            const ThermalImageLayout& layout, bool interpolated, bool masked);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    // What the false-colour picture depends on.
    struct PictureInputs {
        ThermalFrame frame;
        bool interpolated;
        std::int16_t spanLow;
        std::int16_t spanHigh;
        std::int16_t paletteNumber;
        const PaletteSet* palettes;
        bool operator==(const PictureInputs&) const = default;
    };
    // What the whole control depends on.
    struct Inputs {
        PictureInputs picture;
        DisplayState state;
        bool cursorVisible;
        bool masked;
        std::int16_t statusIndex;
        std::int16_t statusCount;
        std::string statusTextA;
        std::string statusTextB;
        bool unreadable;
        bool headAbsent;
        bool extremesMarked;
        const StringResources* strings;
        bool operator==(const Inputs&) const = default;
    };
    PictureInputs CurrentPictureInputs() const;
    Inputs CurrentInputs(bool masked) const;

    const PaletteSet& Palettes() const;
    void StoreFrame(const ThermalFrame& frame);
    // Renders the picture only when its inputs changed, then blits it.
    void DrawCachedPicture(GdiPainter& dc);
    static void DrawEdgeMask(GdiPainter& dc, const ThermalImageLayout& layout, bool interpolated,
                             bool masked);
    void DrawMarker(GdiPainter& dc, const ThermalImageLayout& layout, int marker) const;
    void DrawDifference(GdiPainter& dc, const ThermalImageLayout& layout) const;
    void DrawCursor(GdiPainter& dc, const ThermalImageLayout& layout) const;
    void DrawStatus(GdiPainter& dc, const ThermalImageLayout& layout) const;
    void DrawMarkings(GdiPainter& dc, const ThermalImageLayout& layout) const;
    void DrawExtremes(GdiPainter& dc, const ThermalImageLayout& layout) const;
    static void DrawExtremeMarker(GdiPainter& dc, const ThermalImageLayout& layout, MarkerCell cell,
                                  bool pointingUp);
    void DrawUnreadableText(GdiPainter& dc) const;
    QColor MarkerBoxColour(std::int16_t temperature) const;
    MarkerCell Cell(int marker) const { return MarkerCell::FromPosition(state_.spots[marker]); }
    std::string Text(int id) const;

    const StringResources* strings_ = nullptr;
    TemperatureFormatter formatter_;
    const PaletteSet* palettes_ = nullptr;
    std::optional<OffscreenDC> offscreen_;
    TextLayoutCache texts_;
    std::optional<PictureRenderer> picture_;
    PaintCache<Inputs> drawn_;
    PaintCache<PictureInputs> rendered_;
    // The rendered picture, upright in 32 bits.
    QImage pictureImage_;
    // No marker selected until the view says otherwise.
    DisplayState state_{.selection = DisplayState::kSpan};
    bool cursorVisible_ = true;
    std::atomic<std::uint8_t> edgeMask_{0};
    bool interpolated_ = true;
    ThermalFrame received_ = ThermalFrame::Filled(kEmptyPictureValue);
    PictureRenderer::ReversedFrame reversed_{};
    std::int16_t statusIndex_ = -1;
    std::int16_t statusCount_ = 0;
    std::string statusTextA_;
    std::string statusTextB_;
    bool unreadable_ = false;
    bool headAbsent_ = false;
    bool extremesMarked_ = false;
};
