#include "log/log_options.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <functional>
#include <map>

#include "acquisition/frame_integrator.h"
#include "log/alarm_command.h"
#include "monitor/duration_text.h"
#include "monitor/temperature_text.h"
#include "publish/mqtt_topics.h"

namespace {

constexpr int kMostSpots = 64;

using Handler = std::function<bool(const std::string& value, std::string& error)>;

template <typename T>
std::optional<T> NumberIn(const std::string& text, T lowest, T highest) {
    T value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < lowest ||
        value > highest) {
        return std::nullopt;
    }
    return value;
}

// "ROW,COL", each 0..15.
std::optional<FrameCell> CellNamed(const std::string& text) {
    const std::size_t comma = text.find(',');
    if (comma == std::string::npos) {
        return std::nullopt;
    }
    const auto row = NumberIn(text.substr(0, comma), 0, kFrameSide - 1);
    const auto column = NumberIn(text.substr(comma + 1), 0, kFrameSide - 1);
    if (!row || !column) {
        return std::nullopt;
    }
    return FrameCell{*row, *column};
}

// Reads the command line into the options; checks that need every option come after.
class Parser {
  public:
    explicit Parser(LogOptions& options) : o_(options) {}

    bool Read(std::span<const std::string> arguments, std::string& error);
    bool Check(std::string& error);

  private:
    bool CheckMqtt(std::string& error);
    bool Duration(const std::string& name, const std::string& value,
                  std::optional<std::chrono::milliseconds>& into,
                  std::chrono::milliseconds shortest, std::string& error);
    std::map<std::string, Handler> ValueOptions();
    std::map<std::string, bool*> Flags();

    LogOptions& o_;
    std::optional<temperature_text::Temperature> background_;
    std::optional<std::string> hysteresis_;
    std::optional<std::string> mqttUrl_;
    std::map<std::string, std::string> mqttValues_;  // --topic, --mqtt-user, ...
};

bool Parser::Duration(const std::string& name, const std::string& value,
                      std::optional<std::chrono::milliseconds>& into,
                      std::chrono::milliseconds shortest, std::string& error) {
    into = duration_text::Parse(value);
    if (!into || *into < shortest) {
        error = name + " takes a duration of at least " + std::to_string(shortest.count()) +
                "ms, as in 1s, 500ms, 10m, 2h: not '" + value + "'";
        return false;
    }
    return true;
}

