#include "head_model.h"

namespace head_model {

namespace {

constexpr std::uint8_t kEscape = 0xAA;
constexpr std::uint8_t kStart = 0xBB;
constexpr std::uint8_t kEnd = 0xCC;
constexpr Limits kStandard{2630, 5730};
constexpr Limits kHighTemperature{2630, 12730};
constexpr Limits kEarly{2530, 8732};

std::uint16_t BigEndian(std::span<const std::uint8_t> packet, std::size_t offset) {
    return static_cast<std::uint16_t>(packet[offset] << 8 | packet[offset + 1]);
}

bool HighTemperatureMark(const std::string& text) {
    return text.size() > 20 && (text[20] == 'H' || text[20] == 'h');
}

bool Accepted(std::uint8_t type) {
    for (int code : {2, 11, 21, 31, 41, 61, 71, 72, 96, 97, 128}) {
        if (type == code) {
            return true;
        }
    }
    return false;
}

// Copies the second ring over the outermost one: rows, columns, then the corners.
void Repair(std::array<std::uint16_t, 256>& f) {
    auto at = [&f](int r, int c) -> std::uint16_t& {
        return f[static_cast<std::size_t>(r * 16 + c)];
    };
    for (int i = 1; i < 15; ++i) {
        at(0, i) = at(1, i);
        at(15, i) = at(14, i);
    }
    for (int i = 1; i < 15; ++i) {
        at(i, 15) = at(i, 14);
        at(i, 0) = at(i, 1);
    }
    at(0, 0) = at(0, 1);
    at(0, 15) = at(0, 14);
    at(15, 0) = at(15, 1);
    at(15, 15) = at(15, 14);
}

}  // namespace

std::optional<Bytes> Framer::Feed(std::uint8_t byte) {
    if (byte == kEscape && !escape_) {
        escape_ = true;
        return std::nullopt;
    }
    if (escape_ && (byte == kStart || byte == kEnd)) {
        escape_ = false;
        open_ = byte == kStart;
        if (byte == kStart) {
            return std::nullopt;
        }
        Bytes packet = data_;
        packet.push_back(kEscape);
        packet.push_back(kEnd);
        data_.clear();
        return packet;
    }
    if (open_ && data_.size() < capacity_) {
        data_.push_back(byte);
        escape_ = false;
    }
    return std::nullopt;
}

void Mailbox::Put(const Bytes& packet) {
    (packet.size() > 1 && packet[1] == 6 ? frame_ : message_) = packet;
}

std::optional<Bytes> Mailbox::Take() {
    std::optional<Bytes>& slot = message_ ? message_ : frame_;
    std::optional<Bytes> taken = std::move(slot);
    slot.reset();
    return taken;
}

Protocol::Protocol() {
    limits.fill(kHighTemperature);
}

Limits Protocol::LimitsOf(int number) const {
    return number >= 1 && number <= 6 ? limits[static_cast<std::size_t>(number - 1)] : kStandard;
}

void Protocol::Decode(std::span<const std::uint8_t> packet) {
    frameAccepted = false;
    selectFirstRange = false;
    edgesRepaired = false;
    if (!Accepted(packet[0])) {
        return;
    }
    deviceType = packet[0];
    if ((deviceType == 31 || deviceType == 61) && descriptions.empty()) {
        limits.fill(kEarly);
    }
    if (packet[1] == 18) {
        reported = packet[2];
    } else if (packet[1] == 19) {
        TakeDescription(packet);
    } else if (packet[1] == 6 && packet[521] == kEscape && packet[522] == kEnd) {
        TakeFrame(packet);
    }
}

void Protocol::TakeDescription(std::span<const std::uint8_t> packet) {
    const std::uint8_t number = packet[2];
    const std::size_t received = descriptions.size();
    if (number == 0 || number == received || received == 255) {
        return;
    }
    const std::size_t start = packet[3] == 0 ? 4 : 3;
    std::string text(packet.begin() + static_cast<std::ptrdiff_t>(start), packet.begin() + 61);
    if (number <= 6) {
        Limits chosen = HighTemperatureMark(text) ? kHighTemperature : kStandard;
        const int lower = BigEndian(packet, 61);
        const int upper = BigEndian(packet, 63);
        if (packet[62] != 0 && lower > 0 && lower < upper && upper <= 6553) {
            chosen = Limits{static_cast<std::uint16_t>(lower * 10),
                            static_cast<std::uint16_t>(upper * 10)};
        }
        limits[number - 1U] = chosen;
    }
    descriptions.push_back(std::move(text));
}

void Protocol::TakeFrame(std::span<const std::uint8_t> packet) {
    range = packet[2];
    const std::uint16_t newSerial = BigEndian(packet, 3);
    if (newSerial != serial) {
        selectFirstRange = serial != 0;
        serial = newSerial;
        reported = 255;
    }
    for (std::size_t i = 0; i < frame.size(); ++i) {
        frame[i] = BigEndian(packet, 5 + 2 * i);
    }
    const bool repairHead = deviceType == 71 || deviceType == 96;
    edgesRepaired = repairHead && range >= 1 && range <= descriptions.size() &&
                    HighTemperatureMark(descriptions[range - 1U]);
    if (edgesRepaired) {
        Repair(frame);
    }
    frameAccepted = true;
}

}  // namespace head_model
