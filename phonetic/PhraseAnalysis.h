// The phrase analysis shared by all modules: adds to each phoneme's table SD
// the positional bits that depend on its neighbours (Homoorganic,
// SamePhoneme), its syllable (FirstSyl … PosttonicSyl, Adjoining, Open/Closed)
// and its word (FirstAU … NoPosttonicSyl). "#" and "_" keep their table SD.
//
// A syllable is the consonants before a vowel plus that vowel; a word's
// trailing consonants belong to its last syllable, and a word without a vowel
// is one syllable. The stress of a word is its first FullStressed vowel;
// secondary stress (digit 5) does not count.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "phonetic/PhonemeInventory.h"

namespace vox {

// `sds` enters with the table SDs of a validated phrase (Phrase.h) and leaves
// with the positional bits added. Allocates two small vectors per call.
void AddPositionalBits(std::span<const std::string_view> names, const PhonemeInventory& inventory,
                       std::span<uint64_t> sds);

}  // namespace vox
