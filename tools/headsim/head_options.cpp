#include "headsim/head_options.h"

#include <cerrno>
#include <cstdlib>
#include <functional>
#include <map>

#include "link/head_wire.h"

namespace {

constexpr std::size_t kMaxRanges = 32;

bool ParseUnsigned(const std::string& text, unsigned long maximum, unsigned long& value) {
    if (text.empty() || text[0] == '-') {
        return false;
    }
    char* end = nullptr;
    errno = 0;
    value = std::strtoul(text.c_str(), &end, 0);
    return errno == 0 && end != nullptr && *end == '\0' && value <= maximum;
}

bool ParseNumber(const std::string& text, double& value) {
    char* end = nullptr;
    errno = 0;
    value = std::strtod(text.c_str(), &end);
    return !text.empty() && errno == 0 && end != nullptr && *end == '\0';
}

// Walks the arguments; every option takes its values from here.
class ArgumentReader {
  public:
    explicit ArgumentReader(std::span<const std::string> arguments) : arguments_(arguments) {}
    bool Done() const { return next_ >= arguments_.size(); }
    const std::string& Next() { return arguments_[next_++]; }
    bool Value(const std::string& option, std::string& value, std::string& error) {
        if (Done()) {
            error = option + " needs a value";
            return false;
        }
        value = Next();
        return true;
    }

  private:
    std::span<const std::string> arguments_;
    std::size_t next_ = 0;
};

// Parses state that spans several options: the range list and its finishing touches.
class OptionParser {
  public:
    explicit OptionParser(HeadOptions& options) : options_(options) {}

    bool Parse(std::span<const std::string> arguments, std::string& error) {
        ArgumentReader reader(arguments);
        const auto handlers = Handlers();
        while (!reader.Done()) {
            const std::string& option = reader.Next();
            const auto handler = handlers.find(option);
            if (handler == handlers.end()) {
                error = "unknown option " + option;
                return false;
            }
            if (!handler->second(reader, error)) {
                return false;
            }
        }
        return Finish(error);
    }

  private:
    using Handler = std::function<bool(ArgumentReader&, std::string&)>;

    std::map<std::string, Handler> Handlers() {
        return {
            {"--help", [this](ArgumentReader&, std::string&) { return options_.help = true; }},
            {"--verbose",
             [this](ArgumentReader&, std::string&) { return options_.verbose = true; }},
            {"--device-root",
             [this](ArgumentReader&, std::string&) { return options_.linkDeviceRoot = true; }},
            {"--no-limits", [this](ArgumentReader&, std::string&) { return noLimits_ = true; }},
            {"--link", [this](ArgumentReader& r, std::string& e) { return Link(r, e); }},
            {"--device-type",
             [this](ArgumentReader& r, std::string& e) {
                 return Byte(r, e, "--device-type", options_.head.deviceType, 0);
             }},
            {"--initial-range",
             [this](ArgumentReader& r, std::string& e) {
                 return Byte(r, e, "--initial-range", options_.head.initialRange, 1);
             }},
            {"--serial", [this](ArgumentReader& r, std::string& e) { return Serial(r, e); }},
            {"--new-serial-after",
             [this](ArgumentReader& r, std::string& e) { return NewSerial(r, e); }},
            {"--exchange-after",
             [this](ArgumentReader& r, std::string& e) { return Exchange(r, e); }},
            {"--new-serial-every",
             [this](ArgumentReader& r, std::string& e) { return NewSerialEvery(r, e); }},
            {"--ranges", [this](ArgumentReader& r, std::string& e) { return RangeCount(r, e); }},
            {"--range", [this](ArgumentReader& r, std::string& e) { return Range(r, e); }},
            {"--high", [this](ArgumentReader&, std::string& e) { return High(e); }},
            {"--limits", [this](ArgumentReader& r, std::string& e) { return Limits(r, e); }},
            {"--rate", [this](ArgumentReader& r, std::string& e) { return Rate(r, e); }},
            {"--garbage", [this](ArgumentReader& r, std::string& e) { return Garbage(r, e); }},
            {"--seed", [this](ArgumentReader& r, std::string& e) { return Seed(r, e); }},
            {"--warming", [this](ArgumentReader& r, std::string& e) { return Warming(r, e); }},
        };
    }

