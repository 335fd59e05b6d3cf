#pragma once

#include <QByteArray>

struct SnapshotFile;
class PaletteSet;
class StringResources;

namespace png_export {

struct Choice {
    int scale = 1;
    bool legend = false;
};

// The PNG file of the snapshot's picture (with the legend when chosen), enlarged by
// the whole factor; empty when it could not be encoded.
QByteArray Encode(const SnapshotFile& file, const Choice& choice, const PaletteSet& palettes,
                  const StringResources* strings);

}  // namespace png_export
