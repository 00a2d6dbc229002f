#include "engine/audio/Reverberation.h"

#include <algorithm>

#include "engine/audio/EffectFades.h"
#include "engine/audio/Samples.h"

namespace vox {

ReverbParams ReverbParamsOf(const VoiceProperties& s) {
    return SafeReverbParams({s.reverDelay, s.reverFeedback, s.reverNumDelays, s.reverSourceAmount,
                             s.reverDelayAmount, s.reverUseFilter});
}

void Reverberation::Apply(std::vector<int16_t>& signal, const VoiceProperties& settings) {
    const ReverbParams params = ReverbParamsOf(settings);
    reverberator_.SetFilter(settings.reverFilterType, settings.reverFilterLow,
                            settings.reverFilterHigh);
    const size_t length = signal.size();
    reverberator_.Reverberate(signal, params);
    nextTail_.assign(signal.begin() + static_cast<std::ptrdiff_t>(length), signal.end());
    signal.resize(length);

    // The previous phrase's tail rings on into this one.
    const size_t overlap = std::min(length, tail_.size());
    for (size_t j = 0; j < overlap; ++j)
        signal[j] = SaturateSample(signal[j] + tail_[j] * params.feedback);
    tail_.swap(nextTail_);

    FadeInStart(signal, kEffectFadeLength);
    FadeOutEnd(signal, kEffectFadeLength);
}

}  // namespace vox
