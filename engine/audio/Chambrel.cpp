#include "engine/audio/Chambrel.h"

#include "engine/audio/EffectFades.h"
#include "engine/audio/Samples.h"

namespace vox {

namespace {

constexpr double kRate = 22050;
constexpr int32_t kOrder = 4;

}  // namespace

double ClampUnit(double v) {
    if (!(v > 0)) return 0;
    return v > 1 ? 1 : v;
}

void Chambrel::Apply(std::vector<int16_t>& signal, ChambrelParams params) {
    const double depth = ClampUnit(params.depth), feedback = ClampUnit(params.feedback);
    const double o = params.isMale ? 0 : 100;

    notched_.assign(signal.begin(), signal.end());
    filter_.Filter(notched_, kHighPass, kOrder, 20, 20, kRate);
    filter_.Filter(notched_, kBandStop, kOrder, o + 300, 4 * o + 3000 + 1000 * depth, kRate);
    filter_.Filter(notched_, kLowPass, kOrder, 7040, 7040, kRate);

    reverberated_.assign(signal.begin(), signal.end());
    filter_.Filter(reverberated_, kBandPass, kOrder, 400, 5000, kRate);
    room_.SetFilter(kBandPass, o + 300, 2000);
    room_.Reverberate(reverberated_, {0.08, 0.2, 3, 1.0, 1.0, true});

    head_.assign(signal.begin(), signal.end());
    filter_.Filter(head_, kBandPass, kOrder, o + 200, o + 700, kRate);

    for (size_t i = 0; i < signal.size(); ++i)
        signal[i] =
            SaturateSample(notched_[i] + feedback * reverberated_[i] + 2 * depth * head_[i]);
    FadeOutEnd(signal, kEffectFadeLength);
}

}  // namespace vox
