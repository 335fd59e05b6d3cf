#pragma once

#include <QWidget>
#include <utility>

#include "platform/power_status.h"

class IconResources;
class StringResources;

// The small battery readout in the lower right corner: the charge as a text and a
// state icon. It reads the power status only when asked and repaints only when the
// reading changed. It paints straight onto the screen.
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

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    const StringResources* strings_ = nullptr;
    const IconResources* icons_ = nullptr;
    PowerStatus source_;
    PowerReading reading_;
};
