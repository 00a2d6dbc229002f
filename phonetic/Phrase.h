// Lists and phrases as they cross IPhonetic: items joined by "," (empty items
// vanish on input), and the check that a phoneme list is a phrase: at least
// three phonemes, "#" (Terminator) at both ends, every phoneme known, and no
// two neighbours that are both boundaries (None).
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "phonetic/PhonemeInventory.h"

namespace vox {

// Splits at every ","; the views point into `list`.
std::vector<std::string_view> SplitItems(std::string_view list);

enum class PhraseFault {
    None,
    TooShort,            // fewer than three phonemes
    UnknownPhoneme,      // `position` names it
    AdjacentBoundaries,  // `position` and the one before it are both None
    NoTerminators,       // the first or the last phoneme is not "#"
};

struct PhraseCheck {
    PhraseFault fault = PhraseFault::None;
    size_t position = 0;
    explicit operator bool() const { return fault == PhraseFault::None; }
};

// Validates in the order the module always has (length, then each phoneme
// from the left, then the ends). On success `sds` holds the table SDs.
PhraseCheck ValidatePhrase(std::span<const std::string_view> names,
                           const PhonemeInventory& inventory, std::vector<uint64_t>& sds);

}  // namespace vox
