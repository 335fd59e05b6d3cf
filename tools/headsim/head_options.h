#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "headsim/simulated_head.h"

// The command line of quorvel-headsim.
struct HeadOptions {
    struct SerialChange {
        double afterSeconds = 0.0;
        std::uint16_t serialNumber = 0;
        // A head exchange: the new head's ranges. None: the same head plugged in anew
        // under another serial number keeps offering the same ranges.
        std::optional<std::vector<SimulatedRange>> ranges;
    };

    SimulatedHeadConfig head;
    double framesPerSecond = 8.0;
    // --rate max: each frame follows the one before as soon as a 115200-baud line has
    // carried it (and the garbage before it); framesPerSecond is then not used.
    bool lineRate = false;
    std::optional<std::string> linkPath;  // a symbolic link made to the slave side
    bool linkDeviceRoot = false;          // link <device root>/COM1
    std::optional<SerialChange> serialChange;
    // Every this many seconds the next serial number (one more, 0 skipped), as if
    // another head had been plugged in each time.
    std::optional<double> serialChangeEvery;
    double garbageBytes = 0.0;            // average random bytes sent before each frame
    double warmingKelvinPerMinute = 0.0;  // how fast the warm object heats up
    std::uint32_t seed = 1;
    bool verbose = false;
    bool help = false;
};

// The three ranges the simulated head offers unless told otherwise.
std::vector<SimulatedRange> DefaultSimulatedRanges();
// Pads `text` with spaces to the mark position and puts 'H' there.
std::string WithHighTemperatureMark(std::string text);

// Parses the arguments after the program name. False, with `error` set, on a mistake.
bool ParseHeadOptions(std::span<const std::string> arguments, HeadOptions& options,
                      std::string& error);
std::string HeadOptionsHelp();
