// A mono recording held as floats in [-1, 1) at its own sample rate, the form
// every analysis step of the voice builder works on.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace vox::voicebuild {

struct Waveform {
    int rate = 0;
    std::vector<float> samples;

    double Duration() const { return rate > 0 ? double(samples.size()) / rate : 0.0; }
    // Sample index of a time in seconds, clamped to [0, size].
    int64_t IndexAt(double seconds) const;
};

Waveform FromPcm16(std::span<const int16_t> pcm, int rate);

// Saturates to the 16-bit range (never wraps).
int16_t ToPcm16(float value);

}  // namespace vox::voicebuild
