#include "tools/voicebuild/ProsodyComparison.h"

#include <cmath>
#include <numeric>

namespace vox::voicebuild {

namespace {

double Semitones(double hz) {
    return 12.0 * std::log2(hz / 100.0);
}

// Where each synthesised phoneme starts, in samples; empty when the sizes do
// not fit the phoneme list.
std::vector<long> Starts(const HeldOutSyntagma& held, std::span<const int32_t> sizes) {
    if (sizes.size() != held.phonemes.size()) return {};
    std::vector<long> starts(sizes.size() + 1, 0);
    for (size_t i = 0; i < sizes.size(); ++i) {
        if (sizes[i] < 0) return {};
        starts[i + 1] = starts[i] + sizes[i];
    }
    return starts;
}

}  // namespace

bool AddComparison(const HeldOutSyntagma& held, const PitchTrack& recorded,
                   const PitchTrack& spoken, std::span<const int32_t> sizes,
                   ProsodyPairs& pairs) {
    const std::vector<long> starts = Starts(held, sizes);
    if (starts.empty() || recorded.Frames() == 0 || spoken.rate <= 0) return false;
    std::vector<double> recordedDb, spokenDb;
    for (size_t i = 0; i < sizes.size(); ++i) {
        if (!held.HasAudio(i) || sizes[i] <= 0) continue;
        const double length = double(sizes[i]);
        const double recordedSeconds = held.ends[i] - held.starts[i];
        pairs.recordedMs.push_back(1000.0 * recordedSeconds);
        pairs.spokenMs.push_back(1000.0 * length / spoken.rate);
        for (size_t f = spoken.FrameAt(starts[i]); f < spoken.Frames(); ++f) {
            const long centre = spoken.CentreOf(f);
            if (centre < starts[i]) continue;
            if (centre >= starts[i + 1]) break;
            const double at = held.starts[i] + double(centre - starts[i]) / length * recordedSeconds;
            const size_t r = recorded.FrameAt(long(std::lround(at * recorded.rate)));
            recordedDb.push_back(recorded.levelDb[r]);
            spokenDb.push_back(spoken.levelDb[f]);
            if (recorded.f0[r] > 0.0f && spoken.f0[f] > 0.0f) {
                pairs.recordedSt.push_back(Semitones(recorded.f0[r]));
                pairs.spokenSt.push_back(Semitones(spoken.f0[f]));
            }
        }
    }
    // Levels relative to the syntagma's mean: recording and synthesis differ
    // in overall level and floor, the contour is what is compared.
    auto centred = [](std::vector<double>& v, std::vector<double>& into) {
        if (v.empty()) return;
        const double mean = std::accumulate(v.begin(), v.end(), 0.0) / double(v.size());
        for (double x : v) into.push_back(x - mean);
    };
    centred(recordedDb, pairs.recordedDb);
    centred(spokenDb, pairs.spokenDb);
    ++pairs.syntagmas;
    return true;
}

void MergePairs(const ProsodyPairs& from, ProsodyPairs& into) {
    auto append = [](const std::vector<double>& a, std::vector<double>& b) {
        b.insert(b.end(), a.begin(), a.end());
    };
    append(from.recordedMs, into.recordedMs), append(from.spokenMs, into.spokenMs);
    append(from.recordedSt, into.recordedSt), append(from.spokenSt, into.spokenSt);
    append(from.recordedDb, into.recordedDb), append(from.spokenDb, into.spokenDb);
    into.syntagmas += from.syntagmas;
}

double Correlation(std::span<const double> a, std::span<const double> b) {
    const size_t n = std::min(a.size(), b.size());
    if (n < 2) return 0.0;
    double ma = 0.0, mb = 0.0;
    for (size_t i = 0; i < n; ++i) ma += a[i], mb += b[i];
    ma /= double(n), mb /= double(n);
    double sab = 0.0, saa = 0.0, sbb = 0.0;
    for (size_t i = 0; i < n; ++i) {
        sab += (a[i] - ma) * (b[i] - mb);
        saa += (a[i] - ma) * (a[i] - ma);
        sbb += (b[i] - mb) * (b[i] - mb);
    }
    return saa > 0.0 && sbb > 0.0 ? sab / std::sqrt(saa * sbb) : 0.0;
}

double RootMeanSquareDifference(std::span<const double> a, std::span<const double> b) {
    const size_t n = std::min(a.size(), b.size());
    if (n == 0) return 0.0;
    double sum = 0.0;
    for (size_t i = 0; i < n; ++i) sum += (a[i] - b[i]) * (a[i] - b[i]);
    return std::sqrt(sum / double(n));
}

double MeanDifference(std::span<const double> a, std::span<const double> b) {
    const size_t n = std::min(a.size(), b.size());
    double sum = 0.0;
    for (size_t i = 0; i < n; ++i) sum += b[i] - a[i];
    return n > 0 ? sum / double(n) : 0.0;
}

ProsodyFigures Summarise(const ProsodyPairs& p) {
    ProsodyFigures f;
    f.syntagmas = p.syntagmas;
    f.phonemes = p.recordedMs.size();
    f.voicedFrames = p.recordedSt.size();
    f.frames = p.recordedDb.size();
    f.durationRmseMs = RootMeanSquareDifference(p.recordedMs, p.spokenMs);
    f.durationCorrelation = Correlation(p.recordedMs, p.spokenMs);
    f.f0RmseSt = RootMeanSquareDifference(p.recordedSt, p.spokenSt);
    f.f0Correlation = Correlation(p.recordedSt, p.spokenSt);
    f.energyCorrelation = Correlation(p.recordedDb, p.spokenDb);
    f.durationBiasMs = MeanDifference(p.recordedMs, p.spokenMs);
    f.f0BiasSt = MeanDifference(p.recordedSt, p.spokenSt);
    return f;
}

}  // namespace vox::voicebuild
