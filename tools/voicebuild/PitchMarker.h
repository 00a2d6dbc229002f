// Pitch marks (glottal closure instants) from the LP residual, guided by the
// f0 track: in every voiced run a dynamic-programming pass chooses a chain of
// residual peaks whose spacing follows the local period, then the chain is
// repaired where it skipped or doubled a period, and stepped period by
// period beyond the run's frames while strong peaks continue it (a vowel's
// first pulses come before the frames whose window they fill).
#pragma once

#include <span>
#include <vector>

#include "tools/voicebuild/PitchTracker.h"

namespace vox::voicebuild {

struct MarkOptions {
    double peakExclusion = 0.1;   // a candidate is the residual maximum within ± this × T0
    double nodeCost = 0.4;        // each mark earns its normalised peak height minus this
    double spacingWeight = 6.0;   // penalty × ln(interval / T0)²
    double maxStep = 2.2;         // longest interval considered, × T0
    size_t bridgeFrames = 6;      // unvoiced frames inside one voiced run
    double edgeReach = 0.020;     // seconds a run's chain may be stepped beyond its frames
    double edgeTolerance = 0.15;  // a stepped mark lies within ± this × T0 of one period on
    double edgeHeight = 0.5;      // … and is at least this share of the chain's typical peak
};

// A voiced run of the track: sample range [from, to).
struct VoicedRun {
    long from = 0;
    long to = 0;
};

// The voiced runs; runs separated by at most `bridgeFrames` unvoiced frames
// are one run (an abrupt change of timbre can make a few frames look
// aperiodic in the middle of voicing).
std::vector<VoicedRun> VoicedRuns(const PitchTrack& track, long sampleCount,
                                  size_t bridgeFrames = 0);

// Marks as sample indices of the analysed recording, ascending. `residual`
// must already have the polarity that makes closures positive.
std::vector<long> FindPitchMarks(std::span<const float> residual, const PitchTrack& track,
                                 const MarkOptions& options = {});

// How well marks follow the f0 track: among intervals between neighbouring
// marks whose midpoint lies in voiced speech, how many are within ± tolerance
// of the local period.
struct MarkAgreement {
    size_t intervals = 0;
    size_t withinTolerance = 0;
    double Share() const { return intervals ? double(withinTolerance) / double(intervals) : 1.0; }
};

MarkAgreement CompareWithTrack(std::span<const long> marks, const PitchTrack& track,
                               double tolerance = 0.2);

}  // namespace vox::voicebuild
