#pragma once

#include <string>
#include <string_view>

// Conversions between the document's texts (UTF-8) and the archive's characters
// (UTF-16 code units, or single bytes of the system code page).
namespace text_codec {

// Malformed UTF-8 becomes U+FFFD.
std::u16string Utf8ToUtf16(std::string_view text);
// An unpaired surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);
// Single-byte text of the system code page, taken as Windows-1252 (bytes 0x80..0x9F
// map to its typographic characters; the five unassigned ones keep their code).
std::string CodePageToUtf8(std::string_view bytes);
// Text with one character per byte, character codes 0..255 (as the head sends it).
std::u16string BytesToUtf16(std::string_view bytes);
// Back to one byte per character; a character above 255 becomes '?'.
std::string Utf16ToBytes(std::u16string_view text);

}  // namespace text_codec
