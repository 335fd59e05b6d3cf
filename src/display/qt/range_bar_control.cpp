#include "display/qt/range_bar_control.h"

#include "display/qt/gdi_painter.h"
#include "display/range_bar_layout.h"

namespace {

const QColor kWhite(255, 255, 255);
const QColor kLightGrey(192, 192, 192);
const QColor kGrey(128, 128, 128);
const QColor kDarkGrey(64, 64, 64);
const QColor kRaisedEdge(224, 224, 224);
const QColor kRed(255, 0, 0);
const QColor kDarkRed(128, 0, 0);
constexpr std::int16_t kSpanSelected = 2;

}  // namespace

RangeBarControl::RangeBarControl(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

RangeBarControl::~RangeBarControl() = default;

void RangeBarControl::SetStringResources(const StringResources* strings) {
    formatter_.SetStrings(strings);
    drawn_.Invalidate();
    update();
}

void RangeBarControl::Initialise(std::int16_t rangeLow, std::int16_t rangeHigh,
                                 const DisplayState& state) {
    rangeLow_ = rangeLow;
    rangeHigh_ = rangeHigh;
    state_ = state;
    drawn_.Invalidate();
}

template <class Edit>
void RangeBarControl::Change(Edit edit) {
    const Inputs before = CurrentInputs();
    edit();
    if (CurrentInputs() != before) {
        update();
    }
}

void RangeBarControl::SetRangeLimits(std::int16_t rangeLow, std::int16_t rangeHigh) {
    Change([&] {
        rangeLow_ = rangeLow;
        rangeHigh_ = rangeHigh;
    });
}

void RangeBarControl::SetState(const DisplayState& state) {
    Change([&] { state_ = state; });
}

void RangeBarControl::ToggleCursor() {
    Change([this] { cursorVisible_ = !cursorVisible_; });
}

RangeBarControl::Inputs RangeBarControl::CurrentInputs() const {
    return {rangeLow_,         rangeHigh_,
            state_.spanLow,    state_.spanHigh,
            state_.emissivity, state_.unit,
            state_.background, state_.selection == kSpanSelected && cursorVisible_};
}

void RangeBarControl::paintEvent(QPaintEvent* /*event*/) {
    ShowOffscreenImage(*this, PaintOffscreen());
}

const QImage* RangeBarControl::PaintOffscreen() {
    if (!offscreen_) {
        offscreen_.emplace(width(), height());
    }
    if (!offscreen_->IsValid()) {
        return nullptr;
    }
    if (drawn_.Reuse(CurrentInputs())) {
        return &offscreen_->Image();
    }
    const RangeBarLayout layout(ScreenRect{0, 0, width(), height()});
    GdiPainter dc(&offscreen_->Image());
    dc.SetTextCache(&texts_);
    dc.DrawSunkenBorder(QRect(0, 0, width(), height()));
    DrawScale(dc, layout);
    DrawTexts(dc, layout);
    if (CurrentInputs().cursorShown) {
        dc.Draw3dRect(GdiPainter::ToQRect(layout.CursorFrame()), kRed, kDarkRed);
    }
    return &offscreen_->Image();
}

void RangeBarControl::DrawScale(GdiPainter& dc, const RangeBarLayout& layout) const {
    dc.FillRect(GdiPainter::ToQRect(layout.ScaleArea()), kWhite);
    dc.Draw3dRect(GdiPainter::ToQRect(layout.Groove()), kLightGrey, kGrey);
    const auto span = layout.Span(rangeLow_, rangeHigh_, state_.spanLow, state_.spanHigh);
    if (span) {
        dc.FillRect(GdiPainter::ToQRect(span->fill), kLightGrey);
        dc.Draw3dRect(GdiPainter::ToQRect(span->frame), kRaisedEdge, kGrey);
    }
}

void RangeBarControl::DrawTexts(GdiPainter& dc, const RangeBarLayout& layout) const {
    auto limit = [this](std::int16_t raw) {
        return QString::fromStdString(formatter_.FormatTemperature(
            raw, state_.unit, state_.background, state_.emissivity, false));
    };
    dc.SetTextColor(kDarkGrey);
    dc.DrawText(layout.RangeLowText(), limit(rangeLow_));
    dc.DrawText(layout.RangeHighText(), limit(rangeHigh_));
    dc.SetTextColor(Qt::black);
    dc.DrawText(
        layout.SpanWidthText(),
        QString::fromStdString(formatter_.FormatTemperatureDifference(
            state_.spanLow, state_.spanHigh, state_.unit, state_.background, state_.emissivity)));
}
