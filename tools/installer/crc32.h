#pragma once

#include <cstddef>
#include <cstdint>

// The CRC-32 of zlib and PNG (reflected polynomial 0xEDB88320), fed in pieces.
class Crc32 {
  public:
    void Update(const void* data, std::size_t size);
    std::uint32_t Value() const { return ~state_; }

  private:
    std::uint32_t state_ = 0xFFFFFFFFu;
};