    bool Link(ArgumentReader& reader, std::string& error) {
        std::string path;
        if (!reader.Value("--link", path, error)) {
            return false;
        }
        options_.linkPath = path;
        return true;
    }

    bool Byte(ArgumentReader& reader, std::string& error, const std::string& option,
              std::uint8_t& target, unsigned long minimum) {
        std::string text;
        unsigned long value = 0;
        if (!reader.Value(option, text, error)) {
            return false;
        }
        if (!ParseUnsigned(text, 255, value) || value < minimum) {
            error = option + " takes a number from " + std::to_string(minimum) + " to 255";
            return false;
        }
        target = static_cast<std::uint8_t>(value);
        return true;
    }

    static bool SerialNumber(const std::string& text, std::uint16_t& serial, std::string& error) {
        unsigned long value = 0;
        if (!ParseUnsigned(text, 65535, value)) {
            error = "a serial number is a number from 0 to 65535";
            return false;
        }
        serial = static_cast<std::uint16_t>(value);
        return true;
    }

    bool Serial(ArgumentReader& reader, std::string& error) {
        std::string text;
        return reader.Value("--serial", text, error) &&
               SerialNumber(text, options_.head.serialNumber, error);
    }

    bool NewSerial(ArgumentReader& reader, std::string& error) {
        return SerialChange(reader, "--new-serial-after", error);
    }

    // The range options from here on describe the new head's ranges, starting from a copy
    // of the first head's.
    bool Exchange(ArgumentReader& reader, std::string& error) {
        if (exchange_) {
            error = "--exchange-after is given once";
            return false;
        }
        if (!SerialChange(reader, "--exchange-after", error)) {
            return false;
        }
        firstHeadRanges_ = FinishRanges();
        ranges_ = firstHeadRanges_;
        customRanges_ = false;
        noLimits_ = false;
        rangeCount_.reset();
        exchange_ = true;
        return true;
    }

    bool SerialChange(ArgumentReader& reader, const std::string& option, std::string& error) {
        std::string seconds;
        std::string serial;
        HeadOptions::SerialChange change;
        if (!reader.Value(option, seconds, error) || !reader.Value(option, serial, error)) {
            return false;
        }
        if (!ParseNumber(seconds, change.afterSeconds) || change.afterSeconds < 0) {
            error = option + " takes SECONDS (0 or more) and a serial number";
            return false;
        }
        if (!SerialNumber(serial, change.serialNumber, error)) {
            return false;
        }
        if (options_.serialChange) {
            error = "--new-serial-after and --exchange-after exclude each other";
            return false;
        }
        options_.serialChange = change;
        return true;
    }

    bool NewSerialEvery(ArgumentReader& reader, std::string& error) {
        std::string text;
        double seconds = 0.0;
        if (!reader.Value("--new-serial-every", text, error)) {
            return false;
        }
        if (!ParseNumber(text, seconds) || seconds < 0.1) {
            error = "--new-serial-every takes SECONDS (0.1 or more)";
            return false;
        }
        options_.serialChangeEvery = seconds;
        return true;
    }

    bool RangeCount(ArgumentReader& reader, std::string& error) {
        std::string text;
        unsigned long value = 0;
        if (!reader.Value("--ranges", text, error)) {
            return false;
        }
        if (!ParseUnsigned(text, kMaxRanges, value)) {
            error = "--ranges takes a number from 0 to " + std::to_string(kMaxRanges);
            return false;
        }
        rangeCount_ = value;
        return true;
    }

