#include "snap/snapshot_picture.h"

#include "display/qt/colour_scale_control.h"
#include "display/qt/gdi_painter.h"
#include "display/qt/offscreen_dc.h"
#include "display/qt/thermal_image_control.h"
#include "display/temperature_formatter.h"
#include "display/thermal_image_layout.h"
#include "document/document_record.h"
#include "palette/palette_set.h"
#include "platform/string_resources.h"

namespace {

// Sizes of the imager's controls: the thermal image control is 196 pixels square with
// the picture at (2, 2); the colour scale beside it is 40 × 196.
constexpr int kControlSide = PictureRenderer::kSide + 2 * ThermalImageLayout::kPictureOrigin;
constexpr int kScaleWidth = 40;
constexpr int kLegendGap = 3;
constexpr int kReadoutLineHeight = 14;
constexpr int kReadoutLines = 3;

QImage ColourScaleImage(const SnapshotPicture& picture, const PaletteSet& palettes) {
    ColourScaleControl scale;
    scale.resize(kScaleWidth, kControlSide);
    scale.Initialise(&palettes, picture.state);
    const QImage* image = scale.PaintOffscreen();
    return image != nullptr ? image->copy() : QImage();
}

std::string Text(const StringResources* strings, int id) {
    return strings != nullptr ? strings->String(id) : std::string();
}

// Spot 1, spot 2 and their difference, one line each, as the markers' readouts read.
std::array<std::string, kReadoutLines> Readouts(const SnapshotPicture& picture,
                                                const StringResources* strings) {
    const TemperatureFormatter formatter(strings);
    const DisplayState& s = picture.state;
    auto reading = [&](int spot) {
        return formatter.FormatTemperature(picture.SpotValue(spot), s.unit, s.background,
                                           s.emissivity, false);
    };
    std::array<std::string, kReadoutLines> lines{
        Text(strings, ThermalImageControl::kFirstMarkerText) + reading(0)};
    if (s.secondSpotShown) {
        lines[1] = Text(strings, ThermalImageControl::kSecondMarkerText) + reading(1);
        lines[2] = "\xCE\x94 " + formatter.FormatTemperatureDifference(picture.SpotValue(0),
                                                                       picture.SpotValue(1), s.unit,
                                                                       s.background, s.emissivity);
    }
    return lines;
}

}  // namespace

SnapshotPicture SnapshotPicture::FromRecord(const DocumentRecord& record) {
    SnapshotPicture picture;
    DisplayState& s = picture.state;
    s.paletteNumber = record.paletteNumber;
    s.spanLow = static_cast<std::int16_t>(record.spanLow);
    s.spanHigh = static_cast<std::int16_t>(record.spanHigh);
    s.spots = {record.spotPosition1, record.spotPosition2};
    s.emissivity = record.emissivity;
    s.unit = record.temperatureUnit;
    s.secondSpotShown = record.secondSpotShown;
    s.background = record.backgroundTemperature;
    picture.reversed = PictureRenderer::Reverse(record.displayFrame);
    picture.interpolated = record.interpolatedMode.value_or(true);
    picture.edgeMask = record.edgeRepair.value_or(false);
    return picture;
}

std::int16_t SnapshotPicture::ValueAt(int column, int row) const {
    return reversed[static_cast<std::size_t>(MarkerCell{column, row}.ReversedFrameIndex())];
}

std::int16_t SnapshotPicture::SpotValue(int spot) const {
    const MarkerCell cell = MarkerCell::FromPosition(state.spots[spot == 0 ? 0 : 1]);
    return ValueAt(cell.column, cell.row);
}

// Drawn into a control-sized image by the thermal image control's own picture
// drawing, then cut out at the picture's place.
QImage snapshot_picture::Render(const SnapshotPicture& picture, const PaletteSet& palettes) {
    PictureRenderer renderer;
    renderer.Render(picture.reversed, picture.interpolated, picture.state.spanLow,
                    picture.state.spanHigh, palettes, picture.state.paletteNumber);
    OffscreenDC control(kControlSide, kControlSide);
    {
        GdiPainter dc(&control.Image());
        ThermalImageControl::DrawPicture(
            dc, renderer, ThermalImageLayout(ScreenRect{0, 0, kControlSide, kControlSide}),
            picture.interpolated, picture.edgeMask);
    }
    constexpr int o = ThermalImageLayout::kPictureOrigin;
    return control.Image()
        .copy(o, o, PictureRenderer::kSide, PictureRenderer::kSide)
        .convertToFormat(QImage::Format_RGB888);
}

QImage snapshot_picture::RenderWithLegend(const SnapshotPicture& picture,
                                          const PaletteSet& palettes,
                                          const StringResources* strings) {
    const int side = PictureRenderer::kSide;
    OffscreenDC sheet(side + kLegendGap + kScaleWidth,
                      kControlSide + kLegendGap + kReadoutLines * kReadoutLineHeight);
    {
        GdiPainter dc(&sheet.Image());
        dc.BitBlt(0, ThermalImageLayout::kPictureOrigin, Render(picture, palettes));
        dc.BitBlt(side + kLegendGap, 0, ColourScaleImage(picture, palettes));
        dc.SetTextColor(Qt::white);
        const auto lines = Readouts(picture, strings);
        for (int k = 0; k < kReadoutLines; ++k) {
            const int top = kControlSide + kLegendGap + k * kReadoutLineHeight;
            dc.DrawText(TextPlacement{ScreenRect{2, top, side, top + kReadoutLineHeight}},
                        QString::fromStdString(lines[static_cast<std::size_t>(k)]));
        }
    }
    return sheet.Image().convertToFormat(QImage::Format_RGB888);
}

QImage snapshot_picture::Enlarge(const QImage& image, int factor) {
    if (factor <= 1) {
        return image;
    }
    return image.scaled(image.width() * factor, image.height() * factor, Qt::IgnoreAspectRatio,
                        Qt::FastTransformation);
}
