// The short fades the effects leave at the ends of a phrase: sample k from
// the end (k = 0 … 19) multiplied by k × 0.05, truncated toward zero.
#pragma once

#include <cstdint>
#include <span>

#include "engine/audio/Samples.h"

namespace vox {

inline constexpr size_t kEffectFadeLength = 20;

inline void FadeOutEnd(std::span<int16_t> signal, size_t length) {
    for (size_t k = 0; k < length && k < signal.size(); ++k) {
        int16_t& s = signal[signal.size() - 1 - k];
        s = ScaleSample(s, static_cast<float>(k) * 0.05f);
    }
}

inline void FadeInStart(std::span<int16_t> signal, size_t length) {
    for (size_t k = 0; k < length && k < signal.size(); ++k)
        signal[k] = ScaleSample(signal[k], static_cast<float>(k) * 0.05f);
}

}  // namespace vox
