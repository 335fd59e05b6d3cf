#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

// Plain models of the head's line rules, written from the rules themselves rather than
// from the code under test, for the framer and protocol fuzz target to compare against.
namespace head_model {

using Bytes = std::vector<std::uint8_t>;

// The framer's rules, byte by byte: 0xAA escapes; 0xAA 0xBB opens, 0xAA 0xCC closes
// (open or not); data bytes beyond the capacity are dropped; an escape stays pending
// across a dropped byte.
class Framer {
  public:
    explicit Framer(std::size_t dataCapacity) : capacity_(dataCapacity) {}
    // The packet (data, then 0xAA 0xCC) that `byte` closed, if it closed one.
    std::optional<Bytes> Feed(std::uint8_t byte);

  private:
    std::size_t capacity_;
    Bytes data_;
    bool open_ = false;
    bool escape_ = false;
};

// The mailbox rules: a frame slot and a message slot, newest wins in each, a message is
// handed over before a frame.
class Mailbox {
  public:
    void Put(const Bytes& packet);
    std::optional<Bytes> Take();

  private:
    std::optional<Bytes> frame_;
    std::optional<Bytes> message_;
};

struct Limits {
    std::uint16_t lower;
    std::uint16_t upper;
    bool operator==(const Limits&) const = default;
};

// What the protocol must make of every handed-over packet (zero-padded to 2,048 bytes).
struct Protocol {
    std::uint16_t serial = 0;
    std::uint8_t range = 255;
    std::uint8_t reported = 255;
    std::uint8_t deviceType = 0;
    std::vector<std::string> descriptions;
    std::array<Limits, 6> limits;
    bool frameAccepted = false;
    bool selectFirstRange = false;
    bool edgesRepaired = false;
    std::array<std::uint16_t, 256> frame{};

    Protocol();
    void Decode(std::span<const std::uint8_t> packet);
    // Limits of range `number`; the standard pair without a slot.
    Limits LimitsOf(int number) const;

  private:
    void TakeDescription(std::span<const std::uint8_t> packet);
    void TakeFrame(std::span<const std::uint8_t> packet);
};

}  // namespace head_model
