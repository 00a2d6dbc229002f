// Short-time features for boundary detection and instance scoring: level in
// dB above the recording's floor and the share of energy above 4 kHz, on
// short frames (10 ms window, 2.5 ms step).
#pragma once

#include <vector>

#include "tools/voicebuild/Waveform.h"

namespace vox::voicebuild {

struct FrameFeatureOptions {
    double window = 0.010;
    double hop = 0.0025;
    double highBandHz = 4000.0;
};

struct FrameFeatures {
    int rate = 0;
    int hopSamples = 0;            // frame t is centred on sample t·hop
    std::vector<float> levelDb;    // above the floor
    std::vector<float> highShare;  // energy above the high band edge / total, 0…1

    size_t Frames() const { return levelDb.size(); }
    double TimeOf(double frame) const { return frame * hopSamples / rate; }
    size_t FrameAt(double seconds) const;
};

FrameFeatures ComputeFrameFeatures(const Waveform& wave, const FrameFeatureOptions& options = {});

}  // namespace vox::voicebuild