std::map<std::string, Handler> Parser::ValueOptions() {
    auto fail = [](std::string& error, const std::string& text) {
        error = text;
        return false;
    };
    return {
        {"--port", [this](const std::string& v, std::string&) { return (o_.port = v, true); }},
        {"-o", [this](const std::string& v, std::string&) { return (o_.output = v, true); }},
        {"--every",
         [this](const std::string& v, std::string& e) {
             std::optional<std::chrono::milliseconds> every;
             const bool valid = Duration("--every", v, every, log_options::kShortestInterval, e);
             o_.every = every.value_or(o_.every);
             return valid;
         }},
        {"--format",
         [this, fail](const std::string& v, std::string& e) {
             if (v != "csv" && v != "jsonl") {
                 return fail(e, "--format takes csv or jsonl, not '" + v + "'");
             }
             o_.format = v == "csv" ? RowFormat::Kind::kCsv : RowFormat::Kind::kJsonLines;
             return true;
         }},
        {"--unit",
         [this, fail](const std::string& v, std::string& e) {
             const auto unit = temperature_text::UnitNamed(v);
             o_.correction.unit = unit.value_or(o_.correction.unit);
             return unit ? true : fail(e, "--unit takes C, F or K, not '" + v + "'");
         }},
        {"--emissivity",
         [this, fail](const std::string& v, std::string& e) {
             const auto value = NumberIn(v, 0.0f, 1.0f);
             if (!value || !(*value > 0.0f)) {
                 return fail(e,
                             "--emissivity takes a number above 0 and at most 1, not '" + v + "'");
             }
             o_.correction.emissivity = *value;
             return true;
         }},
        {"--background",
         [this, fail](const std::string& v, std::string& e) {
             background_ = temperature_text::Parse(v);
             return background_
                        ? true
                        : fail(e, "--background takes a temperature, as in 20C, not '" + v + "'");
         }},
        {"--average",
         [this, fail](const std::string& v, std::string& e) {
             const auto value = NumberIn(v, 1, FrameIntegrator::kCapacity);
             o_.average = value.value_or(o_.average);
             return value ? true
                          : fail(e, "--average takes a number from 1 to 10, not '" + v + "'");
         }},
        {"--spot",
         [this, fail](const std::string& v, std::string& e) {
             const auto cell = CellNamed(v);
             if (!cell) {
                 return fail(e, "--spot takes ROW,COL, each from 0 to 15, not '" + v + "'");
             }
             if (o_.spots.size() == kMostSpots) {
                 return fail(e, "at most 64 spots");
             }
             o_.spots.push_back(*cell);
             return true;
         }},
        {"--duration",
         [this](const std::string& v, std::string& e) {
             return Duration("--duration", v, o_.duration, std::chrono::milliseconds(1), e);
         }},
        {"--count",
         [this, fail](const std::string& v, std::string& e) {
             o_.count = NumberIn<std::uint64_t>(v, 1, UINT64_MAX);
             return o_.count ? true
                             : fail(e, "--count takes a number of rows from 1, not '" + v + "'");
         }},
        {"--snapshot-every",
         [this](const std::string& v, std::string& e) {
             return Duration("--snapshot-every", v, o_.snapshotEvery,
                             log_options::kShortestSnapshotInterval, e);
         }},
        {"--snapshot-folder",
         [this](const std::string& v, std::string&) { return (o_.snapshotFolder = v, true); }},
        {"--alarm",
         [this](const std::string& v, std::string& e) {
             auto rule = AlarmRule::Parse(v, e);
             if (rule) {
                 o_.alarms.push_back(std::move(*rule));
             }
             return rule.has_value();
         }},
        {"--hysteresis",
         [this](const std::string& v, std::string&) { return (hysteresis_ = v, true); }},
        {"--mqtt", [this](const std::string& v, std::string&) { return (mqttUrl_ = v, true); }},
        {"--topic",
         [this](const std::string& v, std::string&) { return (mqttValues_["--topic"] = v, true); }},
        {"--mqtt-user", [this](const std::string& v,
                               std::string&) { return (mqttValues_["--mqtt-user"] = v, true); }},
        {"--mqtt-password-file",
         [this](const std::string& v, std::string&) {
             return (mqttValues_["--mqtt-password-file"] = v, true);
         }},
        {"--mqtt-cafile",
         [this](const std::string& v, std::string&) {
             return (mqttValues_["--mqtt-cafile"] = v, true);
         }},
        {"--db", [this](const std::string& v, std::string&) { return (o_.database = v, true); }},
        {"--on-alarm",
         [this](const std::string& v, std::string& e) {
             auto words = AlarmCommand::Words(v, e);
             o_.onAlarm = words.value_or(std::vector<std::string>{});
             return words.has_value();
         }},
    };
}

std::map<std::string, bool*> Parser::Flags() {
    return {{"--quiet", &o_.quiet},
            {"--snapshot-on-alarm", &o_.snapshotOnAlarm},
            {"--exit-on-alarm", &o_.exitOnAlarm}};
}

bool Parser::Read(std::span<const std::string> arguments, std::string& error) {
    const auto values = ValueOptions();
    const auto flags = Flags();
    for (std::size_t k = 0; k < arguments.size(); ++k) {
        std::string name = arguments[k];
        std::optional<std::string> value;
        if (const std::size_t equals = name.find('=');
            name.starts_with("--") && equals != std::string::npos) {
            value = name.substr(equals + 1);
            name.resize(equals);
        }
        if (const auto flag = flags.find(name); flag != flags.end() && !value) {
            *flag->second = true;
        } else if (const auto option = values.find(name); option != values.end()) {
            if (!value && k + 1 == arguments.size()) {
                error = name + " needs a value";
                return false;
            }
            if (!option->second(value ? *value : arguments[++k], error)) {
                return false;
            }
        } else {
            error = "unknown option '" + arguments[k] + "'";
            return false;
        }
    }
    return true;
}

