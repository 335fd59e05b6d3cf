#include "display/colour_index_scale.h"

namespace {
constexpr float kOneOver255 = 0.003921569f;
}

ColourIndexScale::ColourIndexScale(std::int16_t spanMin, std::int16_t spanMax)
    : min_(spanMin), max_(spanMax), valid_(spanMax > spanMin), gain_(0.0f) {
    if (valid_) {
        const volatile float width = static_cast<float>(spanMax - spanMin) * kOneOver255;
        gain_ = 1.0f / width;
    }
}
