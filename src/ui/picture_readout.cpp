#include "ui/picture_readout.h"

#include "display/integer_format.h"
#include "display/thermal_image_layout.h"
#include "ui/language_text.h"
#include "ui/panel_layout.h"

namespace {

constexpr float kWidestValue = -888.8f;

}  // namespace

PictureReadout::PictureReadout(const StringResources& strings, QWidget* parent)
    : QWidget(parent), strings_(strings), formatter_(&strings) {
    QGridLayout& rows = panel_layout::MakeRows(*this);
    panel_layout::AddHeading(rows, heading_);
    panel_layout::AddRow(rows, LanguageText(strings, kHottestText), hottest_);
    panel_layout::AddRow(rows, LanguageText(strings, kColdestText), coldest_);
    panel_layout::AddRow(rows, LanguageText(strings, kMeanText), mean_);
    // Room for the widest reading.
    const int widest = fontMetrics().horizontalAdvance(
        Reading(kWidestValue, FrameCell{0, kFrameSide - 1}, true, temperature_unit::kFahrenheit));
    for (QLabel* value : {&hottest_, &coldest_, &mean_}) {
        panel_layout::FixWidth(*value, widest);
    }
}

void PictureReadout::Show(const QString& heading, const FrameStatistics& statistics,
                          TemperatureUnit unit) {
    heading_.setText(heading);
    if (statistics.Empty()) {
        for (QLabel* value : {&hottest_, &coldest_, &mean_}) {
            value->setText(panel_layout::kUnknown);
        }
        return;
    }
    // A uniform picture has no one hottest or coldest cell.
    const bool withCells = statistics.Highest() > statistics.Lowest();
    hottest_.setText(Reading(statistics.Highest(), statistics.Hottest(), withCells, unit));
    coldest_.setText(Reading(statistics.Lowest(), statistics.Coldest(), withCells, unit));
    mean_.setText(QString::fromStdString(formatter_.FormatValue(statistics.Mean(), unit, false)));
}

QString PictureReadout::Reading(float value, FrameCell cell, bool withCell,
                                TemperatureUnit unit) const {
    QString text = QString::fromStdString(formatter_.FormatValue(value, unit, false));
    if (withCell) {
        const MarkerCell onPicture = MarkerCell::FromFrameCell(cell);
        text += QStringLiteral("  ") +
                QString::fromStdString(FormatIntegers(strings_.String(kCellFormat),
                                                      {onPicture.column + 1, onPicture.row + 1}));
    }
    return text;
}
