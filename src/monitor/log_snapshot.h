#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "document/document_record.h"
#include "document/snapshot_folder.h"
#include "link/thermal_frame.h"
#include "monitor/log_settings.h"
#include "monitor/reading_maker.h"

// Snapshot files of what a log sees, in the imager's format and naming, so that the
// imager browses them and quorvel-snap exports them.
namespace log_snapshot {

// The record of `picture` (averaged as the log averages): the log's corrections and unit,
// its first two spots as the markers, the head's range and serial number, the span fitted
// to the picture, smooth display, `note` as the note, captured at `time`.
DocumentRecord Record(const ThermalFrame& picture, const LogSettings& settings,
                      const HeadStatus& head, std::int64_t time, const std::string& note);

// Stores `record` as the next snapshot of `folder`; its path. Raises FileError.
std::filesystem::path Store(const SnapshotFolder& folder, const DocumentRecord& record);

}  // namespace log_snapshot
