#include "engine/audio/Reverberator.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "engine/audio/Samples.h"

namespace vox {

namespace {

constexpr double kMinDelay = 0.001, kMaxDelay = 0.5;
constexpr int32_t kMaxTaps = 10;
constexpr int32_t kTapFilterOrder = 4;

double Clamp(double v, double low, double high) {
    return std::isnan(v) ? low : std::clamp(v, low, high);
}

}  // namespace

ReverbTap TapOf(int32_t k, int32_t n, double delay, double feedback) {
    const double fraction = std::exp2(-static_cast<double>(k) / n);
    return {delay * fraction, std::pow(feedback, fraction)};
}

ReverbParams SafeReverbParams(ReverbParams p) {
    p.delay = Clamp(p.delay, kMinDelay, kMaxDelay);
    p.feedback = Clamp(p.feedback, 0.0, kMaxReverbFeedback);
    p.numDelays = std::clamp(p.numDelays, 1, kMaxTaps);
    p.sourceAmount = Clamp(p.sourceAmount, -1e3, 1e3);
    p.delayAmount = Clamp(p.delayAmount, -1e3, 1e3);
    return p;
}

Reverberator::Reverberator(double rate) : rate_(rate) {
    SetFilter(kBandPass, 70, 7040);
}

bool Reverberator::SetFilter(int32_t type, double f1, double f2) {
    if (type == kLowPass || type == kHighPass) f2 = f1;
    return filter_.Design(type, kTapFilterOrder, f1, f2, rate_);
}

// One comb: copy[j + D] += gain × copy[j] (through the tap filter), read
// after the earlier additions, then copy / n into the accumulator. Blocks of
// at most D samples go through the filter at once: the additions of a block
// land beyond it, so every value it reads is already final.
void Reverberator::AddTap(const std::vector<int16_t>& signal, ReverbTap tap, int32_t taps,
                          bool filtered) {
    const double samples = tap.delay * rate_;
    copy_.assign(signal.begin(), signal.end());
    if (static_cast<double>(signal.size()) >= samples) {
        const size_t shift = static_cast<size_t>(samples);
        copy_.resize(static_cast<size_t>(signal.size() + samples), 0);
        std::array<double, 1024> block;
        const size_t step = std::clamp<size_t>(shift, 1, block.size());
        for (size_t j = 1; j + shift < copy_.size(); j += step) {
            const size_t count = std::min(step, copy_.size() - shift - j);
            for (size_t i = 0; i < count; ++i) block[i] = tap.gain * copy_[j + i];
            if (filtered) filter_.RunBlock({block.data(), count});
            for (size_t i = 0; i < count; ++i)
                copy_[j + shift + i] = SaturateSample(copy_[j + shift + i] + block[i]);
        }
    }
    const size_t n = std::min(copy_.size(), accumulator_.size());
    for (size_t j = 0; j < n; ++j)
        accumulator_[j] = SaturateSample(static_cast<int64_t>(accumulator_[j]) + copy_[j] / taps);
}

void Reverberator::Reverberate(std::vector<int16_t>& signal, const ReverbParams& raw) {
    const ReverbParams p = SafeReverbParams(raw);
    const size_t extension = static_cast<size_t>(p.delay * rate_);
    const size_t total = signal.size() + extension;
    accumulator_.assign(total, 0);
    const bool filtered = p.useFilter && !filter_.Sections().empty();
    for (int32_t k = 0; k < p.numDelays; ++k)
        AddTap(signal, TapOf(k, p.numDelays, p.delay, p.feedback), p.numDelays, filtered);

    signal.resize(total, 0);
    const double dry = p.sourceAmount - p.delayAmount;
    for (size_t j = 1; j < total; ++j)
        signal[j] = SaturateSample(signal[j] * dry + accumulator_[j] * p.delayAmount);
    for (size_t i = 0; i < extension; ++i) {
        const double gain = static_cast<double>(extension - 1 - i) / extension;
        signal[total - extension + i] = ScaleSample(signal[total - extension + i], gain);
    }
}

}  // namespace vox