bool Parser::CheckMqtt(std::string& error) {
    if (!mqttUrl_) {
        if (!mqttValues_.empty()) {
            error = mqttValues_.begin()->first + " needs --mqtt";
            return false;
        }
        return true;
    }
    const auto value = [this](const char* name) {
        const auto found = mqttValues_.find(name);
        return found == mqttValues_.end() ? std::string() : found->second;
    };
    try {
        MqttSettings settings;
        settings.address = MqttAddress::Parse(*mqttUrl_);
        if (mqttValues_.contains("--topic")) {
            settings.topicPrefix = value("--topic");
            mqtt_topics::CheckPrefix(settings.topicPrefix);
        }
        settings.user = value("--mqtt-user");
        settings.passwordFile = value("--mqtt-password-file");
        settings.caFile = value("--mqtt-cafile");
        o_.mqtt = std::move(settings);
    } catch (const MqttSetupError& failure) {
        error = failure.what();
        return false;
    }
    if (o_.mqtt->user.empty() != o_.mqtt->passwordFile.empty()) {
        error = "--mqtt-user and --mqtt-password-file go together";
        return false;
    }
    if (!o_.mqtt->caFile.empty() && !o_.mqtt->address.secure) {
        error = "--mqtt-cafile needs an mqtts:// URL";
        return false;
    }
    return true;
}

bool Parser::Check(std::string& error) {
    if ((o_.port && o_.port->empty()) || (o_.output && o_.output->empty()) ||
        (o_.database && o_.database->empty())) {
        error = "--port, -o and --db need a name";
        return false;
    }
    if (!CheckMqtt(error)) {
        return false;
    }
    if (background_) {
        const double kelvin = temperature_text::ToKelvin(
            background_->value, background_->unit.value_or(o_.correction.unit));
        const double tenths =
            std::round(temperature_text::FromKelvin(kelvin, temperature_unit::kCelsius) * 10.0);
        if (!(tenths >= INT16_MIN && tenths <= INT16_MAX)) {
            error = "--background is out of range";
            return false;
        }
        o_.correction.background = static_cast<std::int16_t>(tenths);
    }
    if (hysteresis_) {
        const auto difference = temperature_text::Parse(*hysteresis_);
        if (!difference || difference->value < 0.0) {
            error = "--hysteresis takes a temperature difference from 0, as in 1K, not '" +
                    *hysteresis_ + "'";
            return false;
        }
        o_.hysteresisKelvin = temperature_text::DifferenceToKelvin(
            difference->value, difference->unit.value_or(o_.correction.unit));
    }
    if (o_.duration && o_.count) {
        error = "--duration and --count cannot be given together";
        return false;
    }
    for (const AlarmRule& alarm : o_.alarms) {
        if (alarm.Watched() == AlarmRule::Quantity::kSpot &&
            alarm.SpotNumber() > static_cast<int>(o_.spots.size())) {
            error = "alarm '" + alarm.Text() + "' watches spot " +
                    std::to_string(alarm.SpotNumber()) + ", but only " +
                    std::to_string(o_.spots.size()) + " --spot given";
            return false;
        }
    }
    const bool alarmOption =
        o_.snapshotOnAlarm || o_.exitOnAlarm || !o_.onAlarm.empty() || hysteresis_;
    if (alarmOption && o_.alarms.empty()) {
        error = "--hysteresis, --snapshot-on-alarm, --on-alarm and --exit-on-alarm need an --alarm";
        return false;
    }
    if (o_.snapshotFolder && !o_.snapshotEvery && !o_.snapshotOnAlarm) {
        error = "--snapshot-folder needs --snapshot-every or --snapshot-on-alarm";
        return false;
    }
    return true;
}

}  // namespace

std::optional<LogOptions> log_options::Parse(std::span<const std::string> arguments,
                                             std::string& error) {
    LogOptions options;
    for (const std::string& argument : arguments) {
        if (argument == "--help" || argument == "-h") {
            options.action = LogOptions::Action::kHelp;
            return options;
        }
        if (argument == "--version") {
            options.action = LogOptions::Action::kVersion;
            return options;
        }
    }
    Parser parser(options);
    if (!parser.Read(arguments, error) || !parser.Check(error)) {
        return std::nullopt;
    }
    return options;
}
