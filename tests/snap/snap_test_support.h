#pragma once

#include <cstdint>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "document/document_archive.h"
#include "document/document_record.h"
#include "platform/whole_file.h"
#include "snap/snap_options.h"
#include "snap/snap_run.h"

namespace snap_test {

// A record as the document stores it, with values that exercise every field: a
// frame of varied temperatures including one that has no corrected value.
inline DocumentRecord SampleRecord() {
    DocumentRecord record;
    for (std::size_t k = 0; k < record.displayFrame.pixels.size(); ++k) {
        record.displayFrame[k] = static_cast<std::uint16_t>(2600 + (k * 37) % 700);
    }
    record.displayFrame[5] = 0;  // below the reflected background: no real result
    record.backgroundTemperature = 250;
    record.paletteNumber = 2;
    record.integrationCount = 4;
    record.spanLow = 2650;
    record.spanHigh = 3250;
    record.temperatureUnit = 2;
    record.emissivity = 0.87f;
    record.emissivityFactor = 1.0354f;
    record.snapshotNote = "K\xC3\xBChlrippe \"links\"\tB";
    record.secondSpotShown = true;
    record.spotPosition1 = 17;
    record.spotPosition2 = 230;
    record.captureTime = 1700000000;
    record.rangeLow = 2530;
    record.rangeHigh = 3930;
    record.rangeDescription =
        "-20..+120\xB0"
        "C";
    record.headSerialNumber = 4711;
    record.freezeTime = 1700000123;
    record.interpolatedMode = true;
    record.edgeRepair = false;
    return record;
}

inline void WriteRecord(const std::filesystem::path& file, const DocumentRecord& record) {
    whole_file::WriteAtomically(file, document_archive::Encode(record));
}

// Runs the tool in this process; `out` gets what it prints.
inline int RunSnap(const std::vector<std::string>& arguments, std::string* out = nullptr) {
    std::string error;
    const auto options = snap_options::Parse(arguments, error);
    if (!options) {
        return -1;
    }
    std::ostringstream printed;
    std::ostringstream errors;
    const int result = snap_run::Run(*options, nullptr, printed, errors);
    if (out != nullptr) {
        *out = printed.str();
    }
    return result;
}

}  // namespace snap_test
