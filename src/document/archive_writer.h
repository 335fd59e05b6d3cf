#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

// Writes the primitives of a document archive (little-endian) into memory.
class ArchiveWriter {
  public:
    void WriteByte(std::uint8_t value);
    void WriteWord(std::uint16_t value);
    void WriteLong(std::int32_t value);
    void WriteFloat(float value);
    // Seconds since 1970 as 32 bits.
    void WriteTime(std::int64_t value);
    // The 16-bit character mark, the length prefix, then the UTF-16 code units.
    void WriteText(std::u16string_view text);

    const std::vector<std::uint8_t>& Bytes() const { return bytes_; }

  private:
    std::vector<std::uint8_t> bytes_;
};
