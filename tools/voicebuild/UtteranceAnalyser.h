// The signal side of one utterance: read the recording, track f0, find the
// pitch marks, refine the label boundaries and measure every candidate
// instance (f0, level, voicing, regularity of its marks).
#pragma once

#include <span>
#include <string>
#include <vector>

#include "tools/voicebuild/BoundaryRefiner.h"
#include "tools/voicebuild/CorpusModel.h"
#include "tools/voicebuild/LinearPrediction.h"
#include "tools/voicebuild/PitchMarker.h"
#include "tools/voicebuild/PitchTracker.h"
#include "tools/voicebuild/Waveform.h"

namespace vox::voicebuild {

struct AnalysisSettings {
    PitchOptions pitch;
    ResidualOptions residual;
    MarkOptions marks;
    RefineOptions refine;
    bool invertResidual = false;  // the corpus's glottal pulses are negative
};

// Reads a recording (mono 16-bit PCM WAV); false with `problem`.
bool LoadRecording(const std::string& path, Waveform& wave, std::string& problem);

// Skewness of the LP residual over the voiced runs of one recording.
double ResidualSkewness(const Waveform& wave, const AnalysisSettings& settings);

// `instances` are the utterance's own, in phoneme order; their times and
// acoustic facts are filled in.
bool AnalyseUtterance(const PreparedUtterance& utterance,
                      const std::vector<SoundClass>& segmentClass, std::span<Instance> instances,
                      const AnalysisSettings& settings, UtteranceMarks& result,
                      std::string& problem);

}  // namespace vox::voicebuild
