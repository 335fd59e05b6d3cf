#include "document/span_adjuster.h"

#include <algorithm>

namespace {

constexpr int kStep = 10;             // one kelvin
constexpr int kWidestToWiden = 2000;  // 200 K
constexpr int kGrain = 20;            // spans become multiples of 2 K

std::uint16_t Clamp16(int value) {
    return static_cast<std::uint16_t>(std::clamp(value, 0, 65535));
}

}  // namespace

void span_adjuster::ShiftDown(std::uint16_t& low, std::uint16_t& high, std::uint16_t rangeLow) {
    if (low > rangeLow) {
        low = Clamp16(low - kStep);
        high = Clamp16(high - kStep);
    }
}

void span_adjuster::ShiftUp(std::uint16_t& low, std::uint16_t& high, std::uint16_t rangeHigh) {
    if (high < rangeHigh) {
        low = Clamp16(low + kStep);
        high = Clamp16(high + kStep);
    }
}

void span_adjuster::Widen(std::uint16_t& low, std::uint16_t& high, std::uint16_t rangeLow,
                          std::uint16_t rangeHigh) {
    if (high - low >= kWidestToWiden) {
        return;
    }
    int l = (low / kStep) * kStep - kStep;
    int h = ((high + 9) / kStep + 1) * kStep;
    l = std::max(l, 0);
    h = std::min(h, 65535);
    const int remainder = (h - l) % kGrain;
    if (remainder != 0) {
        h -= remainder;
    }
    if (l < rangeLow) {
        l = rangeLow;
        h += kStep;
    } else if (h > rangeHigh) {
        h = rangeHigh;
        l -= kStep;
    }
    low = Clamp16(l);
    high = Clamp16(h);
}

void span_adjuster::Narrow(std::uint16_t& low, std::uint16_t& high) {
    int l = std::min((low + 9) / kStep * kStep, 65535);
    int h = high / kStep * kStep;
    if (h - l > kGrain) {
        l += kStep;
        h -= kStep;
    }
    const int remainder = static_cast<std::int16_t>(h - l) % kGrain;
    if (remainder != 0) {
        h += remainder;
    }
    low = Clamp16(l);
    high = Clamp16(h);
}
