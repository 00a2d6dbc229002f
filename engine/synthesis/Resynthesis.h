// Pitch-synchronous resynthesis: every recorded pitch period of the signal is
// cut out with two half raised-cosine windows, placed at an output position
// spaced by its new pitch period and overlap-added; periods repeat or are
// skipped to follow the time factors. The result is normalised by the sum of
// the windows. The same pass moves the unit spans to their new places.
//
// Allocates: the workspace grows to the largest phrase seen; a new window
// length allocates its table once. Nothing is allocated per period.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "engine/synthesis/PhraseRecords.h"
#include "engine/synthesis/WindowTables.h"

namespace vox {

// One period placed in the output: the input periods [a, b) and [b, c), the
// left half ending and the right half starting at output sample o.
struct PeriodPlacement {
    int32_t a, b, c;
    int64_t o;
};

struct ResynthesisWorkspace {
    std::vector<float> output;     // y
    std::vector<float> windowSum;  // w
    std::vector<PeriodPlacement> placements;
    WindowTables windows;
};

// Output period over recorded period. A pitch period that is 0 ("as
// recorded"), not finite or negative counts as the recorded one; others are
// kept within [1, 22050] samples.
double PeriodRatio(float pitchPeriod, int32_t recordedPeriod);
// A time factor that is not finite or not positive counts as 1.0; factors
// below 0.01 count as 0.01, so that a phrase grows at most a hundredfold.
double UsableTimeFactor(float timeFactor);

// Rebuilds `signal` from its segments (ascending positions, the last at the
// signal's length) and moves `spans` (signal order) to the new timing.
// Segments that are not ascending within the signal leave everything as is.
void Resynthesise(std::vector<int16_t>& signal, std::span<const SynthesisSegment> segments,
                  std::span<UnitSpan> spans, ResynthesisWorkspace& workspace);

}  // namespace vox
