// Throughput of the builder's analysis on 10 s of synthetic voiced speech at
// 16 kHz (a pulse train with a gliding f0 through three formants, broken by
// noise bursts). Items are input samples: items_per_second / 16000 is the
// speed in seconds of speech per second.
#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>
#include <random>

#include "tools/voicebuild/BoundaryRefiner.h"
#include "tools/voicebuild/FrameFeatures.h"
#include "tools/voicebuild/LinearPrediction.h"
#include "tools/voicebuild/PitchMarker.h"
#include "tools/voicebuild/PitchTracker.h"
#include "tools/voicedb/Resample.h"

namespace vox::voicebuild {
namespace {

constexpr int kRate = 16000;
constexpr double kSeconds = 10.0;

const Waveform& Speech() {
    static const Waveform wave = [] {
        Waveform w;
        w.rate = kRate;
        const size_t n = size_t(kSeconds * kRate);
        std::vector<double> voice(n, 0.0), noise(n, 0.0);
        std::mt19937 random(7);
        std::normal_distribution<double> gauss(0.0, 1.0);
        double phase = 0.0, y[3][2] = {};
        const double formants[3] = {700, 1200, 2500};
        double peak = 0.0;
        for (size_t i = 0; i < n; ++i) {
            const double t = double(i) / kRate;
            const bool fricative = std::fmod(t, 0.5) > 0.4;  // 100 ms of noise every 500 ms
            phase += 130.0 * (1.0 + 0.2 * std::sin(2.0 * std::numbers::pi * 0.7 * t)) / kRate;
            double x = 0.0;
            if (phase >= 1.0) phase -= 1.0, x = fricative ? 0.0 : 1.0;
            for (int k = 0; k < 3; ++k) {
                const double r = std::exp(-std::numbers::pi * 100.0 / kRate);
                const double a1 = 2.0 * r * std::cos(2.0 * std::numbers::pi * formants[k] / kRate);
                const double out = x + a1 * y[k][0] - r * r * y[k][1];
                y[k][1] = y[k][0], y[k][0] = out;
                x = out;
            }
            voice[i] = x;
            peak = std::max(peak, std::abs(x));
            noise[i] = (fricative ? 0.1 : 0.0005) * gauss(random);
        }
        w.samples.resize(n);
        for (size_t i = 0; i < n; ++i) w.samples[i] = float(0.5 * voice[i] / peak + noise[i]);
        return w;
    }();
    return wave;
}

void SetItems(benchmark::State& state) {
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(Speech().samples.size()));
}

void BM_TrackPitch(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(TrackPitch(Speech()));
    SetItems(state);
}
BENCHMARK(BM_TrackPitch)->Unit(benchmark::kMillisecond);

void BM_LpResidual(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(LpResidual(Speech()));
    SetItems(state);
}
BENCHMARK(BM_LpResidual)->Unit(benchmark::kMillisecond);

void BM_FindPitchMarks(benchmark::State& state) {
    const PitchTrack track = TrackPitch(Speech());
    const std::vector<float> residual = LpResidual(Speech());
    size_t marks = 0;
    for (auto _ : state) marks = FindPitchMarks(residual, track).size();
    state.counters["marks"] = double(marks);
    SetItems(state);
}
BENCHMARK(BM_FindPitchMarks)->Unit(benchmark::kMillisecond);

void BM_FeaturesAndRefinement(benchmark::State& state) {
    const PitchTrack track = TrackPitch(Speech());
    const std::vector<long> marks = FindPitchMarks(LpResidual(Speech()), track);
    std::vector<TimedPhone> phones;
    for (double t = 0.0; t + 0.5 <= kSeconds; t += 0.5) {
        phones.push_back({SoundClass::StressedVowel, t, t + 0.4});
        phones.push_back({SoundClass::VoicelessFricative, t + 0.4, t + 0.5});
    }
    for (auto _ : state) {
        std::vector<TimedPhone> copy = phones;
        benchmark::DoNotOptimize(
            RefineBoundaries(copy, ComputeFrameFeatures(Speech()), track, marks));
    }
    SetItems(state);
}
BENCHMARK(BM_FeaturesAndRefinement)->Unit(benchmark::kMillisecond);

// The cutting pass resamples each utterance that holds a chosen unit once.
void BM_ResampleTo22050(benchmark::State& state) {
    std::vector<int16_t> pcm(Speech().samples.size());
    for (size_t i = 0; i < pcm.size(); ++i)
        pcm[i] = int16_t(std::lround(Speech().samples[i] * 32767.0f));
    std::vector<int16_t> out;
    std::string error;
    for (auto _ : state) benchmark::DoNotOptimize(voicedb::Resample(pcm, kRate, 22050, out, error));
    SetItems(state);
}
BENCHMARK(BM_ResampleTo22050)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vox::voicebuild
