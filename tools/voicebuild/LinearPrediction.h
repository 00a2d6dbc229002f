// Linear-prediction residual of a recording: pre-emphasis, autocorrelation
// LPC per Hamming-windowed frame, inverse filtering and a short moving
// average. Glottal closures show as the residual's peaks, one per period.
#pragma once

#include <span>
#include <vector>

#include "tools/voicebuild/Waveform.h"

namespace vox::voicebuild {

struct ResidualOptions {
    double preEmphasis = 0.97;
    int order = 0;          // 0: 2 + rate / 1000 (18 at 16 kHz)
    double window = 0.025;  // seconds
    double hop = 0.010;
    int smoothingTaps = 5;  // centred moving average
};

// Predictor coefficients a[1…order] (a[0] = 1) of one frame by the
// autocorrelation method; false when the frame is silent.
bool LpcCoefficients(std::span<const float> frame, int order, std::vector<double>& a);

// The residual, one value per input sample, aligned with the input.
std::vector<float> LpResidual(const Waveform& wave, const ResidualOptions& options = {});

// Third standardised moment of the residual over the given sample ranges
// (voiced speech): its sign tells the polarity of the glottal pulses.
double Skewness(std::span<const float> residual, std::span<const std::pair<long, long>> ranges);

}  // namespace vox::voicebuild
