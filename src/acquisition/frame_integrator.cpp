#include "acquisition/frame_integrator.h"

#include <algorithm>

void FrameIntegrator::Update(const ThermalFrame& source, ThermalFrame& destination,
                             int requestedCount) {
    const int count = std::min(requestedCount, kCapacity);
    if (count != framesInUse_) {
        framesInUse_ = count;
        filled_ = 0;
    }
    const int n = framesInUse_;
    if (n > 0) {
        std::copy(history_.begin() + 1, history_.begin() + n, history_.begin());
        history_[static_cast<std::size_t>(n - 1)] = source;
        if (filled_ >= n) {
            for (std::size_t i = 0; i < kFramePixels; ++i) {
                std::int32_t sum = 0;
                for (int k = 0; k < n; ++k) {
                    sum += history_[static_cast<std::size_t>(k)][i];
                }
                destination[i] = static_cast<std::uint16_t>(sum / n);
            }
        }
    }
    if (n <= 0 || filled_ < n) {
        destination = source;
        if (filled_ < n) {
            ++filled_;
        }
    }
}