    bool Range(ArgumentReader& reader, std::string& error) {
        std::string text;
        if (!reader.Value("--range", text, error)) {
            return false;
        }
        if (text.size() > head_wire::kTextLength) {
            error = "a range text has at most 58 characters";
            return false;
        }
        if (!customRanges_) {
            ranges_.clear();
            customRanges_ = true;
        }
        ranges_.push_back(SimulatedRange{text, 0, 0});
        return true;
    }

    bool High(std::string& error) {
        if (!customRanges_) {
            error = "--high follows a --range";
            return false;
        }
        ranges_.back().text = WithHighTemperatureMark(ranges_.back().text);
        return true;
    }

    bool Limits(ArgumentReader& reader, std::string& error) {
        std::string text;
        if (!reader.Value("--limits", text, error)) {
            return false;
        }
        if (!customRanges_) {
            error = "--limits follows a --range";
            return false;
        }
        const auto colon = text.find(':');
        unsigned long lower = 0;
        unsigned long upper = 0;
        if (colon == std::string::npos || !ParseUnsigned(text.substr(0, colon), 65535, lower) ||
            !ParseUnsigned(text.substr(colon + 1), 65535, upper)) {
            error = "--limits takes LOW:HIGH in whole kelvin";
            return false;
        }
        ranges_.back().lowerKelvin = static_cast<std::uint16_t>(lower);
        ranges_.back().upperKelvin = static_cast<std::uint16_t>(upper);
        return true;
    }

    bool Rate(ArgumentReader& reader, std::string& error) {
        std::string text;
        if (!reader.Value("--rate", text, error)) {
            return false;
        }
        options_.lineRate = text == "max";
        if (options_.lineRate) {
            return true;
        }
        if (!ParseNumber(text, options_.framesPerSecond) ||
            !(options_.framesPerSecond > 0 && options_.framesPerSecond <= 1000)) {
            error = "--rate takes frames per second above 0 and at most 1000, or max";
            return false;
        }
        return true;
    }

    bool Garbage(ArgumentReader& reader, std::string& error) {
        std::string text;
        if (!reader.Value("--garbage", text, error)) {
            return false;
        }
        if (!ParseNumber(text, options_.garbageBytes) ||
            !(options_.garbageBytes >= 0 && options_.garbageBytes <= 1000)) {
            error = "--garbage takes an average byte count from 0 to 1000";
            return false;
        }
        return true;
    }

    bool Warming(ArgumentReader& reader, std::string& error) {
        std::string text;
        if (!reader.Value("--warming", text, error)) {
            return false;
        }
        double& rate = options_.warmingKelvinPerMinute;
        if (!ParseNumber(text, rate) || !(rate >= -100 && rate <= 100)) {
            error = "--warming takes kelvin a minute from -100 to 100";
            return false;
        }
        return true;
    }

    bool Seed(ArgumentReader& reader, std::string& error) {
        std::string text;
        unsigned long value = 0;
        if (!reader.Value("--seed", text, error)) {
            return false;
        }
        if (!ParseUnsigned(text, 0xFFFFFFFFul, value)) {
            error = "--seed takes a number";
            return false;
        }
        options_.seed = static_cast<std::uint32_t>(value);
        return true;
    }

    // The range list as given so far, with --ranges and --no-limits applied.
    std::vector<SimulatedRange> FinishRanges() const {
        std::vector<SimulatedRange> ranges = ranges_;
        if (rangeCount_) {
            for (std::size_t k = ranges.size(); k < *rangeCount_; ++k) {
                ranges.push_back(SimulatedRange{"Range " + std::to_string(k + 1), 0, 0});
            }
            ranges.resize(*rangeCount_);
        }
        if (noLimits_) {
            for (auto& range : ranges) {
                range.lowerKelvin = 0;
                range.upperKelvin = 0;
            }
        }
        return ranges;
    }

