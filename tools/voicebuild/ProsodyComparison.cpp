#include "tools/voicebuild/ProsodyComparison.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <string_view>

#include "tools/voicebuild/Aligner.h"
#include "tools/voicebuild/Median.h"

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

// Least-squares slope of y over x; 0 with fewer than 3 points or no spread.
double Slope(const std::vector<double>& x, const std::vector<double>& y) {
    const double n = double(x.size());
    if (x.size() < 3) return 0.0;
    double sx = 0, sy = 0, sxx = 0, sxy = 0;
    for (size_t i = 0; i < x.size(); ++i)
        sx += x[i], sy += y[i], sxx += x[i] * x[i], sxy += x[i] * y[i];
    const double d = n * sxx - sx * sx;
    return d > 0.0 ? (n * sxy - sx * sy) / d : 0.0;
}

double Mean(const std::vector<double>& v) {
    return v.empty() ? 0.0 : std::accumulate(v.begin(), v.end(), 0.0) / double(v.size());
}

// A stressed vowel in the phoneme names of modules 419.x: a vowel letter and "0".
bool IsStressedVowel(const std::string& name) {
    return name.size() == 2 && name[1] == '0' &&
           std::string_view("AEIOUY").find(name[0]) != std::string_view::npos;
}

SoundGroup GroupOf(const std::string& phoneme) {
    if (IsStressedVowel(phoneme)) return kStressedVowels;
    return IsVowelPhoneme(phoneme) ? kOtherVowels : kConsonants;
}

}  // namespace

bool AddComparison(const HeldOutSyntagma& held, const PitchTrack& recorded,
                   const PitchTrack& spoken, std::span<const int32_t> sizes, ProsodyPairs& pairs) {
    const std::vector<long> starts = Starts(held, sizes);
    if (starts.empty() || recorded.Frames() == 0 || spoken.rate <= 0) return false;
    std::vector<double> recordedDb, spokenDb;
    std::vector<double> recordedTime, spokenTime, recordedSt, spokenSt;
    size_t lastStressedFrom = 0, lastStressedTo = 0;  // its voiced frame pairs
    for (size_t i = 0; i < sizes.size(); ++i) {
        const size_t voicedBefore = recordedSt.size();
        if (!held.HasAudio(i) || sizes[i] <= 0) continue;
        const double length = double(sizes[i]);
        const double recordedSeconds = held.ends[i] - held.starts[i];
        pairs.recordedMs.push_back(1000.0 * recordedSeconds);
        pairs.spokenMs.push_back(1000.0 * length / spoken.rate);
        pairs.soundOf.push_back(GroupOf(held.phonemes[i]));
        for (size_t f = spoken.FrameAt(starts[i]); f < spoken.Frames(); ++f) {
            const long centre = spoken.CentreOf(f);
            if (centre < starts[i]) continue;
            if (centre >= starts[i + 1]) break;
            const double at =
                held.starts[i] + double(centre - starts[i]) / length * recordedSeconds;
            const size_t r = recorded.FrameAt(long(std::lround(at * recorded.rate)));
            recordedDb.push_back(recorded.levelDb[r]);
            spokenDb.push_back(spoken.levelDb[f]);
            if (recorded.f0[r] > 0.0f && spoken.f0[f] > 0.0f) {
                recordedSt.push_back(Semitones(recorded.f0[r]));
                spokenSt.push_back(Semitones(spoken.f0[f]));
                recordedTime.push_back(at);
                spokenTime.push_back(double(centre) / spoken.rate);
            }
        }
        if (IsStressedVowel(held.phonemes[i]) && recordedSt.size() > voicedBefore)
            lastStressedFrom = voicedBefore, lastStressedTo = recordedSt.size();
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
    pairs.recordedSt.insert(pairs.recordedSt.end(), recordedSt.begin(), recordedSt.end());
    pairs.spokenSt.insert(pairs.spokenSt.end(), spokenSt.begin(), spokenSt.end());
    double level = 0.0;
    for (size_t k = 0; k < spokenSt.size(); ++k) level += spokenSt[k] - recordedSt[k];
    level /= double(std::max<size_t>(1, spokenSt.size()));
    for (size_t k = 0; k < spokenSt.size(); ++k)
        pairs.contourErrorSt.push_back(spokenSt[k] - recordedSt[k] - level);
    if (held.mark == "(.)" && recordedSt.size() >= 3) {
        pairs.recordedSlope.push_back(Slope(recordedTime, recordedSt));
        pairs.spokenSlope.push_back(Slope(spokenTime, spokenSt));
    }
    if (held.mark == "(.)" && lastStressedTo > lastStressedFrom) {
        auto lowering = [&](const std::vector<double>& st) {
            const std::vector<double> vowel(st.begin() + long(lastStressedFrom),
                                            st.begin() + long(lastStressedTo));
            return Mean(vowel) - Median(st);
        };
        pairs.recordedLowering.push_back(lowering(recordedSt));
        pairs.spokenLowering.push_back(lowering(spokenSt));
    }
    ++pairs.syntagmas;
    return true;
}

void MergePairs(const ProsodyPairs& from, ProsodyPairs& into) {
    auto append = [](const std::vector<double>& a, std::vector<double>& b) {
        b.insert(b.end(), a.begin(), a.end());
    };
    append(from.recordedMs, into.recordedMs), append(from.spokenMs, into.spokenMs);
    into.soundOf.insert(into.soundOf.end(), from.soundOf.begin(), from.soundOf.end());
    append(from.contourErrorSt, into.contourErrorSt);
    append(from.recordedSt, into.recordedSt), append(from.spokenSt, into.spokenSt);
    append(from.recordedDb, into.recordedDb), append(from.spokenDb, into.spokenDb);
    append(from.recordedSlope, into.recordedSlope), append(from.spokenSlope, into.spokenSlope);
    append(from.recordedLowering, into.recordedLowering);
    append(from.spokenLowering, into.spokenLowering);
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
    f.statements = p.recordedSlope.size();
    f.recordedDeclination = Mean(p.recordedSlope);
    f.spokenDeclination = Mean(p.spokenSlope);
    f.recordedLowering = Mean(p.recordedLowering);
    f.spokenLowering = Mean(p.spokenLowering);
    f.contourRmseSt = RootMeanSquareDifference(p.contourErrorSt,
                                               std::vector<double>(p.contourErrorSt.size(), 0.0));
    std::array<double, kSoundGroups> squares{};
    for (size_t i = 0; i < p.soundOf.size() && i < p.recordedMs.size(); ++i) {
        const size_t g = size_t(p.soundOf[i]);
        squares[g] += (p.spokenMs[i] - p.recordedMs[i]) * (p.spokenMs[i] - p.recordedMs[i]);
        ++f.phonemesByGroup[g];
    }
    for (size_t g = 0; g < kSoundGroups; ++g)
        if (f.phonemesByGroup[g]) f.durationRmseByGroupMs[g] = std::sqrt(squares[g] / double(f.phonemesByGroup[g]));
    return f;
}

}  // namespace vox::voicebuild
