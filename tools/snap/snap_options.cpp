#include "snap/snap_options.h"

#include <charconv>

#include "document/settings_store.h"

namespace {

constexpr int kLargestScale = 64;

using Command = SnapOptions::Command;

std::optional<Command> CommandNamed(const std::string& name) {
    if (name == "info") {
        return Command::kInfo;
    }
    if (name == "csv") {
        return Command::kCsv;
    }
    if (name == "png") {
        return Command::kPng;
    }
    return std::nullopt;
}

std::optional<TemperatureUnit> UnitNamed(const std::string& name) {
    if (name == "C" || name == "c") {
        return temperature_unit::kCelsius;
    }
    if (name == "F" || name == "f") {
        return temperature_unit::kFahrenheit;
    }
    if (name == "K" || name == "k") {
        return temperature_unit::kKelvin;
    }
    return std::nullopt;
}

std::optional<int> ScaleNamed(const std::string& text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < 1 ||
        value > kLargestScale) {
        return std::nullopt;
    }
    return value;
}

// True when `name` is a flag of the command; sets it.
bool TakeFlag(const std::string& name, SnapOptions& options) {
    const Command c = options.command;
    if (name == "--json" && c == Command::kInfo) {
        options.json = true;
    } else if (name == "--raw" && c == Command::kCsv) {
        options.raw = true;
    } else if (name == "--legend" && c == Command::kPng) {
        options.legend = true;
    } else if (name == "--settings") {
        options.inputs.push_back(settings_store::HostPath().string());
    } else if (name == "--help" || name == "-h") {
        options.help = true;
    } else {
        return false;
    }
    return true;
}

// Takes the option with a value at `k`, moving past its value; false with `error` set
// when it is not one of the command's or its value is not valid.
bool TakeValue(const std::vector<std::string>& args, std::size_t& k, SnapOptions& options,
               std::string& error) {
    const std::string& name = args[k];
    const Command c = options.command;
    const bool known = (name == "--unit" && c == Command::kCsv) ||
                       (name == "--scale" && c == Command::kPng) ||
                       (name == "-o" && c != Command::kInfo);
    if (!known) {
        error = "unknown option " + name;
        return false;
    }
    if (k + 1 >= args.size()) {
        error = name + " needs a value";
        return false;
    }
    const std::string& value = args[++k];
    if (name == "--unit") {
        options.unit = UnitNamed(value);
    } else if (name == "--scale") {
        options.scale = ScaleNamed(value).value_or(0);
    } else {
        options.output = value;
    }
    const bool valid = (name != "--unit" || options.unit) && options.scale > 0;
    if (!valid) {
        error = "not a valid value for " + name + ": " + value;
    }
    return valid;
}

}  // namespace

std::optional<SnapOptions> snap_options::Parse(const std::vector<std::string>& args,
                                               std::string& error) {
    SnapOptions options;
    if (args.empty() || args[0] == "--help" || args[0] == "-h") {
        options.help = true;
        return options;
    }
    const auto command = CommandNamed(args[0]);
    if (!command) {
        error = "unknown command " + args[0] + " (info, csv or png)";
        return std::nullopt;
    }
    options.command = *command;
    for (std::size_t k = 1; k < args.size(); ++k) {
        const std::string& arg = args[k];
        if (arg.size() > 1 && arg[0] == '-') {
            if (!TakeFlag(arg, options) && !TakeValue(args, k, options, error)) {
                return std::nullopt;
            }
        } else {
            options.inputs.push_back(arg);
        }
    }
    if (options.inputs.empty() && !options.help) {
        error = "no input file";
        return std::nullopt;
    }
    return options;
}
