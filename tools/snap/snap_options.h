#pragma once

#include <optional>
#include <string>
#include <vector>

#include "display/temperature_unit.h"

// The command line of quorvel-snap: one subcommand, its options and the input files.
struct SnapOptions {
    enum class Command { kNone, kInfo, kCsv, kPng };

    Command command = Command::kNone;
    std::vector<std::string> inputs;
    bool help = false;
    bool json = false;
    bool raw = false;
    bool legend = false;
    std::optional<TemperatureUnit> unit;
    std::string output;
    int scale = 1;
};

namespace snap_options {

// The options, or the reason they are not valid in `error`.
std::optional<SnapOptions> Parse(const std::vector<std::string>& arguments, std::string& error);

// The help of one command, or of the program (every command's) for kNone.
std::string HelpText(SnapOptions::Command command);

}  // namespace snap_options
