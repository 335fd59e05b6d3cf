#include "snap/snap_options.h"

std::string snap_options::HelpText(SnapOptions::Command command) {
    switch (command) {
        case SnapOptions::Command::kInfo:
            return "Usage: quorvel-snap info [--json] FILE|FOLDER...\n"
                   "Shows every stored field of snapshot or settings files.\n"
                   "  --json   one JSON object per file, one a line\n";
        case SnapOptions::Command::kCsv:
            return "Usage: quorvel-snap csv [-o OUT] [--raw] [--unit C|F|K] FILE|FOLDER...\n"
                   "Writes the 16 x 16 temperatures of each file to NAME.csv beside it, row 0\n"
                   "at the top of the screen, corrected as the imager shows them.\n"
                   "  -o OUT       output file (one input) or folder (several inputs)\n"
                   "  --raw        tenths of a kelvin as stored, uncorrected\n"
                   "  --unit U     C, F or K instead of the snapshot's unit\n";
        case SnapOptions::Command::kPng:
            return "Usage: quorvel-snap png [-o OUT] [--scale N] [--legend] FILE|FOLDER...\n"
                   "Writes the picture of each file, as the imager renders it, to NAME.png\n"
                   "beside it.\n"
                   "  -o OUT       output file (one input) or folder (several inputs)\n"
                   "  --scale N    every pixel N x N (1 to 64), without smoothing\n"
                   "  --legend     add the colour scale and the spot readouts\n";
        case SnapOptions::Command::kNone:
            break;
    }
    return "Usage: quorvel-snap info|csv|png [OPTIONS] FILE|FOLDER...\n"
           "Exports snapshot files of quorvel-imager. A folder stands for its *.snp files;\n"
           "--settings stands for the imager's settings file.\n"
           "quorvel-snap COMMAND --help shows the options of a command.\n";
}
