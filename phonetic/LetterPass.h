// The letter pass of letter-to-phoneme conversion: each letter becomes zero,
// one or two phonemes, chosen by the letters before and after it.
#pragma once

#include <string>

#include "phonetic/StressMarks.h"

namespace vox::letters {

// Appends "#," and then every produced phoneme followed by ",". A word break
// gives "_"; signs give nothing of their own. `reduceUnstressedJo` turns an
// unstressed "J',O" into "J',A" (for inventories without "O1" and "O2").
void AppendLetterPhonemes(const MarkedLetters& text, std::string& out,
                          bool reduceUnstressedJo = false);

}  // namespace vox::letters
