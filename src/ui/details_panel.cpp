#include "ui/details_panel.h"

#include <QDateTime>
#include <QEvent>
#include <QVBoxLayout>
#include <algorithm>

#include "acquisition/taken_frame_queue.h"
#include "display/integer_format.h"
#include "display/qt/thermal_image_control.h"
#include "document/imager_document.h"
#include "document/update_flags.h"
#include "link/imager_link.h"
#include "ui/imager_view.h"
#include "ui/language_text.h"

namespace {

// What the readout of the picture depends on.
constexpr std::uint32_t kPictureFlags = update_flag::kFrame | update_flag::kCorrection |
                                        update_flag::kUnit | update_flag::kSnapshot |
                                        update_flag::kSpots | update_flag::kSecondSpot;
constexpr int kChartWidth = 340;
constexpr int kMargin = 6;

}  // namespace

DetailsPanel::DetailsPanel(ImagerView& view, QWidget* parent)
    : QWidget(parent),
      view_(view),
      picture_(view.GetServices().strings),
      link_(view.GetServices().strings),
      chart_(view.GetServices().strings),
      arrangement_(new QBoxLayout(QBoxLayout::LeftToRight, this)) {
    setObjectName(QStringLiteral("DetailsPanel"));
    auto* readouts = new QVBoxLayout(&readouts_);
    readouts->setContentsMargins(0, 0, 0, 0);
    readouts->setSpacing(kMargin);
    readouts->addWidget(&picture_);
    readouts->addWidget(&link_);
    readouts->addStretch(1);
    // Fixed, so that the window keeps its size as the values change.
    readouts_.setFixedWidth(readouts_.sizeHint().width());
    arrangement_->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    arrangement_->setSpacing(kMargin);
    arrangement_->addWidget(&readouts_);
    arrangement_->addWidget(&chart_, 1);
    RememberLiveSettings();
    Arrange();

    connect(&view_, &ImagerView::ChangesShown, this, &DetailsPanel::FollowView);
    view_.installEventFilter(this);
    connect(&timer_, &QTimer::timeout, this,
            [this] { Refresh(Clock::now(), QDateTime::currentMSecsSinceEpoch()); });
    connect(&chart_, &TrendChart::WindowChosen, this,
            [this] { ShowTrend(Clock::now(), QDateTime::currentMSecsSinceEpoch()); });
    timer_.start(kRefreshInterval);
}

void DetailsPanel::SetSources(const ImagerLink* link, TakenFrameQueue* takenFrames) {
    linkSource_ = link;
    takenFrames_ = takenFrames;
}

// The panel is as tall as the screen; a tall one holds the readouts above the trend.
void DetailsPanel::Arrange() {
    const int height = view_.height();
    const bool stacked = height >= kStackedHeight;
    setFixedHeight(height);
    arrangement_->setDirection(stacked ? QBoxLayout::TopToBottom : QBoxLayout::LeftToRight);
    chart_.setFixedWidth(stacked ? std::max(kChartWidth, readouts_.width()) : kChartWidth);
}

bool DetailsPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &view_ && event->type() == QEvent::Resize) {
        Arrange();
    }
    return QWidget::eventFilter(watched, event);
}

void DetailsPanel::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    Arrange();
    Refresh(Clock::now(), QDateTime::currentMSecsSinceEpoch());
}

void DetailsPanel::FollowView(std::uint32_t hint) {
    if ((hint & kPictureFlags) == 0) {
        return;
    }
    const bool liveSettingsChanged = RememberLiveSettings();
    if (!isVisible()) {
        return;
    }
    ShowPicture();
    if (liveSettingsChanged) {
        ShowTrend(Clock::now(), QDateTime::currentMSecsSinceEpoch(), true);
    }
}

bool DetailsPanel::RememberLiveSettings() {
    const ImagerDocument& document = view_.GetDocument();
    if (document.SnapshotIndex() >= 0) {
        return false;
    }
    const LiveSettings now{ShownCorrection(),
                           {document.SpotPosition(0), document.SpotPosition(1)},
                           document.IsSecondSpotShown()};
    const bool changed = !(now == live_);
    live_ = now;
    return changed;
}

TemperatureCorrection DetailsPanel::ShownCorrection() const {
    const ImagerDocument& document = view_.GetDocument();
    return {document.TemperatureUnit(), document.BackgroundTemperature(), document.Emissivity()};
}

void DetailsPanel::Refresh(Clock::time_point now, qint64 wallNow) {
    TakeFrames();
    if (linkSource_ != nullptr) {
        lastHealth_ = linkSource_->Health();
        rates_.Sample(now, lastHealth_);
    }
    if (!isVisible()) {
        return;
    }
    ShowPicture();
    ShowLink(now);
    ShowTrend(now, wallNow);
}

void DetailsPanel::TakeFrames() {
    if (takenFrames_ == nullptr) {
        return;
    }
    for (const TakenFrameQueue::Entry& entry : takenFrames_->TakeAll()) {
        TemperatureTrend::Reading reading = TemperatureTrend::ReadingOf(
            entry.frame, live_.correction, live_.spots, live_.secondSpotShown);
        reading.time = entry.time;
        reading.headSerial = entry.headSerial;
        trend_.Add(reading);
    }
}

void DetailsPanel::ShowPicture() {
    const TemperatureCorrection correction = ShownCorrection();
    picture_.Show(PictureHeading(),
                  FrameStatistics::Of(view_.GetDocument().DisplayFrame(), correction),
                  correction.unit);
}

QString DetailsPanel::PictureHeading() const {
    const ImagerDocument& document = view_.GetDocument();
    const StringResources& strings = view_.GetServices().strings;
    if (document.SnapshotIndex() >= 0) {
        return QString::fromStdString(
            FormatIntegers(strings.String(ThermalImageControl::kStatusFormatText),
                           {document.SnapshotIndex() + 1, document.CountSnapshots()}));
    }
    return LanguageText(strings, document.IsLive() ? kLiveHeading : kHeldHeading);
}

void DetailsPanel::ShowLink(Clock::time_point now) {
    if (linkSource_ == nullptr) {
        link_.ShowNoLink();
        return;
    }
    link_.Show({linkSource_->DevicePath(), linkSource_->HeadSerialNumber(),
                linkSource_->CurrentRange(), lastHealth_, rates_.Current()},
               now);
}

void DetailsPanel::ShowTrend(Clock::time_point now, qint64 wallNow, bool forced) {
    const auto stretch = TemperatureTrend::Stretch(chart_.Window(), TrendChart::kMostPoints);
    const Clock::time_point current = TemperatureTrend::StartOfStretch(now, stretch);
    if (!isVisible() || (!forced && current == drawnStretch_ && chart_.Window() == drawnWindow_)) {
        return;
    }
    drawnStretch_ = current;
    drawnWindow_ = chart_.Window();
    const TemperatureFormatter units(&view_.GetServices().strings);
    chart_.Show(trend_.Points(now, chart_.Window(), TrendChart::kMostPoints), now, wallNow,
                live_.correction, QString::fromStdString(units.UnitText(live_.correction.unit)),
                live_.secondSpotShown);
}
