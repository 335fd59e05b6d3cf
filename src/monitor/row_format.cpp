#include "monitor/row_format.h"

#include <charconv>
#include <vector>

#include "display/unit_names.h"
#include "document/json_text.h"

namespace {

constexpr int kDecimals = 2;

// The columns before the spots, and after them.
constexpr const char* kLeadingColumns[] = {
    "time", "head", "range", "range_text",  "unit",           "frames",      "lost",
    "min",  "max",  "mean",  "hottest_row", "hottest_column", "coldest_row", "coldest_column"};
constexpr const char* kTrailingColumns[] = {"state", "alarm", "alarm_value", "snapshot"};

template <typename T>
std::string DecimalOrEmpty(const std::optional<T>& value) {
    return value ? RowFormat::Number(static_cast<double>(*value)) : std::string();
}

template <typename T>
std::string IntegerOrEmpty(const std::optional<T>& value) {
    return value ? std::to_string(*value) : std::string();
}

// RFC 4180: a field with a separator, a quote or a line break is quoted.
std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) {
        return text;
    }
    std::string quoted = "\"";
    for (char c : text) {
        quoted += c == '"' ? "\"\"" : std::string(1, c);
    }
    return quoted + "\"";
}

std::string CsvRecord(const std::vector<std::string>& fields) {
    std::string line;
    for (std::size_t k = 0; k < fields.size(); ++k) {
        line += (k > 0 ? "," : "") + CsvField(fields[k]);
    }
    return line + "\n";
}

std::string JsonOrNull(const std::string& value) {
    return value.empty() ? "null" : value;
}

std::string JsonTextOrNull(const std::string& text) {
    return text.empty() ? "null" : json_text::Quote(text);
}

std::string StateOf(const AlarmEvent& event) {
    return event.started ? "alarm start" : "alarm end";
}

std::string UnitOf(const std::optional<TemperatureUnit>& unit) {
    return unit ? unit_names::Letter(*unit) : std::string();
}

}  // namespace

std::string RowFormat::Number(double value) {
    char text[64];
    const auto result =
        std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, kDecimals);
    return result.ec == std::errc() ? std::string(text, result.ptr) : std::string();
}

std::string RowFormat::Header() const {
    if (kind_ == Kind::kJsonLines) {
        return {};
    }
    std::vector<std::string> columns(std::begin(kLeadingColumns), std::end(kLeadingColumns));
    for (int k = 1; k <= spotCount_; ++k) {
        columns.push_back("spot" + std::to_string(k));
    }
    columns.insert(columns.end(), std::begin(kTrailingColumns), std::end(kTrailingColumns));
    return CsvRecord(columns);
}

std::string RowFormat::Line(const Reading& r) const {
    if (kind_ == Kind::kCsv) {
        return CsvLine(r);
    }
    std::vector<std::string> spots;
    for (const auto& spot : r.spots) {
        spots.push_back(JsonOrNull(DecimalOrEmpty(spot)));
    }
    auto cell = [](const std::optional<FrameCell>& c, bool row) {
        return c ? std::to_string(row ? c->row : c->column) : std::string("null");
    };
    return json_text::Object({
               {"time", json_text::Quote(r.timeText)},
               {"head", JsonOrNull(IntegerOrEmpty(r.headSerial))},
               {"range", JsonOrNull(IntegerOrEmpty(r.rangeNumber))},
               {"range_text", JsonTextOrNull(r.rangeText)},
               {"unit", json_text::Quote(unit_names::Letter(r.unit))},
               {"frames", std::to_string(r.framesTaken)},
               {"lost", std::to_string(r.framesLost)},
               {"min", JsonOrNull(DecimalOrEmpty(r.lowest))},
               {"max", JsonOrNull(DecimalOrEmpty(r.highest))},
               {"mean", JsonOrNull(DecimalOrEmpty(r.mean))},
               {"hottest_row", cell(r.hottest, true)},
               {"hottest_column", cell(r.hottest, false)},
               {"coldest_row", cell(r.coldest, true)},
               {"coldest_column", cell(r.coldest, false)},
               {"spots", json_text::Array(spots)},
               {"state", json_text::Quote(r.state)},
               {"snapshot", JsonTextOrNull(r.snapshotPath)},
           }) +
           "\n";
}

std::string RowFormat::Line(const AlarmEvent& event) const {
    if (kind_ == Kind::kCsv) {
        return CsvLine(event);
    }
    return json_text::Object({
               {"time", json_text::Quote(event.timeText)},
               {"state", json_text::Quote(StateOf(event))},
               {"alarm", json_text::Quote(event.alarm)},
               {"alarm_value", JsonOrNull(DecimalOrEmpty(event.value))},
               {"unit", JsonTextOrNull(UnitOf(event.unit))},
               {"snapshot", JsonTextOrNull(event.snapshotPath)},
           }) +
           "\n";
}

std::string RowFormat::CsvLine(const Reading& r) const {
    auto cell = [](const std::optional<FrameCell>& c, bool row) {
        return c ? std::to_string(row ? c->row : c->column) : std::string();
    };
    std::vector<std::string> fields{r.timeText,
                                    IntegerOrEmpty(r.headSerial),
                                    IntegerOrEmpty(r.rangeNumber),
                                    r.rangeText,
                                    unit_names::Letter(r.unit),
                                    std::to_string(r.framesTaken),
                                    std::to_string(r.framesLost),
                                    DecimalOrEmpty(r.lowest),
                                    DecimalOrEmpty(r.highest),
                                    DecimalOrEmpty(r.mean),
                                    cell(r.hottest, true),
                                    cell(r.hottest, false),
                                    cell(r.coldest, true),
                                    cell(r.coldest, false)};
    for (int k = 0; k < spotCount_; ++k) {
        const auto index = static_cast<std::size_t>(k);
        fields.push_back(index < r.spots.size() ? DecimalOrEmpty(r.spots[index]) : std::string());
    }
    fields.insert(fields.end(), {r.state, "", "", r.snapshotPath});
    return CsvRecord(fields);
}

std::string RowFormat::CsvLine(const AlarmEvent& event) const {
    std::vector<std::string> fields(std::size(kLeadingColumns) +
                                    static_cast<std::size_t>(spotCount_));
    fields[0] = event.timeText;
    fields[4] = UnitOf(event.unit);
    fields.insert(fields.end(),
                  {StateOf(event), event.alarm, DecimalOrEmpty(event.value), event.snapshotPath});
    return CsvRecord(fields);
}
