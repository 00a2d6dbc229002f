// Where the prosody models act on a phrase. Each hook is one step of the
// phrase pipeline; the pipeline calls it only when its setting is on (or the
// caller gave its array). A hook that has no model behind it changes nothing.
#pragma once

#include <string>
#include <vector>

#include "engine/synthesis/PhraseState.h"

namespace vox {

// Loudness normalisation of one unit from the prosodic dataset, searched by
// the allophone list item ("UseAmpProsody" on, "UseAmpContour" off).
void NormaliseUnitLoudness(PhraseState& state, Unit& unit, const std::string& allophone);

// The amplitude profile over the voiced units ("UseAmpContour").
void ApplyAmplitudeContour(PhraseState& state);

// Pitch periods from the prosodic dataset ("UseFreqProsody").
void ApplyFrequencyProsody(PhraseState& state);

// Duration factor per unit from the rhythmics model ("RhytmicsEnabled"); an
// empty result leaves the time factors alone.
std::vector<float> RhythmicDurationFactors(PhraseState& state);

// Intonation contours, prepared for the phrase mark and applied absolute or
// relative ("IntonationEnabled").
void ApplyIntonation(PhraseState& state);

// Per-word rate and pitch steps of the caller, on the segments.
void ApplyCallerRate(PhraseState& state, const int8_t* rate);
void ApplyCallerPitch(PhraseState& state, const int8_t* pitch);

// Per-word volume steps of the caller, on the finished signal.
void ApplyCallerVolume(PhraseState& state, const int8_t* volume);

}  // namespace vox
