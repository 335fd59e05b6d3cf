#include "ui/trend_chart.h"

#include <QDateTime>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <limits>

#include "display/integer_format.h"
#include "display/qt/thermal_image_control.h"
#include "display/temperature_formatter.h"
#include "ui/language_text.h"
#include "ui/panel_layout.h"
#include "ui/picture_readout.h"

namespace {

struct LineLook {
    int nameId;
    QColor colour;
};

// Spot captions as the picture shows them; the extremes as the panel names them.
constexpr std::array<LineLook, TrendChart::kLineCount> kLooks{{
    {ThermalImageControl::kFirstMarkerText, QColor(0, 150, 0)},
    {ThermalImageControl::kSecondMarkerText, QColor(220, 130, 0)},
    {PictureReadout::kHottestText, QColor(210, 0, 0)},
    {PictureReadout::kColdestText, QColor(0, 60, 220)},
}};

constexpr int kMillisecondsPerMinute = 60 * 1000;
// Below this span (in the unit shown) the temperature labels get a decimal.
constexpr double kSpanForWholeNumbers = 5.0;

}  // namespace

TrendChart::TrendChart(const StringResources& strings, QWidget* parent)
    : QWidget(parent), chart_(view_.chart()) {
    for (int minutes : kWindowChoices) {
        window_.addItem(
            QString::fromStdString(FormatIntegers(strings.String(kWindowFormat), {minutes})),
            minutes);
    }
    // The keys stay with the picture.
    window_.setFocusPolicy(Qt::NoFocus);
    view_.setFocusPolicy(Qt::NoFocus);
    SetWindowMinutes(kFirstWindow);
    connect(&window_, &QComboBox::activated, this, [this] { emit WindowChosen(WindowMinutes()); });

    chart_->setBackgroundRoundness(0);
    chart_->setMargins(QMargins(0, 0, 0, 0));
    chart_->legend()->setAlignment(Qt::AlignBottom);
    chart_->legend()->setFont(font());
    view_.setRenderHint(QPainter::Antialiasing);
    view_.setFrameShape(QFrame::NoFrame);
    CreateLines(strings);
    CreateAxes();

    heading_.setText(LanguageText(strings, kHeading));
    panel_layout::MakeHeading(heading_);
    auto* top = new QHBoxLayout;
    top->addWidget(&heading_, 1);
    top->addWidget(&window_);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);
    column->addLayout(top);
    column->addWidget(&view_, 1);
}

void TrendChart::CreateLines(const StringResources& strings) {
    for (int line = 0; line < kLineCount; ++line) {
        auto* series = new QLineSeries(chart_);
        series->setName(LanguageText(strings, kLooks[line].nameId).trimmed());
        QPen pen(kLooks[line].colour);
        pen.setWidth(2);
        series->setPen(pen);
        chart_->addSeries(series);
        lines_[line] = series;
    }
}

void TrendChart::CreateAxes() {
    time_ = new QDateTimeAxis(chart_);
    temperature_ = new QValueAxis(chart_);
    time_->setLabelsFont(font());
    temperature_->setLabelsFont(font());
    temperature_->setTitleFont(font());
    chart_->addAxis(time_, Qt::AlignBottom);
    chart_->addAxis(temperature_, Qt::AlignLeft);
    for (QLineSeries* series : lines_) {
        series->attachAxis(time_);
        series->attachAxis(temperature_);
    }
    temperature_->setTickCount(5);
}

int TrendChart::WindowMinutes() const {
    return window_.currentData().toInt();
}

void TrendChart::SetWindowMinutes(int minutes) {
    const auto nearest = std::min_element(
        kWindowChoices.begin(), kWindowChoices.end(),
        [minutes](int a, int b) { return std::abs(a - minutes) < std::abs(b - minutes); });
    window_.setCurrentIndex(static_cast<int>(nearest - kWindowChoices.begin()));
}

TemperatureTrend::Clock::duration TrendChart::Window() const {
    return std::chrono::minutes(WindowMinutes());
}

void TrendChart::Show(const std::vector<TemperatureTrend::Point>& points,
                      TemperatureTrend::Clock::time_point now, qint64 wallNow,
                      const TemperatureCorrection& correction, const QString& unitText,
                      bool secondSpotShown) {
    std::array<QList<QPointF>, kLineCount> values;
    double lowest = std::numeric_limits<double>::infinity();
    double highest = -lowest;
    const auto add = [&](Line line, qreal x, std::int16_t raw) {
        const double value = TemperatureFormatter::ComputeTemperature(
            raw, correction.unit, correction.background, correction.emissivity);
        if (std::isfinite(value)) {
            values[line].append(QPointF(x, value));
            lowest = std::min(lowest, value);
            highest = std::max(highest, value);
        }
    };
    for (const TemperatureTrend::Point& point : points) {
        const auto age = std::chrono::duration_cast<std::chrono::milliseconds>(now - point.time);
        const auto x = static_cast<qreal>(wallNow - age.count());
        add(kSpot1, x, point.spot1);
        if (secondSpotShown && point.spot2) {
            add(kSpot2, x, *point.spot2);
        }
        add(kHottest, x, point.highest);
        add(kColdest, x, point.lowest);
    }
    for (int line = 0; line < kLineCount; ++line) {
        lines_[line]->replace(values[line]);
    }
    lines_[kSpot2]->setVisible(secondSpotShown);

    const int minutes = WindowMinutes();
    time_->setFormat(minutes == 1 ? QStringLiteral("hh:mm:ss") : QStringLiteral("hh:mm"));
    time_->setTickCount(minutes == 5 ? 6 : 4);
    time_->setRange(QDateTime::fromMSecsSinceEpoch(wallNow - minutes * kMillisecondsPerMinute),
                    QDateTime::fromMSecsSinceEpoch(wallNow));
    if (lowest <= highest) {
        ScaleTemperatures(lowest, highest, unitText);
    }
}

void TrendChart::ScaleTemperatures(double lowest, double highest, const QString& unitText) {
    // Room above and below the lines, at least half a degree.
    const double margin = std::max(0.5, (highest - lowest) * 0.05);
    temperature_->setRange(lowest - margin, highest + margin);
    temperature_->applyNiceNumbers();
    const double span = temperature_->max() - temperature_->min();
    temperature_->setLabelFormat(span < kSpanForWholeNumbers ? QStringLiteral("%.1f")
                                                             : QStringLiteral("%.0f"));
    // In the title: the labels' format takes no text beyond Latin-1.
    temperature_->setTitleText(unitText);
}
