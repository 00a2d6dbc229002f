// The converter against libsamplerate's own best sinc converter (the
// reference, linked only here), both given the exact ratio R / 22050: a
// band-limited sweep must agree to 70 dB, and a tone above the new Nyquist
// frequency must be attenuated by 95 dB.
#include <gtest/gtest.h>
#include <samplerate.h>

#include <cmath>
#include <cstdio>
#include <numbers>
#include <string>
#include <vector>

#include "engine/audio/Resampler.h"

namespace vox {
namespace {

// A linear sweep from 50 Hz to 0.45 × the lower of the two rates, 0.9 of
// full scale, 3 s at 22050 Hz, faded in and out over 100 samples.
std::vector<int16_t> Sweep(uint32_t rate) {
    const size_t n = 3 * kEngineRate;
    const double top = 0.45 * std::min<uint32_t>(rate, kEngineRate);
    std::vector<int16_t> x(n);
    double phase = 0;
    for (size_t i = 0; i < n; ++i) {
        phase += 2 * std::numbers::pi * (50 + (top - 50) * i / n) / kEngineRate;
        const double fade = std::min({1.0, i / 100.0, (n - 1 - i) / 100.0});
        x[i] = static_cast<int16_t>(std::lrint(29490 * fade * std::sin(phase)));
    }
    return x;
}

std::vector<int16_t> Reference(const std::vector<int16_t>& x, uint32_t rate, size_t m) {
    std::vector<float> in(x.size()), out(m, 0.0f);
    src_short_to_float_array(x.data(), in.data(), static_cast<int>(x.size()));
    SRC_DATA data{};
    data.data_in = in.data();
    data.input_frames = static_cast<long>(in.size());
    data.data_out = out.data();
    data.output_frames = static_cast<long>(m);
    data.src_ratio = static_cast<double>(rate) / kEngineRate;
    EXPECT_EQ(src_simple(&data, SRC_SINC_BEST_QUALITY, 1), 0);
    std::vector<int16_t> y(m);
    src_float_to_short_array(out.data(), y.data(), static_cast<int>(m));
    return y;
}

double SnrDb(const std::vector<int16_t>& reference, const std::vector<int16_t>& y) {
    double signal = 0, noise = 0;
    for (size_t i = 0; i < reference.size(); ++i) {
        const double r = reference[i], d = r - y[i];
        signal += r * r;
        noise += d * d;
    }
    return 10 * std::log10(signal / std::max(noise, 1e-9));
}

TEST(ResamplerReference, SweepAgreesWithLibsamplerate) {
    for (uint32_t rate : {16000u, 44100u, 11025u}) {
        std::vector<int16_t> y = Sweep(rate);
        ASSERT_TRUE(ResampleFrom22050(y, rate));
        const std::vector<int16_t> reference = Reference(Sweep(rate), rate, y.size());
        const double snr = SnrDb(reference, y);
        EXPECT_GE(snr, 70.0) << rate << " Hz";
        RecordProperty("snr_db_" + std::to_string(rate), std::to_string(snr));
        std::printf("%u Hz: %.1f dB\n", rate, snr);
    }
}

TEST(ResamplerReference, ToneAboveTheNewNyquistFrequencyIsRemoved) {
    for (uint32_t rate : {16000u, 11025u}) {
        const double hz = 0.55 * rate;  // 10 % above the new Nyquist frequency
        const size_t n = 2 * kEngineRate;
        std::vector<float> tone(n);
        for (size_t i = 0; i < n; ++i)
            tone[i] = static_cast<float>(std::sin(2 * std::numbers::pi * hz * i / kEngineRate));
        std::vector<float> out(static_cast<size_t>(n * static_cast<double>(ResampleRatio(rate))));
        ResampleFloats(tone, rate, out);
        double power = 0;  // middle half: away from the abrupt ends
        for (size_t i = out.size() / 4; i < out.size() * 3 / 4; ++i) power += out[i] * out[i];
        const double db = 10 * std::log10(power / (out.size() / 2) / 0.5);
        EXPECT_LE(db, -95.0) << rate << " Hz";

        // On the engine's 16-bit path only the input's own quantisation
        // noise (in band) is left.
        std::vector<int16_t> samples(n);
        for (size_t i = 0; i < n; ++i) samples[i] = static_cast<int16_t>(30000 * tone[i]);
        ASSERT_TRUE(ResampleFrom22050(samples, rate));
        for (size_t i = samples.size() / 4; i < samples.size() * 3 / 4; ++i)
            ASSERT_LE(std::abs(samples[i]), 2) << rate << " Hz, sample " << i;
    }
}

}  // namespace
}  // namespace vox
