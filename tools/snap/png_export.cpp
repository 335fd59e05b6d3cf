#include "snap/png_export.h"

#include <QBuffer>

#include "snap/snapshot_file.h"
#include "snap/snapshot_picture.h"

QByteArray png_export::Encode(const SnapshotFile& file, const Choice& choice,
                              const PaletteSet& palettes, const StringResources* strings) {
    const SnapshotPicture picture = SnapshotPicture::FromRecord(file.record);
    const QImage image = choice.legend
                             ? snapshot_picture::RenderWithLegend(picture, palettes, strings)
                             : snapshot_picture::Render(picture, palettes);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!snapshot_picture::Enlarge(image, choice.scale).save(&buffer, "PNG")) {
        return {};
    }
    return bytes;
}
