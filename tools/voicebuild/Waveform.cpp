#include "tools/voicebuild/Waveform.h"

#include <algorithm>
#include <cmath>

namespace vox::voicebuild {

int64_t Waveform::IndexAt(double seconds) const {
    double index = std::round(seconds * rate);
    return std::clamp<int64_t>(int64_t(std::max(index, 0.0)), 0, int64_t(samples.size()));
}

Waveform FromPcm16(std::span<const int16_t> pcm, int rate) {
    Waveform w;
    w.rate = rate;
    w.samples.resize(pcm.size());
    for (size_t i = 0; i < pcm.size(); ++i) w.samples[i] = float(pcm[i]) / 32768.0f;
    return w;
}

int16_t ToPcm16(float value) {
    float scaled = std::round(value * 32768.0f);
    return int16_t(std::clamp(scaled, -32768.0f, 32767.0f));
}

}  // namespace vox::voicebuild
