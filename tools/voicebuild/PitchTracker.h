// Fundamental frequency of a recording by YIN (a cumulative-mean-normalised
// difference function per frame, with a check of the octave below the chosen
// dip), with the voicing decision and a repair of octave jumps against the
// running median of the track.
#pragma once

#include <vector>

#include "tools/voicebuild/Waveform.h"

namespace vox::voicebuild {

struct PitchOptions {
    double window = 0.025;      // integration window, seconds
    double hop = 0.005;         // frame step, seconds
    double searchMinF0 = 50.0;  // lag range searched, Hz
    double searchMaxF0 = 500.0;
    double threshold = 0.15;       // first dip of the normalised difference below this,
    double octaveBelowDip = 0.5;   // unless the dip at twice its lag is below this share of it
    double voicedMaxDip = 0.2;     // voiced only when the chosen dip is below this …
    double voicedMinLevel = 25.0;  // … and the frame is this many dB above the floor
    double medianSpan = 0.150;     // ± seconds of the running median for octave repair
    double minF0 = 70.0;           // final values are clamped to the speaker's range
    double maxF0 = 260.0;
};

struct PitchTrack {
    int rate = 0;  // of the analysed recording
    int hopSamples = 0;
    int firstCentre = 0;         // sample index of frame 0's centre
    std::vector<float> f0;       // Hz, 0 where unvoiced
    std::vector<float> dip;      // chosen normalised difference (periodicity; lower is better)
    std::vector<float> levelDb;  // frame energy above the recording's floor, dB

    size_t Frames() const { return f0.size(); }
    int CentreOf(size_t frame) const { return firstCentre + int(frame) * hopSamples; }
    // Frame whose centre is nearest to a sample index (clamped).
    size_t FrameAt(long sample) const;
    // f0 at a sample index: the nearest frame's value (0 when unvoiced).
    float F0At(long sample) const;
    bool VoicedAt(long sample) const { return F0At(sample) > 0.0f; }
};

PitchTrack TrackPitch(const Waveform& wave, const PitchOptions& options = {});

// The recording's quiet level in dB: the 5th percentile of the frame levels,
// at most -50 dB re full scale (a recording without pauses has no quiet
// percentile of its own).
double FloorDb(const std::vector<float>& frameDb);

}  // namespace vox::voicebuild
