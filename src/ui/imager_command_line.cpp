#include "ui/imager_command_line.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "monitor/duration_text.h"

namespace {

// Qt's own options, in their one-dash form (Qt takes two dashes as well).
constexpr std::array<std::string_view, 16> kQtOptionsWithValue{
    "-platform",        "-platformpluginpath",
    "-platformtheme",   "-plugin",
    "-qwindowgeometry", "-geometry",
    "-qwindowicon",     "-icon",
    "-qwindowtitle",    "-title",
    "-display",         "-name",
    "-style",           "-stylesheet",
    "-session",         "-qmljsdebugger"};
constexpr std::array<std::string_view, 5> kQtFlags{"-reverse", "-nograb", "-dograb", "-sync",
                                                   "-widgetcount"};

std::string_view OneDash(std::string_view option) {
    return option.starts_with("--") ? option.substr(1) : option;
}

template <std::size_t N>
bool Contains(const std::array<std::string_view, N>& list, std::string_view option) {
    return std::find(list.begin(), list.end(), OneDash(option)) != list.end();
}

// The shortest interval between log rows.
constexpr std::chrono::milliseconds kShortestLogInterval{100};

ImagerOptions UsageError(std::string error) {
    ImagerOptions options;
    options.action = ImagerOptions::Action::kUsageError;
    options.error = std::move(error);
    return options;
}

// An option with a value, "--name VALUE" or "--name=VALUE", at `i`: its value (moving `i`
// past it), or empty when `argument` is not the option. `missing` is set when the value is.
std::optional<std::string> OptionValue(std::span<const std::string> arguments, std::size_t& i,
                                       std::string_view name, bool& missing) {
    const std::string& argument = arguments[i];
    if (argument == name) {
        missing = i + 1 == arguments.size() || arguments[i + 1].empty();
        return missing ? std::string() : arguments[++i];
    }
    if (argument.starts_with(std::string(name) + "=")) {
        std::string value = argument.substr(name.size() + 1);
        missing = value.empty();
        return value;
    }
    return std::nullopt;
}

}  // namespace

ImagerOptions imager_command_line::Parse(std::span<const std::string> arguments) {
    ImagerOptions options;
    bool optionsEnded = false;
    bool missing = false;
    bool logEveryGiven = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (optionsEnded || argument == "-" || !argument.starts_with("-")) {
            options.files.push_back(argument);
        } else if (argument == "--") {
            optionsEnded = true;
        } else if (argument == "--help" || argument == "-h") {
            options.action = ImagerOptions::Action::kHelp;
            return options;
        } else if (argument == "--version") {
            options.action = ImagerOptions::Action::kVersion;
            return options;
        } else if (auto port = OptionValue(arguments, i, "--port", missing)) {
            if (missing) {
                return UsageError("--port needs a serial device");
            }
            options.port = std::move(port);
        } else if (auto log = OptionValue(arguments, i, "--log", missing)) {
            if (missing) {
                return UsageError("--log needs a file");
            }
            options.log = std::move(log);
        } else if (auto every = OptionValue(arguments, i, "--log-every", missing)) {
            const auto duration = duration_text::Parse(*every);
            if (!duration || *duration < kShortestLogInterval) {
                return UsageError(
                    "--log-every takes a duration of at least 100ms, as in 1s or 10m");
            }
            options.logEvery = *duration;
            logEveryGiven = true;
        } else if (Contains(kQtOptionsWithValue, argument)) {
            ++i;  // Qt takes the option and its value
        } else if (!Contains(kQtFlags, argument)) {
            return UsageError("unknown option '" + argument + "'");
        }
    }
    if (logEveryGiven && !options.log) {
        return UsageError("--log-every needs --log FILE");
    }
    return options;
}

std::string imager_command_line::HelpText() {
    return "Usage: quorvel-imager [--port DEVICE] [--log FILE [--log-every DURATION]] [FILE]\n"
           "The live thermal viewer and snapshot manager for the Quorvel sensor head.\n"
           "\n"
           "  FILE           show this snapshot or settings file instead of the live picture\n"
           "  --port DEVICE  use the serial device DEVICE (for example /dev/ttyUSB0) instead\n"
           "                 of COM1 of the device root\n"
           "  --log FILE     append a row of readings to FILE every second, as quorvel-log\n"
           "                 does, with the live corrections and spot markers; also while a\n"
           "                 picture is held or snapshots are browsed (FILE.jsonl: JSON lines,\n"
           "                 otherwise CSV)\n"
           "  --log-every DURATION\n"
           "                 a row every DURATION instead (1s, 500ms, 10m)\n"
           "  --help         show this text and end\n"
           "  --version      show the version and end\n"
           "\n"
           "Qt's own options (-platform NAME and the like) are passed on to Qt.\n";
}
