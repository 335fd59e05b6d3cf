#pragma once

#include <string>

struct SnapshotFile;
class PaletteSet;

// Every stored field of a snapshot or settings file in readable form.
namespace snapshot_info {

// "Label: value" lines.
std::string Text(const SnapshotFile& file, const PaletteSet& palettes);
// One JSON object on one line; its keys are listed in the README.
std::string Json(const SnapshotFile& file, const PaletteSet& palettes);

}  // namespace snapshot_info
