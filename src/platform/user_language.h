#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The user's default language identifier, made from the POSIX locale: primary language
// in bits 0-9, sublanguage in bits 10-15 (German in Germany is 0x0407, Chinese in the
// PRC 0x0804). The C and POSIX locales, an unset locale and unknown languages give
// English (United States), 0x0409.
namespace user_language {

inline constexpr std::uint16_t kEnglishUnitedStates = 0x0409;

// The identifier of the locale that LC_ALL, LC_MESSAGES or LANG names, the first
// that is set and not empty, as the C library chooses the message locale.
std::uint16_t Identifier();

// The locale name that Identifier() reads; empty when none of the three is set.
std::string LocaleName();

// The identifier of a locale name of the form language[_territory][.codeset][@modifier].
std::uint16_t FromLocaleName(std::string_view name);

constexpr std::uint16_t Make(std::uint16_t primary, std::uint16_t sublanguage) {
    return static_cast<std::uint16_t>((sublanguage << 10) | primary);
}

}  // namespace user_language
