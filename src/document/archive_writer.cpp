#include "document/archive_writer.h"

#include <bit>

namespace {

constexpr std::uint8_t kLongerLength = 0xFF;
constexpr std::uint16_t kWideCharacterMark = 0xFFFE;
constexpr std::uint16_t kLongLength = 0xFFFF;
constexpr std::size_t kLargestByteLength = 254;
constexpr std::size_t kLargestWordLength = 0xFFFD;

}  // namespace

void ArchiveWriter::WriteByte(std::uint8_t value) {
    bytes_.push_back(value);
}

void ArchiveWriter::WriteWord(std::uint16_t value) {
    bytes_.push_back(static_cast<std::uint8_t>(value));
    bytes_.push_back(static_cast<std::uint8_t>(value >> 8));
}

void ArchiveWriter::WriteLong(std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    WriteWord(static_cast<std::uint16_t>(bits));
    WriteWord(static_cast<std::uint16_t>(bits >> 16));
}

void ArchiveWriter::WriteFloat(float value) {
    WriteLong(static_cast<std::int32_t>(std::bit_cast<std::uint32_t>(value)));
}

void ArchiveWriter::WriteTime(std::int64_t value) {
    WriteLong(static_cast<std::int32_t>(static_cast<std::uint32_t>(value)));
}

void ArchiveWriter::WriteText(std::u16string_view text) {
    WriteByte(kLongerLength);
    WriteWord(kWideCharacterMark);
    const std::size_t length = text.size();
    if (length <= kLargestByteLength) {
        WriteByte(static_cast<std::uint8_t>(length));
    } else if (length <= kLargestWordLength) {
        WriteByte(kLongerLength);
        WriteWord(static_cast<std::uint16_t>(length));
    } else {
        WriteByte(kLongerLength);
        WriteWord(kLongLength);
        WriteLong(static_cast<std::int32_t>(length));
    }
    for (char16_t unit : text) {
        WriteWord(unit);
    }
}
