#pragma once

#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDateTimeAxis>
#include <QLabel>
#include <QLineSeries>
#include <QValueAxis>
#include <QWidget>
#include <array>
#include <vector>

#include "display/frame_statistics.h"
#include "display/temperature_trend.h"

class StringResources;

// The details panel's trend: spot 1, spot 2 (while shown), the hottest and the coldest
// temperature over the last 1, 5 or 15 minutes (chosen above the plot), against the
// time of day and the temperature in the unit shown. Drawn by Qt Charts, and only when
// Show is called.
class TrendChart : public QWidget {
    Q_OBJECT

  public:
    // "%d min"
    static constexpr int kWindowFormat = 188;
    static constexpr int kHeading = 199;
    static constexpr std::array<int, 3> kWindowChoices{1, 5, 15};
    static constexpr int kFirstWindow = 5;
    // Two pixels or so apart across the plot: more would cost drawing time and show
    // hardly more.
    static constexpr std::size_t kMostPoints = 200;

    enum Line { kSpot1, kSpot2, kHottest, kColdest, kLineCount };

    explicit TrendChart(const StringResources& strings, QWidget* parent = nullptr);

    int WindowMinutes() const;
    // Any number of minutes selects the nearest choice.
    void SetWindowMinutes(int minutes);
    TemperatureTrend::Clock::duration Window() const;

    // Draws `points` over the window that ends at `now`, which is `wallNow` milliseconds
    // since 1970 on the clock of the time axis.
    void Show(const std::vector<TemperatureTrend::Point>& points,
              TemperatureTrend::Clock::time_point now, qint64 wallNow,
              const TemperatureCorrection& correction, const QString& unitText,
              bool secondSpotShown);

    const QLineSeries& Series(Line line) const { return *lines_[line]; }
    const QValueAxis& TemperatureAxis() const { return *temperature_; }
    const QDateTimeAxis& TimeAxis() const { return *time_; }

  signals:
    void WindowChosen(int minutes);

  private:
    void CreateLines(const StringResources& strings);
    void CreateAxes();
    void ScaleTemperatures(double lowest, double highest, const QString& unitText);

    QLabel heading_;
    QComboBox window_;
    QChartView view_;
    // The view's own chart (a chart set in its place would leave this one behind).
    QChart* chart_;
    std::array<QLineSeries*, kLineCount> lines_{};
    QDateTimeAxis* time_ = nullptr;
    QValueAxis* temperature_ = nullptr;
};
