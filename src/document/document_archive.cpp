#include "document/document_archive.h"

#include <algorithm>

#include "document/archive_exception.h"
#include "document/archive_reader.h"
#include "document/archive_writer.h"
#include "document/document_record.h"
#include "document/text_codec.h"

namespace {

constexpr float kGroup30 = 3.0f;
constexpr float kGroup31 = 3.1f;
constexpr float kGroup32 = 3.2f;
constexpr float kGroup33 = 3.3f;
constexpr int kReservedLongs = 3;
constexpr std::int32_t kInterpolatedOn = 3;
// Whole degrees whose tenths still fit 16 bits; stored values beyond are held there
// instead of wrapping around to the other sign.
constexpr std::int16_t kWarmestDegrees = 3276;

void StoreGroup30(const DocumentRecord& record, ArchiveWriter& archive) {
    archive.WriteWord(static_cast<std::uint16_t>(record.backgroundTemperature / 10));
    archive.WriteWord(static_cast<std::uint16_t>(record.paletteNumber));
    archive.WriteWord(static_cast<std::uint16_t>(record.integrationCount));
    archive.WriteWord(record.spanLow);
    archive.WriteWord(record.spanHigh);
    archive.WriteWord(static_cast<std::uint16_t>(record.temperatureUnit));
    archive.WriteFloat(record.emissivity);
    archive.WriteFloat(record.emissivityFactor);
    archive.WriteText(text_codec::Utf8ToUtf16(record.snapshotNote));
    archive.WriteLong(record.secondSpotShown ? 2 : 1);
    archive.WriteByte(record.spotPosition1);
    if (record.secondSpotShown) {
        archive.WriteByte(record.spotPosition2);
    }
    for (std::uint16_t pixel : record.displayFrame.pixels) {
        archive.WriteWord(pixel);
    }
    archive.WriteTime(record.captureTime);
}

void LoadSpots(ArchiveReader& archive, DocumentRecord& record) {
    const std::int32_t count = archive.ReadLong();
    record.secondSpotShown = count > 1;
    if (count <= 0) {
        return;
    }
    // A count past the end of the data still takes the spots that are there; the
    // reads then end in the end-of-data failure.
    record.spotPosition1 = archive.ReadByte();
    if (count > 1) {
        record.spotPosition2 = archive.ReadByte();
        archive.Skip(static_cast<std::uint64_t>(count) - 2);
    }
}

void LoadGroup30(ArchiveReader& archive, DocumentRecord& record) {
    const auto degrees = std::clamp(static_cast<std::int16_t>(archive.ReadWord()),
                                    static_cast<std::int16_t>(-kWarmestDegrees), kWarmestDegrees);
    record.backgroundTemperature = static_cast<std::int16_t>(degrees * 10);
    record.paletteNumber = static_cast<std::int16_t>(archive.ReadWord());
    record.integrationCount = static_cast<std::int16_t>(archive.ReadWord());
    record.spanLow = archive.ReadWord();
    record.spanHigh = archive.ReadWord();
    record.temperatureUnit = static_cast<std::int16_t>(archive.ReadWord());
    record.emissivity = archive.ReadFloat();
    record.emissivityFactor = archive.ReadFloat();
    record.snapshotNote = archive.ReadText();
    LoadSpots(archive, record);
    for (std::uint16_t& pixel : record.displayFrame.pixels) {
        pixel = archive.ReadWord();
    }
    record.captureTime = archive.ReadTime();
}

void LoadGroup32(ArchiveReader& archive, DocumentRecord& record) {
    record.rangeLow = static_cast<std::uint16_t>(archive.ReadLong());
    record.rangeHigh = static_cast<std::uint16_t>(archive.ReadLong());
    // Read for the record's completeness; the document applies neither.
    record.rangeDescription = text_codec::Utf16ToBytes(text_codec::Utf8ToUtf16(archive.ReadText()));
    record.headSerialNumber = archive.ReadWord();
    record.freezeTime = archive.ReadTime();
}

void LoadGroup33(ArchiveReader& archive, DocumentRecord& record) {
    record.interpolatedMode = archive.ReadLong() > 0;
    record.edgeRepair = archive.ReadByte() != 0;
}

}  // namespace

void document_archive::Store(const DocumentRecord& record, ArchiveWriter& archive) {
    archive.WriteFloat(document_archive::kVersion);
    StoreGroup30(record, archive);
    for (int i = 0; i < kReservedLongs; ++i) {
        archive.WriteLong(0);
    }
    archive.WriteLong(record.rangeLow);
    archive.WriteLong(record.rangeHigh);
    archive.WriteText(text_codec::BytesToUtf16(record.rangeDescription));
    archive.WriteWord(record.headSerialNumber);
    archive.WriteTime(record.freezeTime);
    archive.WriteLong(record.interpolatedMode.value_or(false) ? kInterpolatedOn : 0);
    archive.WriteByte(record.edgeRepair.value_or(false) ? 1 : 0);
}

void document_archive::Load(ArchiveReader& archive, DocumentRecord& record) {
    const float version = archive.ReadFloat();
    if (version >= kGroup30) {
        LoadGroup30(archive, record);
    }
    if (version >= kGroup31) {
        archive.Skip(kReservedLongs * 4);
    }
    if (version >= kGroup32) {
        LoadGroup32(archive, record);
    }
    if (version >= kGroup33) {
        LoadGroup33(archive, record);
    }
}

std::vector<std::uint8_t> document_archive::Encode(const DocumentRecord& record) {
    ArchiveWriter archive;
    Store(record, archive);
    return archive.Bytes();
}

bool document_archive::Decode(std::span<const std::uint8_t> bytes, DocumentRecord& record) {
    ArchiveReader archive(bytes);
    try {
        Load(archive, record);
    } catch (const ArchiveException&) {
        return false;
    }
    return true;
}
