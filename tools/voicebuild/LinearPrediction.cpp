#include "tools/voicebuild/LinearPrediction.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vox::voicebuild {

bool LpcCoefficients(std::span<const float> frame, int order, std::vector<double>& a) {
    std::vector<double> r(size_t(order) + 1, 0.0);
    for (int lag = 0; lag <= order; ++lag)
        for (size_t i = size_t(lag); i < frame.size(); ++i)
            r[size_t(lag)] += double(frame[i]) * frame[i - size_t(lag)];
    a.assign(size_t(order) + 1, 0.0);
    a[0] = 1.0;
    if (r[0] <= 1e-10) return false;
    r[0] *= 1.0 + 1e-9;  // a hair of white noise keeps the recursion stable
    // Levinson-Durbin recursion.
    double error = r[0];
    std::vector<double> previous(a.size());
    for (int i = 1; i <= order; ++i) {
        double acc = r[size_t(i)];
        for (int j = 1; j < i; ++j) acc += a[size_t(j)] * r[size_t(i - j)];
        double k = -acc / error;
        previous = a;
        for (int j = 1; j < i; ++j)
            a[size_t(j)] = previous[size_t(j)] + k * previous[size_t(i - j)];
        a[size_t(i)] = k;
        error *= 1.0 - k * k;
        if (error <= 0.0) return false;
    }
    return true;
}

std::vector<float> LpResidual(const Waveform& wave, const ResidualOptions& o) {
    const size_t n = wave.samples.size();
    std::vector<float> residual(n, 0.0f);
    if (n == 0 || wave.rate <= 0) return residual;
    const int order = o.order > 0 ? o.order : 2 + wave.rate / 1000;
    const size_t window = size_t(std::max(order + 1, int(std::lround(o.window * wave.rate))));
    const size_t hop = size_t(std::max(1, int(std::lround(o.hop * wave.rate))));

    std::vector<float> emphasised(n);
    emphasised[0] = wave.samples[0];
    for (size_t i = 1; i < n; ++i)
        emphasised[i] = wave.samples[i] - float(o.preEmphasis) * wave.samples[i - 1];

    std::vector<float> hamming(window);
    for (size_t i = 0; i < window; ++i)
        hamming[i] =
            float(0.54 - 0.46 * std::cos(2.0 * std::numbers::pi * double(i) / double(window - 1)));

    // Each hop of samples is inverse-filtered with the frame centred on it.
    std::vector<float> frame(window);
    std::vector<double> a;
    for (size_t start = 0; start < n; start += hop) {
        long centre = long(start + hop / 2);
        for (size_t i = 0; i < window; ++i) {
            long at = centre - long(window / 2) + long(i);
            frame[i] = at >= 0 && at < long(n) ? emphasised[size_t(at)] * hamming[i] : 0.0f;
        }
        if (!LpcCoefficients(frame, order, a)) continue;
        for (size_t i = start; i < std::min(n, start + hop); ++i) {
            double e = emphasised[i];
            for (int k = 1; k <= order && size_t(k) <= i; ++k)
                e += a[size_t(k)] * emphasised[i - size_t(k)];
            residual[i] = float(e);
        }
    }
    if (o.smoothingTaps > 1) {
        std::vector<float> smoothed(n, 0.0f);
        const long half = o.smoothingTaps / 2;
        for (size_t i = 0; i < n; ++i) {
            double sum = 0.0;
            for (long k = -half; k <= half; ++k) {
                long at = long(i) + k;
                if (at >= 0 && at < long(n)) sum += residual[size_t(at)];
            }
            smoothed[i] = float(sum / o.smoothingTaps);
        }
        residual.swap(smoothed);
    }
    return residual;
}

double Skewness(std::span<const float> residual, std::span<const std::pair<long, long>> ranges) {
    double m2 = 0.0, m3 = 0.0;
    size_t count = 0;
    for (auto [from, to] : ranges) {
        for (long i = std::max(0L, from); i < std::min(long(residual.size()), to); ++i) {
            double v = residual[size_t(i)];
            m2 += v * v;
            m3 += v * v * v;
            ++count;
        }
    }
    if (count == 0 || m2 <= 0.0) return 0.0;
    m2 /= double(count);
    m3 /= double(count);
    return m3 / std::pow(m2, 1.5);
}

}  // namespace vox::voicebuild
