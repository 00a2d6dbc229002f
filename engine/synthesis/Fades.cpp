#include "engine/synthesis/Fades.h"

#include <algorithm>

namespace vox {

void FadeEnds(std::span<int16_t> samples, int32_t maxLength) {
    const int64_t n = static_cast<int64_t>(samples.size());
    const int64_t m = std::min<int64_t>(std::max(maxLength, 0), n);
    // Integer arithmetic: exact truncation toward zero, never beyond the sample.
    for (int64_t k = 0; k < m; ++k) {
        samples[k] = static_cast<int16_t>(samples[k] * k / m);
        samples[n - 1 - k] = static_cast<int16_t>(samples[n - 1 - k] * k / m);
    }
}

}  // namespace vox
