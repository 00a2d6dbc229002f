// Module 419.2's tables: module 419.1's inventory plus 43 vowel-sequence
// phonemes (two vowels, or a vowel and J', recorded as one unit), each with
// the viseme of its first letter: 105 phonemes, "AA0" being code 6.
#pragma once

#include "phonetic/module-419-1/Tables4191.h"

namespace vox::m4192 {

// Stressed and posttonic vowel sequences take the plain vowels' values.
inline constexpr uint64_t kSequence0 = m4190::kVowel0 | m4191::kBit62;
inline constexpr uint64_t kSequence2 = m4190::kVowel2 | m4191::kBit62;
static_assert(kSequence0 == 0x500000000000002E && kSequence2 == 0x5000000000000116);

inline constexpr std::array<PhonemeEntry, 43> kVowelSequences = {{
    {"AA0", kSequence0, 1},  {"AA2", kSequence2, 1},  {"AE0", kSequence0, 1},
    {"AE2", kSequence2, 1},  {"AU0", kSequence0, 1},  {"AU2", kSequence2, 1},
    {"UA0", kSequence0, 7},  {"UA2", kSequence2, 7},  {"UE0", kSequence0, 7},
    {"UE2", kSequence2, 7},  {"UU0", kSequence0, 7},  {"UU2", kSequence2, 7},
    {"IA0", kSequence0, 6},  {"IA2", kSequence2, 6},  {"IE0", kSequence0, 6},
    {"IE2", kSequence2, 6},  {"IU0", kSequence0, 6},  {"IU2", kSequence2, 6},
    {"YA0", kSequence0, 5},  {"YA2", kSequence2, 5},  {"YE0", kSequence0, 5},
    {"YE2", kSequence2, 5},  {"YU0", kSequence0, 5},  {"YU2", kSequence2, 5},
    {"EA0", kSequence0, 4},  {"EA2", kSequence2, 4},  {"EE0", kSequence0, 4},
    {"EE2", kSequence2, 4},  {"EU0", kSequence0, 4},  {"EU2", kSequence2, 4},
    {"AJ'0", kSequence0, 1}, {"AJ'2", kSequence2, 1}, {"EJ'0", kSequence0, 4},
    {"EJ'2", kSequence2, 4}, {"YJ'0", kSequence0, 5}, {"YJ'2", kSequence2, 5},
    {"IJ'0", kSequence0, 6}, {"IJ'2", kSequence2, 6}, {"OJ'0", kSequence0, 3},
    {"OJ'2", kSequence2, 3}, {"UJ'0", kSequence0, 7}, {"UJ'2", kSequence2, 7},
    {"OE0", kSequence0, 3},
}};
static_assert(kVowelSequences.size() == 43);

inline constexpr auto kInventory = Merged(m4191::kInventory, kVowelSequences);
static_assert(kInventory.size() == 105 && StrictlySorted<PhonemeEntry>(kInventory));
static_assert(kInventory[5].name == "AA0" && kInventory[104].name == "_");

inline constexpr ModuleTables kTables{kInventory, m4190::kPlaces};

}  // namespace vox::m4192
