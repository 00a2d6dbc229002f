// A small fixed phrase for the prosody readers' fuzz targets: whatever a
// file holds, the model it loaded must work on a phrase without crashing
// and without giving values that are not numbers.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "interfaces/SoundDescription.h"

namespace vox::fuzz {

inline const std::vector<uint64_t>& FuzzPhrase() {
    constexpr uint64_t kT = SdMask(sd::None) | SdMask(sd::Terminator);
    constexpr uint64_t kS = SdMask(sd::None) | SdMask(sd::Space);
    constexpr uint64_t kV = SdMask(sd::Any) | SdMask(sd::Vowel) | SdMask(sd::Intonable);
    constexpr uint64_t kC = SdMask(sd::Any) | SdMask(sd::Consonant);
    static const std::vector<uint64_t> sds = {
        kT | SdMask(sd::Type1),
        kC | SdMask(sd::Voiced) | SdMask(sd::Sonant) | SdMask(sd::Intonable),
        kV | SdMask(sd::Pretonic) | SdMask(sd::InPretonicSyl),
        kC | SdMask(sd::Voiceless) | SdMask(sd::Plosive),
        kV | SdMask(sd::Stressed) | SdMask(sd::FullStressed) | SdMask(sd::InStressedSyl),
        kS,
        kV | SdMask(sd::Stressed) | SdMask(sd::FullStressed) | SdMask(sd::InStressedSyl) |
            SdMask(sd::LastSyl),
        kC | SdMask(sd::Sonant) | SdMask(sd::LastSyl) | SdMask(sd::InStressedSyl) |
            SdMask(sd::Intonable),
        kV | SdMask(sd::Posttonic) | SdMask(sd::InPosttonicSyl),
        kT};
    return sds;
}

inline const std::vector<int32_t>& FuzzLengths() {
    static const std::vector<int32_t> lengths = {0, 500, 700, 300, 900, 0, 800, 400, 600, 2000};
    return lengths;
}

inline void CheckFinite(std::span<const float> values) {
    for (float v : values)
        if (!std::isfinite(v)) std::abort();
}

}  // namespace vox::fuzz
