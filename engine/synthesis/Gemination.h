// Cutting a geminate (a consonant next to the same consonant, as in a doubled
// letter): the first of the pair keeps its beginning, the second its end, so
// that the two recorded units together sound like one long consonant.
#pragma once

#include <cstdint>

#include "engine/voice/AudioBase.h"

namespace vox {

// Applies the cut when `sd` has Consonant and SamePhoneme1 or SamePhoneme2;
// otherwise leaves the unit alone. Voiced units are cut at pitch marks
// (`maxCut` keeps the mark the cut lands on); voiceless ones at 65 % and 35 %
// of their samples, and get marks every 100 samples.
void CutGeminate(Unit& unit, uint64_t sd, bool maxCut);

}  // namespace vox
