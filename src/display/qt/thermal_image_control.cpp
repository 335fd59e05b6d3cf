#include "display/qt/thermal_image_control.h"

#include <algorithm>
#include <utility>

#include "display/colour_index_scale.h"
#include "display/frame_statistics.h"
#include "display/integer_format.h"
#include "display/qt/gdi_painter.h"
#include "palette/palette_set.h"
#include "platform/string_resources.h"

namespace {

const QColor kRed(255, 0, 0);
const QColor kDarkRed(128, 0, 0);
const QColor kGreen(0, 255, 0);
constexpr int kBrightComponent = 128;
constexpr const char* kDifferenceTail = " -    t";

}  // namespace

ThermalImageControl::ThermalImageControl(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

ThermalImageControl::~ThermalImageControl() = default;

void ThermalImageControl::SetStringResources(const StringResources* strings) {
    strings_ = strings;
    formatter_.SetStrings(strings);
    update();
}

void ThermalImageControl::Initialise(const PaletteSet* palettes, const DisplayState& state,
                                     const ThermalFrame& frame, bool interpolated) {
    palettes_ = palettes;
    state_ = state;
    StoreFrame(frame);
    interpolated_ = interpolated;
}

void ThermalImageControl::StoreFrame(const ThermalFrame& frame) {
    received_ = frame;
    reversed_ = PictureRenderer::Reverse(frame);
}

void ThermalImageControl::SetFrame(const ThermalFrame& frame) {
    StoreFrame(frame);
    update();
}

void ThermalImageControl::SetState(const DisplayState& state) {
    if (state == state_) {
        return;
    }
    state_ = state;
    update();
}

void ThermalImageControl::ToggleCursor() {
    cursorVisible_ = !cursorVisible_;
    update();
}

void ThermalImageControl::SetInterpolated(bool interpolated) {
    interpolated_ = interpolated;
    update();
}

void ThermalImageControl::SetStatus(std::int16_t index, std::int16_t count, std::string textA,
                                    std::string textB) {
    statusIndex_ = index;
    statusCount_ = count;
    statusTextA_ = std::move(textA);
    statusTextB_ = std::move(textB);
    update();
}

void ThermalImageControl::SetUnreadable(bool unreadable) {
    unreadable_ = unreadable;
    update();
}

void ThermalImageControl::SetHeadAbsent(bool absent) {
    if (headAbsent_ != absent) {
        headAbsent_ = absent;
        update();
    }
}

void ThermalImageControl::SetExtremesMarked(bool marked) {
    if (extremesMarked_ != marked) {
        extremesMarked_ = marked;
        update();
    }
}

const PaletteSet& ThermalImageControl::Palettes() const {
    static const PaletteSet kUntilInitialised;
    return palettes_ != nullptr ? *palettes_ : kUntilInitialised;
}

ThermalImageControl::PictureInputs ThermalImageControl::CurrentPictureInputs() const {
    return {received_,       interpolated_,        state_.spanLow,
            state_.spanHigh, state_.paletteNumber, palettes_};
}

ThermalImageControl::Inputs ThermalImageControl::CurrentInputs(bool masked) const {
    return {CurrentPictureInputs(), state_,       cursorVisible_, masked,      statusIndex_,
            statusCount_,           statusTextA_, statusTextB_,   unreadable_, headAbsent_,
            extremesMarked_,        strings_};
}

std::string ThermalImageControl::Text(int id) const {
    return strings_ == nullptr ? std::string() : strings_->String(id);
}

void ThermalImageControl::paintEvent(QPaintEvent* /*event*/) {
    ShowOffscreenImage(*this, PaintOffscreen());
}

const QImage* ThermalImageControl::PaintOffscreen() {
    if (!picture_) {
        picture_.emplace();
    }
    if (!offscreen_) {
        offscreen_.emplace(width(), height());
    }
    if (!offscreen_->IsValid()) {
        return nullptr;
    }
    const bool masked = EdgeMask();
    if (drawn_.Reuse(CurrentInputs(masked))) {
        return &offscreen_->Image();
    }
    const ThermalImageLayout layout(ScreenRect{0, 0, width(), height()});
    GdiPainter dc(&offscreen_->Image());
    dc.SetTextCache(&texts_);
    DrawCachedPicture(dc);
    dc.DrawSunkenBorder(QRect(0, 0, width(), height()));
    DrawEdgeMask(dc, layout, interpolated_, masked);
    if (unreadable_) {
        DrawUnreadableText(dc);
    } else {
        DrawMarkings(dc, layout);
    }
    DrawStatus(dc, layout);
    return &offscreen_->Image();
}

void ThermalImageControl::DrawMarkings(GdiPainter& dc, const ThermalImageLayout& layout) const {
    dc.SetPen(kRed);
    const ScreenRect reticle = layout.Reticle();
    dc.Ellipse(reticle.left, reticle.top, reticle.right, reticle.bottom);
    if (extremesMarked_) {
        DrawExtremes(dc, layout);
    }
    DrawMarker(dc, layout, 0);
    if (state_.secondSpotShown) {
        DrawMarker(dc, layout, 1);
        DrawDifference(dc, layout);
    }
    DrawCursor(dc, layout);
}

void ThermalImageControl::DrawExtremes(GdiPainter& dc, const ThermalImageLayout& layout) const {
    const FrameStatistics statistics =
        FrameStatistics::Of(received_, {state_.unit, state_.background, state_.emissivity});
    if (statistics.Empty() || !(statistics.Highest() > statistics.Lowest())) {
        return;
    }
    DrawExtremeMarker(dc, layout, MarkerCell::FromFrameCell(statistics.Hottest()), true);
    DrawExtremeMarker(dc, layout, MarkerCell::FromFrameCell(statistics.Coldest()), false);
}

// White with a black edge, in the middle of the cell, clear of the spot marker's box.
void ThermalImageControl::DrawExtremeMarker(GdiPainter& dc, const ThermalImageLayout& layout,
                                            MarkerCell cell, bool pointingUp) {
    const ScreenRect box = layout.CursorFrame(cell);
    const int rows = std::min(box.Width(), box.Height()) / 2 - 1;
    const int centre = box.left + box.Width() / 2;
    const int top = box.top + (box.Height() - rows) / 2;
    for (int k = 0; k < rows; ++k) {
        const int y = pointingUp ? top + k : top + rows - 1 - k;
        dc.FillRect(QRect(centre - k - 1, y, 2 * k + 2, 1), Qt::black);
        if (k > 0 && k < rows - 1) {
            dc.FillRect(QRect(centre - k, y, 2 * k, 1), Qt::white);
        }
    }
}

// Centred on the picture, in the shadowed text of the other captions.
void ThermalImageControl::DrawUnreadableText(GdiPainter& dc) const {
    constexpr int kOrigin = ThermalImageLayout::kPictureOrigin;
    constexpr int kSide = PictureRenderer::kSide;
    const TextPlacement placement{ScreenRect{kOrigin, kOrigin, kOrigin + kSide, kOrigin + kSide},
                                  HorizontalAlign::kCentre, VerticalAlign::kCentre};
    dc.DrawShadowedText(placement, QString::fromStdString(Text(kUnreadableText)));
}

void ThermalImageControl::DrawCachedPicture(GdiPainter& dc) {
    if (!rendered_.Reuse(CurrentPictureInputs())) {
        picture_->Render(reversed_, interpolated_, state_.spanLow, state_.spanHigh, Palettes(),
                         state_.paletteNumber);
        GdiPainter::CopyBottomUpBgr(pictureImage_, PictureRenderer::kSide, PictureRenderer::kSide,
                                    picture_->Data(), PictureRenderer::kRowBytes);
    }
    dc.BitBlt(ThermalImageLayout::kPictureOrigin, ThermalImageLayout::kPictureOrigin,
              pictureImage_);
}

// The edge mask lies inside the picture, clear of the control's border.
void ThermalImageControl::DrawPicture(GdiPainter& dc, const PictureRenderer& picture,
                                      const ThermalImageLayout& layout, bool interpolated,
                                      bool masked) {
    dc.BlitBottomUpBgr(ThermalImageLayout::kPictureOrigin, ThermalImageLayout::kPictureOrigin,
                       PictureRenderer::kSide, PictureRenderer::kSide, picture.Data(),
                       PictureRenderer::kRowBytes);
    DrawEdgeMask(dc, layout, interpolated, masked);
}

void ThermalImageControl::DrawEdgeMask(GdiPainter& dc, const ThermalImageLayout& layout,
                                       bool interpolated, bool masked) {
    if (!masked) {
        return;
    }
    for (const ScreenRect& band : layout.EdgeMaskBands(interpolated)) {
        dc.FillRect(GdiPainter::ToQRect(band), Qt::black);
    }
}

// Green boxes, except over the green-blue palette, where the box is black over bright
// colours and white over dark ones. A palette number outside 0..2 draws the picture with
// the green-blue palette, and so the boxes too.
QColor ThermalImageControl::MarkerBoxColour(std::int16_t temperature) const {
    constexpr int kGreenBlue = 2;
    if (PaletteSet::ValidPaletteNumber(state_.paletteNumber) != kGreenBlue) {
        return kGreen;
    }
    const ColourRef under = Palettes().Colour(
        ColourIndexScale(state_.spanLow, state_.spanHigh).Index(temperature), kGreenBlue);
    const bool bright = RedOf(under) >= kBrightComponent || GreenOf(under) >= kBrightComponent ||
                        BlueOf(under) >= kBrightComponent;
    return bright ? Qt::black : Qt::white;
}

void ThermalImageControl::DrawMarker(GdiPainter& dc, const ThermalImageLayout& layout,
                                     int marker) const {
    const MarkerCell cell = Cell(marker);
    const std::int16_t temperature = reversed_[static_cast<std::size_t>(cell.ReversedFrameIndex())];
    dc.FrameRect(GdiPainter::ToQRect(layout.MarkerBox(cell)), MarkerBoxColour(temperature));
    const std::string caption = Text(marker == 0 ? kFirstMarkerText : kSecondMarkerText);
    const std::string reading = formatter_.FormatTemperature(
        temperature, state_.unit, state_.background, state_.emissivity, false);
    dc.DrawShadowedText(layout.MarkerText(marker, Cell(0), Cell(1), state_.secondSpotShown),
                        QString::fromStdString(caption + reading));
}

// Second marker minus first, closed by a small triangle where the text leaves four
// blanks; black first, then white one pixel in.
void ThermalImageControl::DrawDifference(GdiPainter& dc, const ThermalImageLayout& layout) const {
    const auto first = static_cast<std::size_t>(Cell(0).ReversedFrameIndex());
    const auto second = static_cast<std::size_t>(Cell(1).ReversedFrameIndex());
    const QString text = QString::fromStdString(
        formatter_.FormatTemperatureDifference(reversed_[first], reversed_[second], state_.unit,
                                               state_.background, state_.emissivity) +
        kDifferenceTail);
    TextPlacement placement = layout.DifferenceText(Cell(0), Cell(1));
    for (const QColor& colour : {QColor(Qt::black), QColor(Qt::white)}) {
        dc.SetTextColor(colour);
        dc.DrawText(placement, text);
        const auto triangle = ThermalImageLayout::DifferenceTriangle(placement.rect);
        dc.SetPen(colour);
        dc.MoveTo(triangle[0].x, triangle[0].y);
        for (std::size_t k = 1; k < triangle.size(); ++k) {
            dc.LineTo(triangle[k].x, triangle[k].y);
        }
        placement.rect = placement.rect.Deflated(1);
    }
}

void ThermalImageControl::DrawCursor(GdiPainter& dc, const ThermalImageLayout& layout) const {
    if (!cursorVisible_) {
        return;
    }
    int marker = -1;
    if (state_.selection == 0) {
        marker = 0;
    } else if (state_.selection == 1 && state_.secondSpotShown) {
        marker = 1;
    }
    if (marker >= 0) {
        dc.Draw3dRect(GdiPainter::ToQRect(layout.CursorFrame(Cell(marker))), kRed, kDarkRed);
    }
}

void ThermalImageControl::DrawStatus(GdiPainter& dc, const ThermalImageLayout& layout) const {
    if (statusIndex_ < 0) {
        if (headAbsent_) {
            dc.DrawShadowedText(layout.StatusLine(0, Cell(0), Cell(1)),
                                QString::fromStdString(Text(kNoHeadText)));
        }
        return;
    }
    const std::string lines[] = {
        FormatIntegers(Text(kStatusFormatText), {statusIndex_ + 1, statusCount_}), statusTextB_,
        statusTextA_};
    for (int k = 0; k < 3; ++k) {
        dc.DrawShadowedText(layout.StatusLine(k, Cell(0), Cell(1)),
                            QString::fromStdString(lines[k]));
    }
}
