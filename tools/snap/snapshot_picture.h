#pragma once

#include <QImage>
#include <array>
#include <cstdint>

#include "display/display_state.h"
#include "display/picture_renderer.h"

struct DocumentRecord;
class PaletteSet;
class StringResources;

// What the imager shows of a stored record: the display state its controls get, the
// frame in the renderer's order and the modes of its first view.
struct SnapshotPicture {
    DisplayState state;
    PictureRenderer::ReversedFrame reversed{};
    bool interpolated = true;
    bool edgeMask = false;

    static SnapshotPicture FromRecord(const DocumentRecord& record);

    // The raw value under the screen cell (column, row), row 0 at the top.
    std::int16_t ValueAt(int column, int row) const;
    // The raw value under spot 0 or 1.
    std::int16_t SpotValue(int spot) const;
};

namespace snapshot_picture {

// The 192 × 192 picture as the thermal image control draws it: the renderer's bitmap
// with the edge mask over it, top row first.
QImage Render(const SnapshotPicture& picture, const PaletteSet& palettes);

// The picture with the colour scale beside it and the spot readouts below, as the
// imager's controls draw them.
QImage RenderWithLegend(const SnapshotPicture& picture, const PaletteSet& palettes,
                        const StringResources* strings);

// Every pixel repeated `factor` times in both directions.
QImage Enlarge(const QImage& image, int factor);

}  // namespace snapshot_picture
