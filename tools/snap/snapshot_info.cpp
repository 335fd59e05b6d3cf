#include "snap/snapshot_info.h"

#include <cstdio>
#include <ctime>
#include <vector>

#include "display/frame_statistics.h"
#include "display/temperature_formatter.h"
#include "display/thermal_image_layout.h"
#include "display/unit_names.h"
#include "document/json_text.h"
#include "document/text_codec.h"
#include "palette/palette_set.h"
#include "platform/local_time.h"
#include "snap/snapshot_file.h"
#include "snap/snapshot_picture.h"

namespace {

// Enough digits for a float to read back as the same float.
constexpr int kFloatDigits = 9;

// One field: its JSON key and value, and its label and text for the text form (no
// label: JSON only).
struct Field {
    std::string key;
    std::string json;
    std::string label;
    std::string text;
};

std::string LocalTime(std::int64_t time) {
    const std::tm local = local_time::Breakdown(time);
    char text[40];
    const std::size_t length = std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    return std::string(text, length);
}

std::string Integer(long long value) {
    return std::to_string(value);
}

std::string Flag(const std::optional<bool>& value) {
    return value ? (*value ? "true" : "false") : "null";
}

std::string SpotJson(const SnapshotPicture& picture, const SnapshotFile& file, int spot) {
    const TemperatureFormatter formatter;
    const DisplayState& s = picture.state;
    const std::string text = formatter.FormatTemperature(picture.SpotValue(spot), s.unit,
                                                         s.background, s.emissivity, false);
    const std::uint8_t position = spot == 0 ? file.record.spotPosition1 : file.record.spotPosition2;
    return json_text::Object({{"position", Integer(position)},
                              {"column", Integer(position % 16)},
                              {"row", Integer(position / 16)},
                              {"raw", Integer(picture.SpotValue(spot))},
                              {"temperature", text == "*" ? "null" : text}});
}

std::string SpotText(const SnapshotPicture& picture, const SnapshotFile& file, int spot) {
    const TemperatureFormatter formatter;
    const DisplayState& s = picture.state;
    const std::uint8_t position = spot == 0 ? file.record.spotPosition1 : file.record.spotPosition2;
    return "column " + Integer(position % 16) + ", row " + Integer(position / 16) + ": " +
           formatter.FormatTemperature(picture.SpotValue(spot), s.unit, s.background, s.emissivity,
                                       false) +
           " " + unit_names::Letter(s.unit);
}

// The picture's lowest, highest and mean corrected temperature and the screen cells of
// the extremes; empty statistics when no cell has a real result.
struct PictureStatistics {
    FrameStatistics statistics;
    MarkerCell hottest;
    MarkerCell coldest;

