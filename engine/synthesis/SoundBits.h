// The bits of a sound description (64-bit attribute set of one phoneme) that
// the phrase pipeline tests, and the test itself.
#pragma once

#include <cstdint>

namespace vox {

enum SoundBit : int {
    kBitConsonant = 9,
    kBitVoiceless = 11,
    kBitPlosive = 14,
    kBitSamePhoneme1 = 49,  // consonant followed by the same phoneme
    kBitSamePhoneme2 = 50,  // consonant preceded by the same phoneme
    kBitType1 = 53,         // phrase types, added by the engine
    kBitType2 = 54,
    kBitType3 = 55,
    kBitSpace = 56,       // word boundary
    kBitTerminator = 57,  // phrase boundary
    kBitIntonable = 60,   // a sound that carries pitch
    kBitJoinedPause = 61, // a "(W=)" pause; no module sets it
};

constexpr bool HasBit(uint64_t sd, int bit) { return ((sd >> bit) & 1u) != 0; }
constexpr uint64_t BitMask(int bit) { return uint64_t{1} << bit; }

}  // namespace vox
