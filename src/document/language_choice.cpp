#include "document/language_choice.h"

namespace {

constexpr std::uint16_t kChinese = 0x04;
constexpr std::uint16_t kGerman = 0x07;
constexpr std::uint16_t kSpanish = 0x0A;
constexpr std::uint16_t kFrench = 0x0C;
constexpr std::uint16_t kItalian = 0x10;

constexpr std::uint16_t kChinesePrc = 2;
constexpr std::uint16_t kChineseSingapore = 4;

}  // namespace

std::string language_choice::LanguageName(std::uint16_t languageId) {
    const std::uint16_t primary = languageId & 0xFF;
    const std::uint16_t sublanguage = languageId >> 10;
    switch (primary) {
        case kChinese:
            // Simplified characters in the PRC and Singapore, traditional elsewhere.
            return sublanguage == kChinesePrc || sublanguage == kChineseSingapore ? "ChineseS"
                                                                                  : "ChineseT";
        case kGerman:
            return "German";
        case kSpanish:
            return "Spanish";
        case kFrench:
            return "French";
        case kItalian:
            return "Italian";
        default:
            return "English";
    }
}

std::string language_choice::BundleFileName(std::uint16_t languageId) {
    return "4286 " + LanguageName(languageId) + ".dll";
}
