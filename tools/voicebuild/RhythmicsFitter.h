// Learns the rules of "Rhytmics.cfg" from the corpus's phoneme durations.
// The engine makes a phoneme last its rule's coefficient times the recorded
// length of its basic allophone's unit, taking the first rule of its class
// whose conditions hold. So, per class, the fitter grows such a decision list
// greedily: from the phonemes no earlier rule took, it picks the condition
// (one attribute of the phoneme or a neighbour, or one of a few positional
// attributes with another) whose own coefficient (summed durations over
// summed references) lowers the summed squared duration error most, until no
// condition gains enough; the phonemes left get the class's unconditioned
// last rule.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "engine/prosody/AttributeConditions.h"

namespace vox::voicebuild {

struct DurationObservation {
    PhonemeContext context;  // with the phrase type bits
    int cls = 0;             // RhythmicsModel::ClassOf
    double samples = 0.0;    // label duration at 22050 Hz
    double reference = 0.0;  // the basic allophone's unit length, samples
};

// The text of "Rhytmics.cfg"; `rules` counts the rules written.
std::string FitRhythmicsRules(std::span<const DurationObservation> observations, size_t& rules);

}  // namespace vox::voicebuild
