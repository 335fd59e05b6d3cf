#pragma once

#include <QLabel>
#include <QWidget>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>

#include "acquisition/link_rate_meter.h"
#include "link/head_range.h"
#include "link/link_health.h"

class StringResources;

// The details panel's part about the line to the head: the port device, the head's
// serial number and range, frames received and taken per second, dropped and damaged
// packets, reconnections and the time since the last frame.
class LinkReadout : public QWidget {
  public:
    static constexpr int kHeading = 189;
    static constexpr int kPortText = 190;
    static constexpr int kSerialText = 191;
    static constexpr int kRangeText = 192;
    static constexpr int kReceivedText = 193;
    static constexpr int kTakenText = 194;
    static constexpr int kDroppedText = 195;
    static constexpr int kDamagedText = 196;
    static constexpr int kReconnectionsText = 197;
    static constexpr int kLastFrameText = 198;

    // What the link tells at one moment.
    struct Facts {
        std::filesystem::path port;
        std::uint16_t headSerial = 0;  // 0: no head heard yet
        HeadRange range;
        LinkHealth health;
        std::optional<LinkRateMeter::Rates> rates;
    };

    explicit LinkReadout(const StringResources& strings, QWidget* parent = nullptr);

    void Show(const Facts& facts, LinkRateMeter::Clock::time_point now);
    // Without a link every value is unknown.
    void ShowNoLink();

    QString Value(int nameId) const;

  private:
    const QLabel* ValueLabel(int nameId) const;
    void ShowPort(const std::filesystem::path& port);

    QLabel heading_;
    QLabel port_;
    QLabel serial_;
    QLabel range_;
    QLabel received_;
    QLabel taken_;
    QLabel dropped_;
    QLabel damaged_;
    QLabel reconnections_;
    QLabel lastFrame_;
};
