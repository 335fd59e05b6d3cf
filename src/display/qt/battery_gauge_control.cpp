#include "display/qt/battery_gauge_control.h"

#include <QIcon>

#include "display/battery_readout.h"
#include "display/qt/gdi_painter.h"
#include "platform/qt/icon_resources.h"

BatteryGaugeControl::BatteryGaugeControl(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

BatteryGaugeControl::~BatteryGaugeControl() = default;

void BatteryGaugeControl::SetResources(const StringResources* strings, const IconResources* icons) {
    strings_ = strings;
    icons_ = icons;
    drawn_.Invalidate();
    update();
}

void BatteryGaugeControl::Refresh() {
    const PowerReading reading = source_.Read();
    if (reading == reading_) {
        return;
    }
    reading_ = reading;
    update();
}

void BatteryGaugeControl::paintEvent(QPaintEvent* /*event*/) {
    ShowOffscreenImage(*this, PaintOffscreen());
}

const QImage* BatteryGaugeControl::PaintOffscreen() {
    if (!offscreen_ || offscreen_->Width() != width() || offscreen_->Height() != height()) {
        offscreen_.emplace(width(), height());
        drawn_.Invalidate();
    }
    if (!offscreen_->IsValid()) {
        return nullptr;
    }
    if (drawn_.Reuse(reading_)) {
        return &offscreen_->Image();
    }
    const ScreenRect client{0, 0, width(), height()};
    GdiPainter dc(&offscreen_->Image());
    // The default pen and brush: black outline, white inside.
    dc.FillRect(rect(), Qt::white);
    dc.FrameRect(rect(), Qt::black);
    dc.DrawSunkenBorder(rect());
    dc.SetTextColor(Qt::black);
    dc.DrawText(battery_readout::TextPlacementIn(client),
                QString::fromStdString(battery_readout::Text(reading_, strings_)));
    if (icons_ != nullptr) {
        const ScreenPoint origin = battery_readout::IconOrigin(client);
        dc.DrawIcon(origin.x, origin.y, icons_->Icon(battery_readout::IconId(reading_.batteryFlag)),
                    battery_readout::kIconSize);
    }
    return &offscreen_->Image();
}
