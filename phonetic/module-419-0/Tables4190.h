// Module 419.0's tables: the 60 phonemes of Russian with their table sound
// descriptions and viseme codes (Speech API numbering), in byte order of the
// names so that a phoneme's code is its position (1-based), and the place
// table of the plosives. The other modules extend these tables.
#pragma once

#include <array>

#include "phonetic/PhonemeInventory.h"
#include "phonetic/SoundDescription.h"

namespace vox::m4190 {

// Table sound descriptions by class.
inline constexpr uint64_t kPhraseMark = SdMask(sd::None) | SdMask(sd::Terminator);
inline constexpr uint64_t kWordMark = SdMask(sd::None) | SdMask(sd::Space);
inline constexpr uint64_t kVowelBase = SdMask(sd::Any) | SdMask(sd::Vowel) | SdMask(sd::Intonable);
inline constexpr uint64_t kVowel0 = kVowelBase | SdMask(sd::Stressed) | SdMask(sd::FullStressed);
inline constexpr uint64_t kVowel5 = kVowelBase | SdMask(sd::Stressed) | SdMask(sd::PartialStressed);
inline constexpr uint64_t kVowel1 = kVowelBase | SdMask(sd::Unstressed) | SdMask(sd::Pretonic);
inline constexpr uint64_t kVowel2 = kVowelBase | SdMask(sd::Unstressed) | SdMask(sd::Posttonic);

inline constexpr uint64_t kConsonantBase = SdMask(sd::Any) | SdMask(sd::Consonant);
inline constexpr uint64_t kVoicedPlosive = kConsonantBase | SdMask(sd::Voiced) |
                                           SdMask(sd::Occlusive) | SdMask(sd::Plosive) |
                                           SdMask(sd::Intonable);
inline constexpr uint64_t kNasalLateral = kConsonantBase | SdMask(sd::Voiced) |
                                          SdMask(sd::Occlusive) | SdMask(sd::Sonant) |
                                          SdMask(sd::Intonable);
inline constexpr uint64_t kVoicedFricative =
    kConsonantBase | SdMask(sd::Voiced) | SdMask(sd::Fricative) | SdMask(sd::Intonable);
inline constexpr uint64_t kTrill = kConsonantBase | SdMask(sd::Voiced) | SdMask(sd::Fricative) |
                                   SdMask(sd::Sonant) | SdMask(sd::Vibrant);
inline constexpr uint64_t kGlide = kConsonantBase | SdMask(sd::Voiced) | SdMask(sd::Fricative) |
                                   SdMask(sd::Sonant) | SdMask(sd::Soft) | SdMask(sd::Intonable);
inline constexpr uint64_t kVoicelessPlosive =
    kConsonantBase | SdMask(sd::Voiceless) | SdMask(sd::Occlusive) | SdMask(sd::Plosive);
inline constexpr uint64_t kVoicelessFricative =
    kConsonantBase | SdMask(sd::Voiceless) | SdMask(sd::Fricative);
inline constexpr uint64_t kAffricateBase =
    kConsonantBase | SdMask(sd::Voiceless) | SdMask(sd::Affricate) | SdMask(sd::Bit63);
inline constexpr uint64_t kHardSd = SdMask(sd::Hard);
inline constexpr uint64_t kSoftSd = SdMask(sd::Soft);
inline constexpr uint64_t kHissSd = SdMask(sd::Bit63);

static_assert(kPhraseMark == 0x0200000000000001 && kWordMark == 0x0100000000000001);
static_assert(kVowel0 == 0x100000000000002E && kVowel5 == 0x100000000000004E);
static_assert(kVowel1 == 0x1000000000000096 && kVowel2 == 0x1000000000000116);
static_assert((kVoicedPlosive | kHardSd) == 0x1000000000025602);
static_assert((kNasalLateral | kHardSd) == 0x1000000000029602);
static_assert((kVoicedFricative | kHardSd) == 0x1000000000022602);
static_assert((kTrill | kSoftSd) == 0x00000000000CA602 && kGlide == 0x100000000004A602);
static_assert((kVoicelessPlosive | kHardSd) == 0x0000000000025A02);
static_assert((kVoicelessFricative | kHissSd | kSoftSd) == 0x8000000000042A02);
static_assert((kAffricateBase | kHardSd) == 0x8000000000030A02 &&
              (kAffricateBase | kSoftSd) == 0x8000000000050A02);

inline constexpr std::array<PhonemeEntry, 60> kInventory = {{
    {"#", kPhraseMark, 0},
    {"A0", kVowel0, 1},
    {"A1", kVowel1, 1},
    {"A2", kVowel2, 1},
    {"A5", kVowel5, 1},
    {"B", kVoicedPlosive | kHardSd, 21},
    {"B'", kVoicedPlosive | kSoftSd, 21},
    {"C", kAffricateBase | kHardSd, 15},
    {"CH'", kAffricateBase | kSoftSd, 16},
    {"D", kVoicedPlosive | kHardSd, 19},
    {"D'", kVoicedPlosive | kSoftSd, 19},
    {"E0", kVowel0, 4},
    {"E1", kVowel1, 4},
    {"E2", kVowel2, 4},
    {"E5", kVowel5, 4},
    {"F", kVoicelessFricative | kHardSd, 18},
    {"F'", kVoicelessFricative | kSoftSd, 18},
    {"G", kVoicedPlosive | kHardSd, 20},
    {"G'", kVoicedPlosive | kSoftSd, 20},
    {"I0", kVowel0, 6},
    {"I1", kVowel1, 6},
    {"I2", kVowel2, 6},
    {"I5", kVowel5, 6},
    {"J'", kGlide, 6},
    {"K", kVoicelessPlosive | kHardSd, 20},
    {"K'", kVoicelessPlosive | kSoftSd, 20},
    {"L", kNasalLateral | kHardSd, 14},
    {"L'", kNasalLateral | kSoftSd, 14},
    {"M", kNasalLateral | kHardSd, 21},
    {"M'", kNasalLateral | kSoftSd, 21},
    {"N", kNasalLateral | kHardSd, 19},
    {"N'", kNasalLateral | kSoftSd, 19},
    {"O0", kVowel0, 3},
    {"O5", kVowel5, 3},
    {"P", kVoicelessPlosive | kHardSd, 21},
    {"P'", kVoicelessPlosive | kSoftSd, 21},
    {"R", kTrill | kHardSd, 13},
    {"R'", kTrill | kSoftSd, 13},
    {"S", kVoicelessFricative | kHissSd | kHardSd, 15},
    {"S'", kVoicelessFricative | kHissSd | kSoftSd, 15},
    {"SH", kVoicelessFricative | kHissSd | kHardSd, 16},
    {"SH'", kVoicelessFricative | kHissSd | kSoftSd, 16},
    {"T", kVoicelessPlosive | kHardSd, 19},
    {"T'", kVoicelessPlosive | kSoftSd, 19},
    {"U0", kVowel0, 7},
    {"U1", kVowel1, 7},
    {"U2", kVowel2, 7},
    {"U5", kVowel5, 7},
    {"V", kVoicedFricative | kHardSd, 18},
    {"V'", kVoicedFricative | kSoftSd, 18},
    {"X", kVoicelessFricative | kHissSd | kHardSd, 12},
    {"X'", kVoicelessFricative | kHissSd | kSoftSd, 12},
    {"Y0", kVowel0, 5},
    {"Y1", kVowel1, 5},
    {"Y2", kVowel2, 5},
    {"Y5", kVowel5, 5},
    {"Z", kVoicedFricative | kHissSd | kHardSd, 15},
    {"Z'", kVoicedFricative | kHissSd | kSoftSd, 15},
    {"ZH", kVoicedFricative | kHissSd | kHardSd, 16},
    {"_", kWordMark, 0},
}};
static_assert(StrictlySorted<PhonemeEntry>(kInventory), "codes follow the byte order of names");

// The plosives by place; the same in every module.
inline constexpr std::array<PlaceEntry, 12> kPlaces = {{
    {"B", 3},
    {"B'", 3},
    {"D", 1},
    {"D'", 1},
    {"G", 2},
    {"G'", 2},
    {"K", 2},
    {"K'", 2},
    {"P", 3},
    {"P'", 3},
    {"T", 1},
    {"T'", 1},
}};
static_assert(StrictlySorted<PlaceEntry>(kPlaces));

inline constexpr ModuleTables kTables{kInventory, kPlaces};

}  // namespace vox::m4190
