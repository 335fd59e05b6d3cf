// Arbitrary files through the document archive codec: load, store, load again. The
// second load must give the record of the first, and storing it again the same bytes.
#include <bit>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "document/archive_exception.h"
#include "document/archive_reader.h"
#include "document/archive_writer.h"
#include "document/document_archive.h"
#include "document/document_record.h"
#include "fuzz_check.h"

namespace {

// The record a document with a view starts a load from: both view modes known.
DocumentRecord StartRecord() {
    DocumentRecord record;
    record.interpolatedMode = false;
    record.edgeRepair = false;
    return record;
}

// Loads as the document does; `complete` tells whether the data held every field.
DocumentRecord Load(std::span<const std::uint8_t> bytes, bool& complete) {
    DocumentRecord record = StartRecord();
    ArchiveReader reader(bytes);
    complete = true;
    try {
        document_archive::Load(reader, record);
    } catch (const ArchiveException&) {
        complete = false;
    }
    return record;
}

std::vector<std::uint8_t> Store(const DocumentRecord& record) {
    ArchiveWriter writer;
    document_archive::Store(record, writer);
    return writer.Bytes();
}

bool SameBits(float a, float b) {
    return std::bit_cast<std::uint32_t>(a) == std::bit_cast<std::uint32_t>(b);
}

bool SameRecord(const DocumentRecord& a, const DocumentRecord& b) {
    return a.backgroundTemperature == b.backgroundTemperature &&
           a.paletteNumber == b.paletteNumber && a.integrationCount == b.integrationCount &&
           a.spanLow == b.spanLow && a.spanHigh == b.spanHigh &&
           a.temperatureUnit == b.temperatureUnit && SameBits(a.emissivity, b.emissivity) &&
           SameBits(a.emissivityFactor, b.emissivityFactor) && a.snapshotNote == b.snapshotNote &&
           a.secondSpotShown == b.secondSpotShown && a.spotPosition1 == b.spotPosition1 &&
           a.spotPosition2 == b.spotPosition2 && a.displayFrame == b.displayFrame &&
           a.captureTime == b.captureTime && a.rangeLow == b.rangeLow &&
           a.rangeHigh == b.rangeHigh && a.rangeDescription == b.rangeDescription &&
           a.headSerialNumber == b.headSerialNumber && a.freezeTime == b.freezeTime &&
           a.interpolatedMode == b.interpolatedMode && a.edgeRepair == b.edgeRepair;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    bool complete = false;
    const DocumentRecord first = Load(std::span(data, size), complete);
    const std::vector<std::uint8_t> stored = Store(first);
    // The empty note and description take 4 bytes each; every character at least 2 more.
    FUZZ_CHECK(stored.size() >= 585 - (first.secondSpotShown ? 0 : 1));

    const DocumentRecord second = Load(stored, complete);
    FUZZ_CHECK(complete);
    FUZZ_CHECK(SameRecord(first, second));
    FUZZ_CHECK(Store(second) == stored);
    return 0;
}
