// Moves label boundaries onto acoustic events. The corpus labels come from a
// forced aligner on a 10 ms grid and put vowel|fricative boundaries 15–35 ms
// early; since each unit is one phone, every boundary between two sounds is
// searched again within ±50 ms with a detector for its pair of classes:
// high-band share for fricatives, the closure's level drop for stops, the
// voicing onset (its first glottal pulse) after a stop. Pause edges and pairs without a detector
// stay.
#pragma once

#include <span>
#include <vector>

#include "tools/voicebuild/FrameFeatures.h"
#include "tools/voicebuild/PitchTracker.h"
#include "tools/voicebuild/SoundClass.h"

namespace vox::voicebuild {

struct TimedPhone {
    SoundClass cls = SoundClass::Pause;
    double start = 0.0;  // seconds
    double end = 0.0;
};

struct RefineOptions {
    double searchRadius = 0.050;  // seconds either side of the label boundary
    double minDuration = 0.010;   // neither phone may shrink below this
    double highShareThreshold = 0.3;
    double closureDropDb = 20.0;  // below the left vowel's middle level
    double onsetLead = 0.030;     // the first pulse may precede the voiced frames by this
};

enum class Detector { None, HighBandRise, HighBandFall, ClosureDrop, VoicingOnset };

// The detector for the boundary between two neighbouring classes.
Detector DetectorFor(SoundClass left, SoundClass right);

// Refines the boundaries between neighbours that touch (end == start);
// returns how many moved. `marks` (samples at the pitch track's rate) place
// a voicing onset on its first glottal pulse.
size_t RefineBoundaries(std::vector<TimedPhone>& phones, const FrameFeatures& features,
                        const PitchTrack& pitch, std::span<const long> marks,
                        const RefineOptions& options = {});

}  // namespace vox::voicebuild
