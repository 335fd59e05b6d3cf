#pragma once

#include <QLabel>
#include <QWidget>

#include "display/frame_statistics.h"
#include "display/temperature_formatter.h"

class StringResources;

// The details panel's part about the picture shown: a heading that says whose picture it
// is (live, held, or which snapshot), its hottest and coldest temperature with the cell
// (column and row on the picture, counted from 1 at the top left) and its mean.
class PictureReadout : public QWidget {
  public:
    static constexpr int kHottestText = 184;
    static constexpr int kColdestText = 185;
    static constexpr int kMeanText = 186;
    // "column %d, row %d"
    static constexpr int kCellFormat = 187;

    explicit PictureReadout(const StringResources& strings, QWidget* parent = nullptr);

    void Show(const QString& heading, const FrameStatistics& statistics, TemperatureUnit unit);

    QString Heading() const { return heading_.text(); }
    QString Hottest() const { return hottest_.text(); }
    QString Coldest() const { return coldest_.text(); }
    QString Mean() const { return mean_.text(); }

  private:
    QString Reading(float value, FrameCell cell, bool withCell, TemperatureUnit unit) const;

    const StringResources& strings_;
    TemperatureFormatter formatter_;
    QLabel heading_;
    QLabel hottest_;
    QLabel coldest_;
    QLabel mean_;
};
