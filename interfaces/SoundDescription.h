// The sound description (SD) of a phoneme: a 64-bit attribute set, part of
// the IPhonetic contract. Table bits come from a module's phoneme inventory,
// phrase bits from its phrase analysis; the engine adds the phrase type
// (Type1 to Type3), and its prosody rule keywords name the same bits.
#pragma once

#include <cstdint>

namespace vox {

// Bit numbers, counted from the least significant bit.
namespace sd {
enum Bit : int {
    None = 0,  // "#" and "_": not a sound
    Any = 1,   // every real phoneme
    Vowel = 2,
    Stressed = 3,
    Unstressed = 4,
    FullStressed = 5,
    PartialStressed = 6,
    Pretonic = 7,
    Posttonic = 8,
    Consonant = 9,
    Voiced = 10,
    Voiceless = 11,
    Occlusive = 12,
    Fricative = 13,
    Plosive = 14,
    Sonant = 15,
    Affricate = 16,
    Hard = 17,
    Soft = 18,
    Vibrant = 19,
    Open = 20,
    Closed = 21,
    FirstSyl = 22,
    MidSyl = 23,
    LastSyl = 24,
    NonFirstSyl = 25,
    NonMidSyl = 26,
    NonLastSyl = 27,
    StressedSyl = 28,
    UnstressedSyl = 29,
    PretonicSyl = 30,
    PosttonicSyl = 31,
    Adjoining = 32,
    NonAdjoining = 33,
    FirstAU = 34,
    MidAU = 35,
    LastAU = 36,
    NonFirstAU = 37,
    NonMidAU = 38,
    NonLastAU = 39,
    HasPretonicSyl = 40,
    NoPretonicSyl = 41,
    HasPosttonicSyl = 42,
    NoPosttonicSyl = 43,
    Homoorganic = 44,
    NonHomoorganic = 45,
    InPretonicSyl = 46,   // phoneme of a pretonic syllable, or of a word without stress
    InStressedSyl = 47,   // phoneme of the stressed syllable
    InPosttonicSyl = 48,  // phoneme of a posttonic syllable
    SamePhoneme1 = 49,
    SamePhoneme2 = 50,
    Diphthong = 51,
    Neutral = 52,
    Type1 = 53,
    Type2 = 54,
    Type3 = 55,
    Space = 56,
    Terminator = 57,
    Short = 58,
    Long = 59,
    Intonable = 60,
    JoinedPause = 61,  // a "(W=)" pause: the engine's, never set by a module
    Bit62 = 62,        // modules 419.1-419.3: vowels and M M' N N' L L' V V' J'
    Bit63 = 63,        // Z Z' ZH S S' SH SH' X X' C CH'
};
}  // namespace sd

constexpr uint64_t SdMask(sd::Bit bit) {
    return uint64_t{1} << bit;
}
constexpr bool HasBit(uint64_t value, sd::Bit bit) {
    return (value & SdMask(bit)) != 0;
}

}  // namespace vox
