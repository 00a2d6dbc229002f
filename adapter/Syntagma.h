// What the adapter sends to the engine for one syntagma: the phoneme string
// "#,w1,_,w2,…,#", the word ranges of its elements, and the per-word
// prosody derived from the site and the fragments.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "adapter/GlossorClient.h"
#include "interfaces/SapiInterfaces.h"

namespace vox {

std::string SyntagmaPhonemes(const SpokenSyntagma& syntagma);

// The phoneme string split at "," (empty items dropped, as the engine reads it).
std::vector<std::string> PhonemeElements(const std::string& phonemes);

// Half-open element ranges, one per word: each holds the word's phonemes and
// the boundary element after them; element 0 (the leading "#") is in none.
struct ElementRange {
    size_t begin, end;
};
std::vector<ElementRange> WordRanges(const std::vector<std::string>& elements);

struct WordProsody {
    std::vector<int8_t> rate, volume, pitch;
};

// The fragment whose settings apply to a word: from `current` on, the first
// whose end is not below the word's position; the last one when none is.
const SPVTEXTFRAG* FragmentOfWord(const SPVTEXTFRAG* current, int64_t position);

WordProsody ComputeProsody(const SpokenSyntagma& syntagma, const SPVTEXTFRAG* current,
                           ISpTTSEngineSite& site);

}  // namespace vox
