#include "platform/user_language.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdlib>

namespace {

struct PrimaryLanguage {
    std::string_view code;
    std::uint16_t primary;
};

// ISO 639 codes and the primary language numbers of the handheld's identifiers.
constexpr std::array kPrimaryLanguages{
    PrimaryLanguage{"ar", 0x01}, PrimaryLanguage{"bg", 0x02}, PrimaryLanguage{"ca", 0x03},
    PrimaryLanguage{"zh", 0x04}, PrimaryLanguage{"cs", 0x05}, PrimaryLanguage{"da", 0x06},
    PrimaryLanguage{"de", 0x07}, PrimaryLanguage{"el", 0x08}, PrimaryLanguage{"en", 0x09},
    PrimaryLanguage{"es", 0x0A}, PrimaryLanguage{"fi", 0x0B}, PrimaryLanguage{"fr", 0x0C},
    PrimaryLanguage{"he", 0x0D}, PrimaryLanguage{"hu", 0x0E}, PrimaryLanguage{"is", 0x0F},
    PrimaryLanguage{"it", 0x10}, PrimaryLanguage{"ja", 0x11}, PrimaryLanguage{"ko", 0x12},
    PrimaryLanguage{"nl", 0x13}, PrimaryLanguage{"nb", 0x14}, PrimaryLanguage{"no", 0x14},
    PrimaryLanguage{"nn", 0x14}, PrimaryLanguage{"pl", 0x15}, PrimaryLanguage{"pt", 0x16},
    PrimaryLanguage{"ro", 0x18}, PrimaryLanguage{"ru", 0x19}, PrimaryLanguage{"hr", 0x1A},
    PrimaryLanguage{"sk", 0x1B}, PrimaryLanguage{"sq", 0x1C}, PrimaryLanguage{"sv", 0x1D},
    PrimaryLanguage{"th", 0x1E}, PrimaryLanguage{"tr", 0x1F}, PrimaryLanguage{"ur", 0x20},
    PrimaryLanguage{"id", 0x21}, PrimaryLanguage{"uk", 0x22}, PrimaryLanguage{"be", 0x23},
    PrimaryLanguage{"sl", 0x24}, PrimaryLanguage{"et", 0x25}, PrimaryLanguage{"lv", 0x26},
    PrimaryLanguage{"lt", 0x27}, PrimaryLanguage{"fa", 0x29}, PrimaryLanguage{"vi", 0x2A},
    PrimaryLanguage{"hy", 0x2B}, PrimaryLanguage{"az", 0x2C}, PrimaryLanguage{"eu", 0x2D},
    PrimaryLanguage{"mk", 0x2F}, PrimaryLanguage{"af", 0x36}, PrimaryLanguage{"ka", 0x37},
    PrimaryLanguage{"fo", 0x38}, PrimaryLanguage{"hi", 0x39}, PrimaryLanguage{"ms", 0x3E},
    PrimaryLanguage{"kk", 0x3F}, PrimaryLanguage{"sw", 0x41}, PrimaryLanguage{"gl", 0x56},
};

struct Sublanguage {
    std::uint16_t primary;
    std::string_view territory;
    std::uint16_t sublanguage;
};

// Sublanguages by territory where they differ from the default sublanguage 1. An empty
// territory is the language's sublanguage when the locale names no territory.
constexpr std::array kSublanguages{
    Sublanguage{0x04, "TW", 1},  Sublanguage{0x04, "CN", 2},  Sublanguage{0x04, "", 2},
    Sublanguage{0x04, "HK", 3},  Sublanguage{0x04, "SG", 4},  Sublanguage{0x04, "MO", 5},
    Sublanguage{0x07, "CH", 2},  Sublanguage{0x07, "AT", 3},  Sublanguage{0x07, "LU", 4},
    Sublanguage{0x07, "LI", 5},  Sublanguage{0x09, "GB", 2},  Sublanguage{0x09, "AU", 3},
    Sublanguage{0x09, "CA", 4},  Sublanguage{0x09, "NZ", 5},  Sublanguage{0x09, "IE", 6},
    Sublanguage{0x09, "ZA", 7},  Sublanguage{0x09, "JM", 8},  Sublanguage{0x09, "BZ", 10},
    Sublanguage{0x09, "TT", 11}, Sublanguage{0x09, "ZW", 12}, Sublanguage{0x09, "PH", 13},
    Sublanguage{0x09, "IN", 16}, Sublanguage{0x09, "MY", 17}, Sublanguage{0x09, "SG", 18},
    Sublanguage{0x0A, "ES", 3},  Sublanguage{0x0A, "", 3},    Sublanguage{0x0A, "MX", 2},
    Sublanguage{0x0A, "GT", 4},  Sublanguage{0x0A, "CR", 5},  Sublanguage{0x0A, "PA", 6},
    Sublanguage{0x0A, "DO", 7},  Sublanguage{0x0A, "VE", 8},  Sublanguage{0x0A, "CO", 9},
    Sublanguage{0x0A, "PE", 10}, Sublanguage{0x0A, "AR", 11}, Sublanguage{0x0A, "EC", 12},
    Sublanguage{0x0A, "CL", 13}, Sublanguage{0x0A, "UY", 14}, Sublanguage{0x0A, "PY", 15},
    Sublanguage{0x0A, "BO", 16}, Sublanguage{0x0A, "SV", 17}, Sublanguage{0x0A, "HN", 18},
    Sublanguage{0x0A, "NI", 19}, Sublanguage{0x0A, "PR", 20}, Sublanguage{0x0A, "US", 21},
    Sublanguage{0x0C, "BE", 2},  Sublanguage{0x0C, "CA", 3},  Sublanguage{0x0C, "CH", 4},
    Sublanguage{0x0C, "LU", 5},  Sublanguage{0x0C, "MC", 6},  Sublanguage{0x10, "CH", 2},
    Sublanguage{0x13, "BE", 2},  Sublanguage{0x16, "BR", 1},  Sublanguage{0x16, "PT", 2},
    Sublanguage{0x16, "", 2},    Sublanguage{0x1D, "FI", 2},
};

constexpr std::uint16_t kDefaultSublanguage = 1;

std::string Lower(std::string_view text) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return result;
}

std::string Upper(std::string_view text) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return result;
}

std::uint16_t SublanguageOf(std::uint16_t primary, std::string_view territory) {
    for (const Sublanguage& entry : kSublanguages) {
        if (entry.primary == primary && entry.territory == territory) {
            return entry.sublanguage;
        }
    }
    return kDefaultSublanguage;
}

}  // namespace

std::string user_language::LocaleName() {
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && value[0] != '\0') {
            return value;
        }
    }
    return {};
}

std::uint16_t user_language::Identifier() {
    return FromLocaleName(LocaleName());
}

std::uint16_t user_language::FromLocaleName(std::string_view name) {
    // Codeset and modifier do not affect the language.
    name = name.substr(0, name.find_first_of(".@"));
    const std::size_t separator = name.find_first_of("_-");
    const std::string language = Lower(name.substr(0, separator));
    const std::string territory =
        separator == std::string_view::npos ? std::string() : Upper(name.substr(separator + 1));
    for (const PrimaryLanguage& entry : kPrimaryLanguages) {
        if (entry.code == language) {
            return Make(entry.primary, SublanguageOf(entry.primary, territory));
        }
    }
    // "C", "POSIX", an empty name and languages without an identifier here.
    return kEnglishUnitedStates;
}
