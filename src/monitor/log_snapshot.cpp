#include "monitor/log_snapshot.h"

#include <algorithm>

#include "acquisition/acquisition_thread.h"
#include "document/document_archive.h"
#include "document/picture_model.h"

namespace {

std::uint8_t Position(const FrameCell& cell) {
    return static_cast<std::uint8_t>(cell.row * kFrameSide + cell.column);
}

// The picture's lowest and highest value (taken as signed, as the imager's Fit span
// does), at least the acquisition's narrowest span apart.
void FitSpan(const ThermalFrame& picture, DocumentRecord& record) {
    const auto [lowest, highest] = PictureModel::Extremes(picture);
    record.spanLow = lowest;
    record.spanHigh = static_cast<std::uint16_t>(
        std::max<int>(highest, std::min(lowest + AcquisitionThread::kMinimumSpan, 65535)));
}

}  // namespace

DocumentRecord log_snapshot::Record(const ThermalFrame& picture, const LogSettings& settings,
                                    const HeadStatus& head, std::int64_t time,
                                    const std::string& note) {
    DocumentRecord record;
    record.displayFrame = picture;
    FitSpan(picture, record);
    record.temperatureUnit = settings.correction.unit;
    record.backgroundTemperature = settings.correction.background;
    record.emissivity = settings.correction.emissivity;
    record.emissivityFactor = PictureModel::FactorOf(settings.correction.emissivity);
    record.integrationCount = static_cast<std::int16_t>(settings.averageCount);
    std::vector<FrameCell> spots;
    for (const auto& spot : settings.spots) {
        if (spot) {
            spots.push_back(*spot);
        }
    }
    if (!spots.empty()) {
        record.spotPosition1 = Position(spots[0]);
        record.secondSpotShown = spots.size() > 1;
        if (spots.size() > 1) {
            record.spotPosition2 = Position(spots[1]);
        }
    }
    record.rangeLow = head.range.lowerLimit;
    record.rangeHigh = head.range.upperLimit;
    record.rangeDescription = head.range.description;
    record.headSerialNumber = head.serialNumber;
    record.captureTime = time;
    record.freezeTime = time;
    record.snapshotNote = note;
    record.interpolatedMode = true;
    record.edgeRepair = false;
    return record;
}

std::filesystem::path log_snapshot::Store(const SnapshotFolder& folder,
                                          const DocumentRecord& record) {
    return folder.StoreNew(document_archive::Encode(record), record.captureTime);
}
