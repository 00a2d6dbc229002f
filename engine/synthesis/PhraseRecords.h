// The small records of one phrase's signal: where each unit lies in the
// concatenated signal, and the pitch-mark segments that resynthesis follows.
// Positions and periods count samples at 22050 Hz.
#pragma once

#include <cstdint>
#include <string>

namespace vox {

// One voiced unit's place in the signal.
struct UnitSpan {
    std::string allophone;  // the allophone list item (not a substitute's name)
    int32_t start = 0;
    int32_t length = 0;
    int32_t unitIndex = 0;  // = phoneme index
};

// One pitch-mark record of the concatenated phrase.
struct SynthesisSegment {
    int32_t position = 0;
    float pitchPeriod = 0.0f;  // length of the period that starts here; 0 = as recorded
    float timeFactor = 1.0f;   // 1.0 = recorded tempo; larger consumes the recording faster
};

}  // namespace vox
