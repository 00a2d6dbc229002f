// Smoothing the joins between neighbouring voiced units: the louder side of a
// join is brought to the quieter side's level (or, with "MaxCut", both sides
// to their mean) and fades back to full level over at most 150 samples.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "engine/voice/AudioBase.h"

namespace vox {

// `voiced`: indices of the units with samples, ascending; `sds` one per unit.
void SmoothJoins(std::vector<Unit>& units, std::span<const uint64_t> sds,
                 std::span<const int32_t> voiced, bool maxCut);

// "X-Y" followed by "Y-X": two halves of one recording, left alone.
bool IsMirroredPair(const std::string& a, const std::string& b);

}  // namespace vox