    static PictureStatistics Of(const DocumentRecord& r) {
        PictureStatistics p;
        p.statistics = FrameStatistics::Of(
            r.displayFrame, {r.temperatureUnit, r.backgroundTemperature, r.emissivity});
        const auto cell = [](FrameCell c) {
            return MarkerCell::FromFrameIndex(c.row * kFrameSide + c.column);
        };
        p.hottest = cell(p.statistics.Hottest());
        p.coldest = cell(p.statistics.Coldest());
        return p;
    }
};

// Lowest and highest as the imager prints temperatures; the mean with two decimals.
std::string Value(const PictureStatistics& p, double value, bool mean) {
    if (p.statistics.Empty()) {
        return "";
    }
    char text[32];
    std::snprintf(text, sizeof text, mean ? "%.2f" : "%.1f", value);
    return text;
}

std::string CellText(const MarkerCell& cell) {
    return "column " + Integer(cell.column) + ", row " + Integer(cell.row);
}

std::string CellJson(const PictureStatistics& p, const MarkerCell& cell) {
    if (p.statistics.Empty()) {
        return "null";
    }
    return json_text::Object({{"column", Integer(cell.column)}, {"row", Integer(cell.row)}});
}

std::string StatisticsText(const DocumentRecord& r) {
    const PictureStatistics p = PictureStatistics::Of(r);
    if (p.statistics.Empty()) {
        return "Lowest, highest, mean: none (no cell has a real temperature)\n";
    }
    const FrameStatistics& s = p.statistics;
    const std::string unit = " " + unit_names::Letter(r.temperatureUnit);
    return "Lowest: " + CellText(p.coldest) + ": " + Value(p, s.Lowest(), false) + unit +
           "\nHighest: " + CellText(p.hottest) + ": " + Value(p, s.Highest(), false) + unit +
           "\nMean: " + Value(p, s.Mean(), true) + unit + "\n";
}

void AddStatisticsJson(const DocumentRecord& r, json_text::Members& members) {
    const PictureStatistics p = PictureStatistics::Of(r);
    const FrameStatistics& s = p.statistics;
    auto number = [&](double value, bool mean) {
        return s.Empty() ? std::string("null") : Value(p, value, mean);
    };
    members.emplace_back("lowest", number(s.Lowest(), false));
    members.emplace_back("highest", number(s.Highest(), false));
    members.emplace_back("mean", number(s.Mean(), true));
    members.emplace_back("coldest", CellJson(p, p.coldest));
    members.emplace_back("hottest", CellJson(p, p.hottest));
}

std::string Frame(const DocumentRecord& record) {
    std::vector<std::string> values;
    for (std::uint16_t pixel : record.displayFrame.pixels) {
        values.push_back(Integer(pixel));
    }
    return json_text::Array(values);
}

std::vector<Field> TimeAndSpanFields(const DocumentRecord& r) {
    return {
        {"captureTime", Integer(r.captureTime), "", ""},
        {"captureLocalTime", json_text::Quote(LocalTime(r.captureTime)), "Captured",
         LocalTime(r.captureTime)},
        {"freezeTime", Integer(r.freezeTime), "", ""},
        {"freezeLocalTime", json_text::Quote(LocalTime(r.freezeTime)), "Frozen",
         LocalTime(r.freezeTime)},
        {"spanLow", Integer(r.spanLow), "Span (0.1 K)",
         Integer(r.spanLow) + " to " + Integer(r.spanHigh)},
        {"spanHigh", Integer(r.spanHigh), "", ""},
        {"rangeLow", Integer(r.rangeLow), "Recorded range (0.1 K)",
         Integer(r.rangeLow) + " to " + Integer(r.rangeHigh)},
        {"rangeHigh", Integer(r.rangeHigh), "", ""},
    };
}

std::vector<Field> Fields(const SnapshotFile& file, const PaletteSet& palettes) {
    const DocumentRecord& r = file.record;
    const std::string description =
        text_codec::Utf16ToUtf8(text_codec::BytesToUtf16(r.rangeDescription));
    const std::string palette = palettes.Name(r.paletteNumber);
    std::vector<Field> fields{
        {"file", json_text::Quote(file.path.string()), "File", file.path.string()},
        {"formatVersion", json_text::Number(file.version, 2), "Format version",
         json_text::Number(file.version, 2)}};
    for (Field& field : TimeAndSpanFields(r)) {
        fields.push_back(std::move(field));
    }
    const std::vector<Field> rest{
        // The head pads the text with zero characters: kept in JSON, cut in the text form.
        {"rangeDescription", json_text::Quote(description), "Range description",
         description.substr(0, description.find('\0'))},
        {"headSerialNumber", Integer(r.headSerialNumber), "Head serial number",
         Integer(r.headSerialNumber)},
        {"paletteNumber", Integer(r.paletteNumber), "Palette",
         Integer(r.paletteNumber) + " (" + palette + ")"},
        {"paletteName", json_text::Quote(palette), "", ""},
        {"temperatureUnit", Integer(r.temperatureUnit), "Unit",
         unit_names::Letter(r.temperatureUnit)},
        {"temperatureUnitName", json_text::Quote(unit_names::Letter(r.temperatureUnit)), "", ""},
        {"emissivity", json_text::Number(r.emissivity, kFloatDigits), "Emissivity",
         json_text::Number(r.emissivity, 3)},
        {"emissivityFactor", json_text::Number(r.emissivityFactor, kFloatDigits), "", ""},
        {"backgroundTemperature", Integer(r.backgroundTemperature), "Background (0.1 C)",
         Integer(r.backgroundTemperature)},
        {"integrationCount", Integer(r.integrationCount), "Integration count",
         Integer(r.integrationCount)},
        {"note", json_text::Quote(r.snapshotNote), "Note", r.snapshotNote},
        {"interpolatedMode", Flag(r.interpolatedMode), "Interpolated", Flag(r.interpolatedMode)},
        {"edgeRepair", Flag(r.edgeRepair), "Edge mask", Flag(r.edgeRepair)},
        {"secondSpotShown", Flag(r.secondSpotShown), "", ""},
    };
    fields.insert(fields.end(), rest.begin(), rest.end());
    return fields;
}

}  // namespace

std::string snapshot_info::Text(const SnapshotFile& file, const PaletteSet& palettes) {
    std::string out;
    for (const Field& field : Fields(file, palettes)) {
        if (!field.label.empty()) {
            out += field.label + ": " + field.text + "\n";
        }
    }
    const SnapshotPicture picture = SnapshotPicture::FromRecord(file.record);
    out += "Spot 1: " + SpotText(picture, file, 0) + "\n";
    if (file.record.secondSpotShown) {
        out += "Spot 2: " + SpotText(picture, file, 1) + "\n";
    }
    return out + StatisticsText(file.record);
}

std::string snapshot_info::Json(const SnapshotFile& file, const PaletteSet& palettes) {
    json_text::Members members;
    for (const Field& field : Fields(file, palettes)) {
        members.emplace_back(field.key, field.json);
    }
    const SnapshotPicture picture = SnapshotPicture::FromRecord(file.record);
    std::vector<std::string> spots{SpotJson(picture, file, 0)};
    if (file.record.secondSpotShown) {
        spots.push_back(SpotJson(picture, file, 1));
    }
    members.emplace_back("spots", json_text::Array(spots));
    members.emplace_back("frame", Frame(file.record));
    AddStatisticsJson(file.record, members);
    return json_text::Object(members);
}
