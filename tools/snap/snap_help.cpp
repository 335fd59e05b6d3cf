#include <array>

#include "snap/snap_options.h"

namespace {

using Command = SnapOptions::Command;

// One command's part of the help: its usage after the program name, what it does and
// its own options. The program's help is every command's part; the manual page is
// made from it.
struct CommandHelp {
    Command command;
    const char* name;
    const char* usage;
    const char* description;
    const char* options;
};

constexpr std::array<CommandHelp, 3> kCommands{{
    {Command::kInfo, "info", "info [--json] FILE|FOLDER...",
     "Shows every stored field of snapshot or settings files.\n",
     "  --json       one JSON object per file, one a line\n"},
    {Command::kCsv, "csv", "csv [-o OUT] [--raw] [--unit C|F|K] FILE|FOLDER...",
     "Writes the 16 x 16 temperatures of each file to NAME.csv beside it, row 0\n"
     "at the top of the screen, corrected as the imager shows them.\n",
     "  -o OUT       output file (one input) or folder (several inputs)\n"
     "  --raw        tenths of a kelvin as stored, uncorrected\n"
     "  --unit U     C, F or K instead of the snapshot's unit\n"},
    {Command::kPng, "png", "png [-o OUT] [--scale N] [--legend] FILE|FOLDER...",
     "Writes the picture of each file, as the imager renders it, to NAME.png\n"
     "beside it.\n",
     "  -o OUT       output file (one input) or folder (several inputs)\n"
     "  --scale N    every pixel N x N (1 to 64), without smoothing\n"
     "  --legend     add the colour scale and the spot readouts\n"},
}};

constexpr const char* kCommonOptions =
    "  --settings   the imager's settings file, as one more input\n"
    "  -h, --help   show this help\n";

// `text` with every line indented by two spaces.
std::string Indented(const std::string& text) {
    std::string indented;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = text.find('\n', start) + 1;
        indented += "  " + text.substr(start, end - start);
        start = end;
    }
    return indented;
}

std::string ProgramHelp() {
    std::string text;
    for (const CommandHelp& help : kCommands) {
        text += text.empty() ? "Usage: " : "  or:  ";
        text += std::string("quorvel-snap ") + help.usage + "\n";
    }
    text +=
        "Exports snapshot files of quorvel-imager as text, CSV and PNG. A folder stands\n"
        "for its *.snp files, in snapshot number order.\n";
    for (const CommandHelp& help : kCommands) {
        text += std::string("\nThe ") + help.name + " command:\n" + Indented(help.description) +
                help.options;
    }
    text += std::string("\nEvery command:\n") + kCommonOptions +
            "\nExit status:\n  0 all done, 1 some file failed, 2 wrong command line.\n";
    return text;
}

}  // namespace

std::string snap_options::HelpText(SnapOptions::Command command) {
    for (const CommandHelp& help : kCommands) {
        if (help.command == command) {
            return std::string("Usage: quorvel-snap ") + help.usage + "\n" + help.description +
                   help.options + kCommonOptions;
        }
    }
    return ProgramHelp();
}
