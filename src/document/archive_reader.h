#pragma once

#include <cstdint>
#include <span>
#include <string>

// Reads the primitives of a document archive (little-endian) from memory. Reading past
// the end raises ArchiveException; a claimed length is checked against the bytes left
// before anything is allocated.
class ArchiveReader {
  public:
    explicit ArchiveReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::uint8_t ReadByte();
    std::uint16_t ReadWord();
    std::int32_t ReadLong();
    float ReadFloat();
    // 32 bits of seconds since 1970, taken as unsigned.
    std::int64_t ReadTime();
    // A text with or without the 16-bit character mark, returned as UTF-8.
    std::string ReadText();
    // Drops `count` bytes.
    void Skip(std::uint64_t count);

    std::uint64_t Remaining() const { return bytes_.size() - position_; }

  private:
    void Require(std::uint64_t count) const;
    // The length prefix; sets `wide` when the 16-bit character mark precedes it.
    std::uint32_t ReadLength(bool& wide);

    std::span<const std::uint8_t> bytes_;
    std::size_t position_ = 0;
};
