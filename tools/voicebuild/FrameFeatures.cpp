#include "tools/voicebuild/FrameFeatures.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "tools/voicebuild/PitchTracker.h"

namespace vox::voicebuild {

namespace {

// One RBJ high-pass biquad section.
struct Biquad {
    double b0, b1, b2, a1, a2;
    double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
    double Process(double x) {
        double y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
        x2 = x1, x1 = x, y2 = y1, y1 = y;
        return y;
    }
};

Biquad HighPass(double cutoff, int rate, double q) {
    double w0 = 2.0 * std::numbers::pi * cutoff / rate;
    double alpha = std::sin(w0) / (2.0 * q);
    double c = std::cos(w0), a0 = 1.0 + alpha;
    return Biquad{(1.0 + c) / 2.0 / a0, -(1.0 + c) / a0, (1.0 + c) / 2.0 / a0, -2.0 * c / a0,
                  (1.0 - alpha) / a0};
}

// Fourth-order Butterworth high-pass: two sections with these Q values.
constexpr double kButterworthQ[] = {0.5412, 1.3066};

}  // namespace

size_t FrameFeatures::FrameAt(double seconds) const {
    if (levelDb.empty()) return 0;
    long frame = std::lround(seconds * rate / hopSamples);
    return size_t(std::clamp<long>(frame, 0, long(levelDb.size()) - 1));
}

FrameFeatures ComputeFrameFeatures(const Waveform& wave, const FrameFeatureOptions& o) {
    FrameFeatures f;
    f.rate = wave.rate;
    if (wave.rate <= 0 || wave.samples.empty()) return f;
    f.hopSamples = std::max(1, int(std::lround(o.hop * wave.rate)));
    const long window = std::max(2L, std::lround(o.window * wave.rate));
    const double cutoff = std::min(o.highBandHz, 0.45 * wave.rate);

    // Prefix sums of the full and the high-passed energy.
    const size_t n = wave.samples.size();
    std::vector<double> full(n + 1, 0.0), high(n + 1, 0.0);
    Biquad a = HighPass(cutoff, wave.rate, kButterworthQ[0]),
           b = HighPass(cutoff, wave.rate, kButterworthQ[1]);
    for (size_t i = 0; i < n; ++i) {
        double x = wave.samples[i];
        double h = b.Process(a.Process(x));
        full[i + 1] = full[i] + x * x;
        high[i + 1] = high[i] + h * h;
    }
    const size_t frames = n / size_t(f.hopSamples) + 1;
    f.levelDb.resize(frames);
    f.highShare.resize(frames);
    for (size_t t = 0; t < frames; ++t) {
        long centre = long(t) * f.hopSamples;
        size_t from = size_t(std::clamp<long>(centre - window / 2, 0, long(n)));
        size_t to = size_t(std::clamp<long>(centre + window / 2, 0, long(n)));
        double e = full[to] - full[from], eh = high[to] - high[from];
        double count = double(std::max<size_t>(1, to - from));
        f.levelDb[t] = float(10.0 * std::log10(e / count + 1e-12));
        f.highShare[t] = e > 1e-12 ? float(std::clamp(eh / e, 0.0, 1.0)) : 0.0f;
    }
    const double floor = FloorDb(f.levelDb);
    for (float& level : f.levelDb) level = float(level - floor);
    return f;
}

}  // namespace vox::voicebuild
