#include "support/document_test_support.h"

#include <gtest/gtest.h>

#include <bit>
#include <ctime>
#include <fstream>
#include <iterator>

namespace document_test {

void RecordingView::ShowChanges(std::uint32_t hint) {
    hints.push_back(hint);
}

Bytes& Bytes::Byte(std::uint8_t value) {
    bytes_.push_back(value);
    return *this;
}

Bytes& Bytes::Word(std::uint16_t value) {
    return Byte(static_cast<std::uint8_t>(value & 0xFF))
        .Byte(static_cast<std::uint8_t>(value >> 8));
}

Bytes& Bytes::Long(std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    return Word(static_cast<std::uint16_t>(bits & 0xFFFF))
        .Word(static_cast<std::uint16_t>(bits >> 16));
}

Bytes& Bytes::Float(float value) {
    return Long(std::bit_cast<std::int32_t>(value));
}

Bytes& Bytes::Raw(std::initializer_list<std::uint8_t> values) {
    bytes_.insert(bytes_.end(), values);
    return *this;
}

Bytes& Bytes::WideText(const std::u16string& text) {
    Raw({0xFF, 0xFE, 0xFF}).Byte(static_cast<std::uint8_t>(text.size()));
    for (char16_t unit : text) {
        Word(unit);
    }
    return *this;
}

Bytes& Bytes::Frame(std::uint16_t value) {
    for (int i = 0; i < 256; ++i) {
        Word(value);
    }
    return *this;
}

std::vector<std::uint8_t> DefaultArchive(std::int64_t captureTime, std::uint16_t rangeLow,
                                         std::uint16_t rangeHigh) {
    return Bytes()
        .Raw({0x33, 0x33, 0x53, 0x40})  // version 3.3
        .Raw({0x14, 0x00, 0x01, 0x00, 0x01, 0x00, 0x72, 0x0B, 0x3A, 0x0C, 0x00, 0x00})
        .Raw({0x00, 0x00, 0x80, 0x3F, 0x00, 0x00, 0x80, 0x3F})  // emissivity, factor
        .Raw({0xFF, 0xFE, 0xFF, 0x00})                          // empty note
        .Raw({0x02, 0x00, 0x00, 0x00, 0x87, 0x88})              // two spots
        .Frame(2730)
        .Long(static_cast<std::int32_t>(captureTime))
        .Long(0)
        .Long(0)
        .Long(0)
        .Long(rangeLow)
        .Long(rangeHigh)
        .Raw({0xFF, 0xFE, 0xFF, 0x00})  // empty range description
        .Word(0)                        // head serial number
        .Long(0)                        // freeze time
        .Long(0)                        // not interpolated (no view)
        .Byte(0)                        // no edge repair
        .Take();
}

std::vector<std::uint8_t> ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in),
                                     std::istreambuf_iterator<char>());
}

void WriteFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

}  // namespace document_test
