// Module 419.1's tables (also those of module 419.3): module 419.0's with bit
// 62 on every vowel and on M M' N N' L L' V V' J', plus "O1" and "O2": 62
// phonemes, "O1" being code 34 and "_" 62.
#pragma once

#include "phonetic/module-419-0/Tables4190.h"

namespace vox::m4191 {

inline constexpr uint64_t kBit62 = SdMask(sd::Bit62);

constexpr bool TakesBit62(const PhonemeEntry& e) {
    constexpr std::string_view kSonorous[] = {"M", "M'", "N", "N'", "L", "L'", "V", "V'", "J'"};
    if (HasBit(e.sd, sd::Vowel)) return true;
    for (std::string_view name : kSonorous)
        if (e.name == name) return true;
    return false;
}

inline constexpr std::array<PhonemeEntry, 2> kUnstressedO = {{
    {"O1", m4190::kVowel1 | kBit62, 3},
    {"O2", m4190::kVowel2 | kBit62, 3},
}};

inline constexpr auto kInventory =
    Merged(WithBits(m4190::kInventory, TakesBit62, kBit62), kUnstressedO);
static_assert(kInventory.size() == 62 && StrictlySorted<PhonemeEntry>(kInventory));
static_assert(kInventory[33].name == "O1" && kInventory[61].name == "_");

inline constexpr ModuleTables kTables{kInventory, m4190::kPlaces};

}  // namespace vox::m4191
