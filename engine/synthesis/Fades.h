// Short linear fades at both ends of a stretch of samples.
#pragma once

#include <cstdint>
#include <span>

namespace vox {

// With m = min(maxLength, size): sample k and sample size−1−k (k = 0 … m−1)
// are multiplied by k/m, truncating toward zero.
void FadeEnds(std::span<int16_t> samples, int32_t maxLength);

// The phrase's fades (100 samples) and the pauses' fades.
inline constexpr int32_t kPhraseFadeLength = 100;

}  // namespace vox
