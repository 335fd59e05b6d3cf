#include "display/qt/colour_scale_control.h"

#include "display/colour_scale_layout.h"
#include "display/qt/gdi_painter.h"
#include "palette/palette_set.h"

ColourScaleControl::ColourScaleControl(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

ColourScaleControl::~ColourScaleControl() = default;

void ColourScaleControl::Initialise(const PaletteSet* palettes, const DisplayState& state) {
    palettes_ = palettes;
    state_ = state;
    drawn_.Invalidate();
}

void ColourScaleControl::SetState(const DisplayState& state) {
    const bool changed = InputsOf(state) != InputsOf(state_);
    state_ = state;
    if (changed) {
        update();
    }
}

ColourScaleControl::Inputs ColourScaleControl::InputsOf(const DisplayState& state) {
    return {state.paletteNumber, state.spanLow, state.spanHigh,
            state.emissivity,    state.unit,    state.background};
}

const PaletteSet& ColourScaleControl::Palettes() const {
    static const PaletteSet kUntilInitialised;
    return palettes_ != nullptr ? *palettes_ : kUntilInitialised;
}

void ColourScaleControl::paintEvent(QPaintEvent* /*event*/) {
    ShowOffscreenImage(*this, PaintOffscreen());
}

const QImage* ColourScaleControl::PaintOffscreen() {
    if (!offscreen_) {
        offscreen_.emplace(width(), height());
    }
    if (!offscreen_->IsValid()) {
        return nullptr;
    }
    if (drawn_.Reuse(InputsOf(state_))) {
        return &offscreen_->Image();
    }
    if (gradients_.empty()) {
        RenderGradients();
    }
    GdiPainter dc(&offscreen_->Image());
    dc.SetTextCache(&texts_);
    dc.BitBlt(0, 0, CurrentGradient().Image());
    DrawLabels(dc);
    dc.DrawSunkenBorder(QRect(0, 0, width(), height()));
    return &offscreen_->Image();
}

void ColourScaleControl::RenderGradients() {
    const ColourScaleLayout layout(ScreenRect{0, 0, width(), height()});
    const auto stripes = layout.GradientStripes();
    for (int palette = 0; palette < PaletteSet::kPaletteCount; ++palette) {
        gradients_.emplace_back(width(), height());
        GdiPainter dc(&gradients_.back().Image());
        for (const auto& stripe : stripes) {
            dc.FillRect(GdiPainter::ToQRect(stripe.rect),
                        GdiPainter::FromColourRef(Palettes().Colour(stripe.colourIndex, palette)));
        }
    }
}

// Palette 0 → first bar, 1 → second, anything else → third.
const OffscreenDC& ColourScaleControl::CurrentGradient() const {
    return gradients_[static_cast<std::size_t>(
        PaletteSet::ValidPaletteNumber(state_.paletteNumber))];
}

// The upper labels in the coldest colour over the hot end, the lower ones in the
// hottest colour over the cold end.
void ColourScaleControl::DrawLabels(GdiPainter& dc) const {
    const ColourScaleLayout layout(ScreenRect{0, 0, width(), height()});
    const auto placements = layout.LabelPlacements();
    const auto values = ColourScaleLayout::LabelValues(state_.spanLow, state_.spanHigh);
    for (std::size_t k = 0; k < placements.size(); ++k) {
        const int colourIndex = k < 3 ? 0 : PaletteSet::kColourCount - 1;
        dc.SetTextColor(
            GdiPainter::FromColourRef(Palettes().Colour(colourIndex, state_.paletteNumber)));
        dc.DrawText(placements[k],
                    QString::fromStdString(formatter_.FormatTemperature(
                        values[k], state_.unit, state_.background, state_.emissivity, true)));
    }
}
