// The synthesis segments of a concatenated phrase: one per pitch mark, each
// with the period that starts there and a time factor, closed by one segment
// at the signal's end.
#pragma once

#include <span>
#include <vector>

#include "engine/synthesis/PhraseRecords.h"
#include "engine/voice/AudioBase.h"

namespace vox {

// A segment at span start + mark for each mark of each voiced unit (without
// the unit's last mark when `maxCut`), one at the signal length; of equal
// neighbours only the later stays; each period is the distance to the next.
std::vector<SynthesisSegment> MakeSegments(std::span<const Unit> units,
                                           std::span<const UnitSpan> spans, size_t signalLength,
                                           bool maxCut);

// Gives every segment that starts inside a unit's span that unit's factor
// (`unitFactors` indexed by unit index). The rhythmics stage uses it.
void SetSpanTimeFactors(std::span<const float> unitFactors, std::span<const UnitSpan> spans,
                        std::span<SynthesisSegment> segments);

}  // namespace vox
