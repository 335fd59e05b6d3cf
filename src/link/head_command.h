#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

// One command to the head, exactly as it goes on the line (commands are not escaped):
// AA BB code [parameter] 00 00 AA CC.
class HeadCommand {
  public:
    static HeadCommand QueryRangeCount();                       // AA BB 93 00 00 AA CC
    static HeadCommand RequestDescription(std::uint8_t range);  // AA BB 94 n 00 00 AA CC
    static HeadCommand SelectRange(std::uint8_t range);         // AA BB 95 v 00 00 AA CC

    std::span<const std::uint8_t> Bytes() const& { return {bytes_.data(), length_}; }
    // The bytes live inside the command: a temporary's would dangle.
    std::span<const std::uint8_t> Bytes() const&& = delete;
    bool operator==(const HeadCommand& other) const {
        return length_ == other.length_ && bytes_ == other.bytes_;
    }

  private:
    HeadCommand(std::uint8_t code, const std::uint8_t* parameter);

    std::array<std::uint8_t, 8> bytes_{};
    std::size_t length_ = 0;
};
