// Storing values as 16-bit samples. Every sample the signal path writes goes
// through these: a value outside the 16-bit range is clamped, never wrapped.
#pragma once

#include <cmath>
#include <cstdint>

namespace vox {

inline constexpr int32_t kSampleMin = -32768;
inline constexpr int32_t kSampleMax = 32767;

inline int16_t SaturateSample(int64_t value) {
    if (value < kSampleMin) return static_cast<int16_t>(kSampleMin);
    if (value > kSampleMax) return static_cast<int16_t>(kSampleMax);
    return static_cast<int16_t>(value);
}

// Truncates toward zero, then clamps; NaN stores as 0.
inline int16_t SaturateSample(double value) {
    if (!(value > kSampleMin - 1.0))
        return std::isnan(value) ? 0 : static_cast<int16_t>(kSampleMin);
    if (value >= kSampleMax + 1.0) return static_cast<int16_t>(kSampleMax);
    return static_cast<int16_t>(value);  // conversion truncates toward zero
}

// A sample times a gain, truncated toward zero and saturated.
inline int16_t ScaleSample(int16_t sample, double gain) {
    return SaturateSample(static_cast<double>(sample) * gain);
}

}  // namespace vox