    bool Finish(std::string& error) {
        if (options_.linkPath && options_.linkDeviceRoot) {
            error = "--link and --device-root exclude each other";
            return false;
        }
        if (exchange_) {
            options_.head.ranges = firstHeadRanges_;
            options_.serialChange->ranges = FinishRanges();
        } else {
            options_.head.ranges = FinishRanges();
        }
        return true;
    }

    HeadOptions& options_;
    bool exchange_ = false;
    std::vector<SimulatedRange> firstHeadRanges_;
    std::vector<SimulatedRange> ranges_ = DefaultSimulatedRanges();
    bool customRanges_ = false;
    bool noLimits_ = false;
    std::optional<std::size_t> rangeCount_;
};

}  // namespace

std::vector<SimulatedRange> DefaultSimulatedRanges() {
    return {
        SimulatedRange{"-20 ... 100 C", 253, 373},
        SimulatedRange{"0 ... 500 C", 273, 773},
        SimulatedRange{WithHighTemperatureMark("200 ... 1000 C"), 473, 1273},
    };
}

std::string WithHighTemperatureMark(std::string text) {
    if (text.size() <= head_wire::kHighTemperatureMarkIndex) {
        text.resize(head_wire::kHighTemperatureMarkIndex + 1, ' ');
    }
    text[head_wire::kHighTemperatureMarkIndex] = 'H';
    return text;
}

bool ParseHeadOptions(std::span<const std::string> arguments, HeadOptions& options,
                      std::string& error) {
    options = HeadOptions{};
    return OptionParser(options).Parse(arguments, error);
}

std::string HeadOptionsHelp() {
    return R"(Usage: quorvel-headsim [OPTION]...
Plays a thermal sensor head on a new pseudo-terminal and prints the path of its
slave side. Answers range queries, follows range selection and streams frames of a
warm object drifting over a room-temperature background. Ends on SIGTERM, SIGINT
or SIGHUP and then removes the link it made.

Where the imager finds it:
  --link PATH              make PATH a symbolic link to the slave side (removed at exit)
  --device-root            the same for <device root>/COM1, that is
                           $XDG_DATA_HOME/therlix-handheld/COM1

The head:
  --device-type CODE       device type code in every packet (default 71)
  --serial N               head serial number (default 4660, 0x1234)
  --new-serial-after SECONDS N
                           switch to serial number N after SECONDS, as if another
                           head had been plugged in
  --exchange-after SECONDS N
                           after SECONDS another head with serial number N takes
                           over; the --range, --high, --limits, --ranges and
                           --no-limits options after this one give the new head's
                           ranges (default: the same as the first head's)
  --new-serial-every SECONDS
                           every SECONDS switch to the next serial number (one
                           more, 0 skipped), as if another head had been plugged in
  --initial-range N        range number of the first frames (default 1)
  --range TEXT             a range description (at most 58 characters); the first
                           --range replaces the three built-in ranges; repeat it
  --high                   mark the range given last as high-temperature ('H' at
                           character 20, padded with spaces)
  --limits LOW:HIGH        limits in whole kelvin for the range given last
                           (default none, which is sent as 0:0)
  --ranges N               offer N ranges: cut the list, or add "Range k" entries
  --no-limits              send no limits for any range
  Built-in ranges: "-20 ... 100 C" 253:373, "0 ... 500 C" 273:773,
  "200 ... 1000 C" high-temperature 473:1273.

The stream:
  --rate FPS               frames per second (default 8); max: as many as a
                           115200-baud line carries (about 21, fewer with garbage)
  --garbage RATE           send on average RATE random bytes (never 0xAA, so they
                           cannot form a marker) before each frame (default 0)
  --warming K              the warm object heats up by K kelvin a minute (negative:
                           cools down; default 0), for a rising or falling trend
  --seed N                 seed of the noise and the garbage (default 1)
  --verbose                log commands and serial number changes to stderr
  --help                   show this text
)";
}
