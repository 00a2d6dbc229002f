#include "tools/voicebuild/Spectrum.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>

namespace vox::voicebuild {

namespace {

constexpr double kLowHz = 100.0, kHighHz = 7000.0;
constexpr double kFloorBelowPeak = 50.0;
constexpr float kSilence = -100.0f;

// In-place radix-2 FFT; the size is a power of two.
void Fft(std::vector<std::complex<double>>& x) {
    const size_t n = x.size();
    for (size_t i = 1, j = 0; i < n; ++i) {
        size_t bit = n >> 1;
        for (; j & bit; bit >>= 1) j ^= bit;
        j ^= bit;
        if (i < j) std::swap(x[i], x[j]);
    }
    for (size_t len = 2; len <= n; len <<= 1) {
        const double angle = -2.0 * std::numbers::pi / double(len);
        const std::complex<double> step(std::cos(angle), std::sin(angle));
        for (size_t i = 0; i < n; i += len) {
            std::complex<double> w(1.0, 0.0);
            for (size_t k = 0; k < len / 2; ++k) {
                const std::complex<double> u = x[i + k], v = x[i + k + len / 2] * w;
                x[i + k] = u + v;
                x[i + k + len / 2] = u - v;
                w *= step;
            }
        }
    }
}

}  // namespace

std::vector<float> BandLevels(std::span<const float> frame, int rate) {
    std::vector<float> levels(kSpectrumBands, kSilence);
    if (frame.empty() || rate <= 0) return levels;
    size_t n = 1;
    while (n < frame.size()) n <<= 1;
    std::vector<std::complex<double>> x(n);
    const double m = double(frame.size());
    for (size_t i = 0; i < frame.size(); ++i)
        x[i] = frame[i] * (0.5 - 0.5 * std::cos(2.0 * std::numbers::pi * (double(i) + 0.5) / m));
    Fft(x);
    std::vector<double> power(kSpectrumBands, 0.0);
    std::vector<int> bins(kSpectrumBands, 0);
    const double width = (kHighHz - kLowHz) / kSpectrumBands;
    for (size_t k = 0; k <= n / 2; ++k) {
        const double hz = double(k) * rate / double(n);
        if (hz < kLowHz || hz >= kHighHz) continue;
        const int band = std::min(kSpectrumBands - 1, int((hz - kLowHz) / width));
        power[size_t(band)] += std::norm(x[k]);
        ++bins[size_t(band)];
    }
    for (int b = 0; b < kSpectrumBands; ++b)
        if (bins[size_t(b)] > 0 && power[size_t(b)] > 0.0)
            levels[size_t(b)] = float(10.0 * std::log10(power[size_t(b)] / bins[size_t(b)] / m));
    return levels;
}

double SpectralDistance(std::span<const float> a, std::span<const float> b) {
    if (a.empty() || a.size() != b.size()) return 0.0;
    const float peak =
        std::max(*std::max_element(a.begin(), a.end()), *std::max_element(b.begin(), b.end()));
    const double floor = peak - kFloorBelowPeak;
    double sum = 0.0;
    for (size_t i = 0; i < a.size(); ++i) {
        const double d = std::max<double>(a[i], floor) - std::max<double>(b[i], floor);
        sum += d * d;
    }
    return std::sqrt(sum / double(a.size()));
}

double DistanceAcross(std::span<const float> signal, long at, int rate) {
    const long frame = std::max(4L, std::lround(kSpectrumFrame * rate));
    const long n = long(signal.size());
    const long from = std::max(0L, at - frame), to = std::min(n, at + frame);
    if (at - from < frame / 4 || to - at < frame / 4) return -1.0;
    const std::vector<float> before =
        BandLevels(signal.subspan(size_t(from), size_t(at - from)), rate);
    const std::vector<float> after = BandLevels(signal.subspan(size_t(at), size_t(to - at)), rate);
    return SpectralDistance(before, after);
}

}  // namespace vox::voicebuild
