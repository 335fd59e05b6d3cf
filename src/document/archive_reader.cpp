#include "document/archive_reader.h"

#include <bit>

#include "document/archive_exception.h"
#include "document/text_codec.h"

namespace {

constexpr std::uint8_t kLongerLength = 0xFF;
constexpr std::uint16_t kWideCharacterMark = 0xFFFE;
constexpr std::uint16_t kLongLength = 0xFFFF;

}  // namespace

void ArchiveReader::Require(std::uint64_t count) const {
    if (count > Remaining()) {
        throw ArchiveException();
    }
}

std::uint8_t ArchiveReader::ReadByte() {
    Require(1);
    return bytes_[position_++];
}

std::uint16_t ArchiveReader::ReadWord() {
    Require(2);
    const auto low = bytes_[position_];
    const auto high = bytes_[position_ + 1];
    position_ += 2;
    return static_cast<std::uint16_t>(low | (high << 8));
}

std::int32_t ArchiveReader::ReadLong() {
    Require(4);
    const std::uint32_t low = ReadWord();
    const std::uint32_t high = ReadWord();
    return static_cast<std::int32_t>(low | (high << 16));
}

float ArchiveReader::ReadFloat() {
    return std::bit_cast<float>(static_cast<std::uint32_t>(ReadLong()));
}

std::int64_t ArchiveReader::ReadTime() {
    return static_cast<std::uint32_t>(ReadLong());
}

void ArchiveReader::Skip(std::uint64_t count) {
    Require(count);
    position_ += static_cast<std::size_t>(count);
}

std::uint32_t ArchiveReader::ReadLength(bool& wide) {
    wide = false;
    std::uint8_t shortLength = ReadByte();
    if (shortLength < kLongerLength) {
        return shortLength;
    }
    std::uint16_t wordLength = ReadWord();
    if (wordLength == kWideCharacterMark) {
        // The mark: the prefix follows again, once.
        wide = true;
        shortLength = ReadByte();
        if (shortLength < kLongerLength) {
            return shortLength;
        }
        wordLength = ReadWord();
    }
    if (wordLength < kLongLength) {
        return wordLength;
    }
    return static_cast<std::uint32_t>(ReadLong());
}

std::string ArchiveReader::ReadText() {
    bool wide = false;
    const std::uint32_t length = ReadLength(wide);
    const std::uint64_t size = static_cast<std::uint64_t>(length) * (wide ? 2 : 1);
    Require(size);
    const auto* start = bytes_.data() + position_;
    position_ += static_cast<std::size_t>(size);
    if (!wide) {
        return text_codec::CodePageToUtf8(
            std::string_view(reinterpret_cast<const char*>(start), length));
    }
    std::u16string units(length, u'\0');
    for (std::uint32_t i = 0; i < length; ++i) {
        units[i] = static_cast<char16_t>(start[2 * i] | (start[2 * i + 1] << 8));
    }
    return text_codec::Utf16ToUtf8(units);
}
