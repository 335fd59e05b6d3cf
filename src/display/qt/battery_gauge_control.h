#pragma once

#include <QImage>
#include <QWidget>
#include <optional>
#include <utility>

#include "display/qt/offscreen_dc.h"
#include "display/qt/paint_cache.h"
#include "platform/power_status.h"

class IconResources;
class StringResources;

// The small battery readout in the lower right corner: the charge as a text and a
// state icon. It reads the power status only when asked and repaints only when the
// reading changed. The face is drawn off-screen once per reading and copied to the
// screen at each paint.
class BatteryGaugeControl : public QWidget {
  public:
    explicit BatteryGaugeControl(QWidget* parent = nullptr);
    ~BatteryGaugeControl() override;

    // Sources of the texts 155, 156 and the icons 145 to 150; null gives none.
    void SetResources(const StringResources* strings, const IconResources* icons);
    // Where the power status is read from (the system's power supply folder unless
    // told otherwise).
    void SetPowerStatus(PowerStatus source) { source_ = std::move(source); }

    // Reads the power status; stores it and repaints only when it differs.
    void Refresh();
    const PowerReading& Reading() const { return reading_; }

    // Draws the control into its off-screen image, unless it already shows the current
    // reading, and returns it; null when it cannot be made.
    const QImage* PaintOffscreen();

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    const StringResources* strings_ = nullptr;
    const IconResources* icons_ = nullptr;
    PowerStatus source_;
    PowerReading reading_;
    std::optional<OffscreenDC> offscreen_;
    PaintCache<PowerReading> drawn_;
};
