#pragma once

#include <cstdint>
#include <string>

// Chooses the language bundle for a language identifier (primary language in the low
// byte, sublanguage in bits 10-15).
namespace language_choice {

// "ChineseS", "ChineseT", "German", "English", "Spanish", "French" or "Italian";
// every language without a bundle of its own gets "English".
std::string LanguageName(std::uint16_t languageId);

// "4286 " + language name + ".dll", the file name of the bundle.
std::string BundleFileName(std::uint16_t languageId);

}  // namespace language_choice
