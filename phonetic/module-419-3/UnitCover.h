// Module 419.3's allophone choice: cover the phrase with as few units of the
// inventory as possible (dynamic programming over phrase positions; each
// position tries only the units that start with its phoneme, so the work
// grows linearly with the phrase for a given inventory), name each phoneme
// after its unit ("T-A0.1", "T-A0.2"; a one-phoneme unit by its own name),
// then give a consonant before a vowel and that vowel the names of their
// pair where the cover left them single ("T-A0.1", "T-A0.2").
#pragma once

#include <string>
#include <vector>

#include "phonetic/PhonemeInventory.h"
#include "phonetic/PhoneticModule.h"
#include "phonetic/module-419-3/UnitInventory.h"

namespace vox {

// One allophone per phoneme, for any list (the first phoneme is never part
// of a unit). Secondary stress matches units written with "0"; the names
// keep the phonemes as given.
std::vector<std::string> CoverPhrase(const std::vector<std::string>& phonemes,
                                     const UnitInventory& units, const GroupTable& groups,
                                     const PhonemeInventory& inventory);

}  // namespace vox
