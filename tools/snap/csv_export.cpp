#include "snap/csv_export.h"

#include "display/temperature_formatter.h"
#include "display/unit_names.h"
#include "document/json_text.h"
#include "snap/snapshot_file.h"
#include "snap/snapshot_picture.h"

namespace {

constexpr const char* kNoValue = "*";

std::string HeaderLine(const SnapshotFile& file, const DisplayState& s, bool raw) {
    const std::string what = raw ? "raw values, tenths of a kelvin"
                                 : "temperatures in " + unit_names::Letter(s.unit) +
                                       ", emissivity " + json_text::Number(s.emissivity, 3) +
                                       ", background " + json_text::Number(s.background / 10.0, 4) +
                                       " C";
    return "# " + file.path.filename().string() + ": " + what +
           "; 16 rows of 16, row 0 at the top\n";
}

std::string Cell(const SnapshotPicture& picture, int column, int row, bool raw) {
    const std::int16_t value = picture.ValueAt(column, row);
    if (raw) {
        return std::to_string(static_cast<std::uint16_t>(value));
    }
    const DisplayState& s = picture.state;
    const std::string text =
        TemperatureFormatter().FormatTemperature(value, s.unit, s.background, s.emissivity, false);
    return text == kNoValue ? std::string() : text;
}

}  // namespace

std::string csv_export::Text(const SnapshotFile& file, const Choice& choice) {
    SnapshotPicture picture = SnapshotPicture::FromRecord(file.record);
    if (choice.unit) {
        picture.state.unit = *choice.unit;
    }
    std::string out = HeaderLine(file, picture.state, choice.raw);
    for (int row = 0; row < 16; ++row) {
        for (int column = 0; column < 16; ++column) {
            out += (column > 0 ? "," : "") + Cell(picture, column, row, choice.raw);
        }
        out += "\n";
    }
    return out;
}
