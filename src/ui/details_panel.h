#pragma once

#include <QBoxLayout>
#include <QTimer>
#include <QWidget>
#include <array>
#include <chrono>
#include <cstdint>

#include "acquisition/link_rate_meter.h"
#include "display/frame_statistics.h"
#include "display/temperature_trend.h"
#include "ui/link_readout.h"
#include "ui/picture_readout.h"
#include "ui/trend_chart.h"

class ImagerLink;
class ImagerView;
class TakenFrameQueue;

// The details panel beside the screen: the hottest and coldest cell of the picture shown
// (updated with the picture), the trend of the frames taken and the health of the line
// to the head (both once a second). The trend collects whether or not the panel is
// shown and whatever the picture does (held, a snapshot shown), in the settings of live
// pictures; a different head clears it. Readouts and trend are drawn only while the
// panel is shown.
class DetailsPanel : public QWidget {
  public:
    using Clock = TemperatureTrend::Clock;
    static constexpr int kLiveHeading = 182;
    static constexpr int kHeldHeading = 183;
    static constexpr std::chrono::milliseconds kRefreshInterval{1000};
    // From this height on the readouts stand above the trend instead of beside it.
    static constexpr int kStackedHeight = 400;

    // Follows the view's updates and reads its document, in its language.
    explicit DetailsPanel(ImagerView& view, QWidget* parent = nullptr);

    // Where the link's counts and the frames taken come from (both may be null: the
    // link's values are then unknown and the trend stays empty); they must outlive the
    // panel.
    void SetSources(const ImagerLink* link, TakenFrameQueue* takenFrames);

    // The timer's work at `now` (`wallNow` milliseconds since 1970): the frames taken go
    // into the trend; while the panel is shown, trend, link and heading are drawn anew.
    void Refresh(Clock::time_point now, qint64 wallNow);

    const TemperatureTrend& Trend() const { return trend_; }
    PictureReadout& Picture() { return picture_; }
    LinkReadout& Link() { return link_; }
    TrendChart& Chart() { return chart_; }

  protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // What the trend reads live frames with: the settings of live pictures, kept while a
    // snapshot shows its own.
    struct LiveSettings {
        TemperatureCorrection correction;
        std::array<std::uint8_t, 2> spots{};
        bool secondSpotShown = true;
        bool operator==(const LiveSettings&) const = default;
    };

    void Arrange();
    void FollowView(std::uint32_t hint);
    // True when they changed.
    bool RememberLiveSettings();
    void TakeFrames();
    void ShowPicture();
    void ShowLink(Clock::time_point now);
    // The trend is drawn anew once `now` is in another of its stretches than at the last
    // drawing (each second, or each few seconds of a long window), for another window,
    // or when forced (the live unit or corrections changed).
    void ShowTrend(Clock::time_point now, qint64 wallNow, bool forced = false);
    QString PictureHeading() const;
    TemperatureCorrection ShownCorrection() const;

    ImagerView& view_;
    const ImagerLink* linkSource_ = nullptr;
    TakenFrameQueue* takenFrames_ = nullptr;
    // Before the readouts it holds, so that it goes after them.
    QWidget readouts_;
    PictureReadout picture_;
    LinkReadout link_;
    TrendChart chart_;
    QBoxLayout* arrangement_;
    TemperatureTrend trend_;
    LinkRateMeter rates_;
    LinkHealth lastHealth_;
    LiveSettings live_;
    Clock::time_point drawnStretch_;
    Clock::duration drawnWindow_{};
    QTimer timer_;
};
