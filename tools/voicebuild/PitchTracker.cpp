#include "tools/voicebuild/PitchTracker.h"

#include <algorithm>
#include <cmath>

namespace vox::voicebuild {

namespace {

// Shortest voiced run kept, in frames: single voiced frames in noise are
// chance dips of the difference function.
constexpr size_t kMinVoicedRun = 3;

// Highest floor (dB re full scale) of a recording without pauses.
constexpr double kQuietDbfs = -50.0;

struct Geometry {
    int hop;     // samples
    int blocks;  // hops per window
    int window;  // samples = hop × blocks
    int minLag;  // searched lag range, samples
    int maxLag;
};

Geometry GeometryFor(int rate, const PitchOptions& o) {
    Geometry g{};
    g.hop = std::max(1, int(std::lround(o.hop * rate)));
    g.blocks = std::max(1, int(std::lround(o.window / o.hop)));
    g.window = g.hop * g.blocks;
    g.minLag = std::max(2, int(std::floor(rate / o.searchMaxF0)));
    g.maxLag = std::max(g.minLag + 2, int(std::ceil(rate / o.searchMinF0)));
    return g;
}

// Adds the squared differences of one block of `hop` samples at every lag
// 1…maxLag into acc[0…maxLag-1]. The inner loop runs over lags so that it
// vectorises without reassociating sums.
void AccumulateBlock(const float* x, int hop, int maxLag, float* acc) {
    for (int j = 0; j < hop; ++j) {
        const float xj = x[j];
        const float* ahead = x + j + 1;
        for (int lag = 0; lag < maxLag; ++lag) {
            float diff = xj - ahead[lag];
            acc[lag] += diff * diff;
        }
    }
}

// Chooses the lag of one frame from its difference function d[1…maxLag]
// (index lag-1). Returns the fractional lag and the normalised dip there.
std::pair<double, double> ChooseLag(const std::vector<float>& d, const Geometry& g,
                                    const PitchOptions& o, std::vector<float>& cmndf) {
    cmndf.assign(size_t(g.maxLag) + 1, 1.0f);
    double running = 0.0;
    for (int lag = 1; lag <= g.maxLag; ++lag) {
        running += d[size_t(lag - 1)];
        cmndf[size_t(lag)] = running > 0.0 ? float(d[size_t(lag - 1)] * lag / running) : 1.0f;
    }
    int best = -1;
    for (int lag = g.minLag; lag < g.maxLag; ++lag) {
        if (cmndf[size_t(lag)] < o.threshold) {
            while (lag + 1 < g.maxLag && cmndf[size_t(lag + 1)] < cmndf[size_t(lag)]) ++lag;
            best = lag;
            break;
        }
    }
    if (best >= 0) {
        // A clearly deeper dip at twice the lag: the first one was a strong
        // second harmonic (nasals, low first formants), not the period.
        const int from = int(std::floor(1.9 * best));
        const int to = std::min(g.maxLag - 1, int(std::ceil(2.1 * best)));
        int twice = -1;
        for (int lag = from; lag <= to; ++lag)
            if (twice < 0 || cmndf[size_t(lag)] < cmndf[size_t(twice)]) twice = lag;
        if (twice > 0 && cmndf[size_t(twice)] < o.octaveBelowDip * cmndf[size_t(best)])
            best = twice;
    }
    if (best < 0) {
        best = g.minLag;
        for (int lag = g.minLag; lag < g.maxLag; ++lag)
            if (cmndf[size_t(lag)] < cmndf[size_t(best)]) best = lag;
    }
    double a = cmndf[size_t(best - 1)], b = cmndf[size_t(best)], c = cmndf[size_t(best + 1)];
    double denom = a - 2.0 * b + c;
    double shift = denom > 1e-12 ? std::clamp(0.5 * (a - c) / denom, -0.5, 0.5) : 0.0;
    return {best + shift, b};
}

float Median(std::vector<float>& values) {
    auto mid = values.begin() + values.size() / 2;
    std::nth_element(values.begin(), mid, values.end());
    return *mid;
}

// Folds octave jumps back onto the running median of the voiced frames.
void RepairOctaves(std::vector<float>& f0, int span) {
    std::vector<float> original = f0, near;
    for (size_t t = 0; t < f0.size(); ++t) {
        if (original[t] <= 0.0f) continue;
        near.clear();
        size_t lo = t > size_t(span) ? t - size_t(span) : 0;
        size_t hi = std::min(f0.size(), t + size_t(span) + 1);
        for (size_t k = lo; k < hi; ++k)
            if (original[k] > 0.0f) near.push_back(original[k]);
        float ratio = original[t] / Median(near);
        if (ratio > 1.6f)
            f0[t] = original[t] / std::round(ratio);
        else if (ratio < 0.625f)
            f0[t] = original[t] * std::round(1.0f / ratio);
    }
}

void DropShortRuns(std::vector<float>& f0) {
    size_t t = 0;
    while (t < f0.size()) {
        if (f0[t] <= 0.0f) {
            ++t;
            continue;
        }
        size_t end = t;
        while (end < f0.size() && f0[end] > 0.0f) ++end;
        if (end - t < kMinVoicedRun) std::fill(f0.begin() + long(t), f0.begin() + long(end), 0.0f);
        t = end;
    }
}

}  // namespace

size_t PitchTrack::FrameAt(long sample) const {
    if (f0.empty() || hopSamples <= 0) return 0;
    long frame = std::lround(double(sample - firstCentre) / hopSamples);
    return size_t(std::clamp<long>(frame, 0, long(f0.size()) - 1));
}

float PitchTrack::F0At(long sample) const {
    return f0.empty() ? 0.0f : f0[FrameAt(sample)];
}

double FloorDb(const std::vector<float>& frameDb) {
    if (frameDb.empty()) return 0.0;
    std::vector<float> sorted = frameDb;
    auto at = sorted.begin() + long(sorted.size() / 20);
    std::nth_element(sorted.begin(), at, sorted.end());
    return std::min(double(*at), kQuietDbfs);
}

PitchTrack TrackPitch(const Waveform& wave, const PitchOptions& o) {
    PitchTrack track;
    track.rate = wave.rate;
    if (wave.rate <= 0 || wave.samples.empty()) return track;
    const Geometry g = GeometryFor(wave.rate, o);
    track.hopSamples = g.hop;
    track.firstCentre = 0;

    // Frame t is centred on sample t·hop; the padding gives every frame and
    // lag its samples.
    const size_t n = wave.samples.size();
    const size_t frames = n / size_t(g.hop) + 1;
    const size_t lead = size_t(g.window / 2);
    std::vector<float> padded(lead + n + size_t(g.window + g.maxLag + 2 * g.hop), 0.0f);
    std::copy(wave.samples.begin(), wave.samples.end(), padded.begin() + long(lead));

    std::vector<std::vector<float>> ring(size_t(g.blocks), std::vector<float>(size_t(g.maxLag)));
    std::vector<float> d(size_t(g.maxLag)), cmndf;
    std::vector<float> energy(size_t(g.blocks), 0.0f);
    track.f0.assign(frames, 0.0f);
    track.dip.assign(frames, 1.0f);
    track.levelDb.assign(frames, 0.0f);
    std::vector<double> lags(frames, 0.0);

    // Block k holds the sums over samples [k·hop, (k+1)·hop) of the padded
    // signal; a frame sums the `blocks` newest ones.
    auto fillBlock = [&](size_t k) {
        std::vector<float>& slot = ring[k % size_t(g.blocks)];
        std::fill(slot.begin(), slot.end(), 0.0f);
        const float* start = &padded[k * size_t(g.hop)];
        AccumulateBlock(start, g.hop, g.maxLag, slot.data());
        float e = 0.0f;
        for (int j = 0; j < g.hop; ++j) e += start[j] * start[j];
        energy[k % size_t(g.blocks)] = e;
    };
    for (size_t k = 0; k + 1 < size_t(g.blocks); ++k) fillBlock(k);
    for (size_t t = 0; t < frames; ++t) {
        fillBlock(t + size_t(g.blocks) - 1);
        std::fill(d.begin(), d.end(), 0.0f);
        float total = 0.0f;
        for (size_t b = 0; b < size_t(g.blocks); ++b) {
            for (size_t lag = 0; lag < d.size(); ++lag) d[lag] += ring[b][lag];
            total += energy[b];
        }
        track.levelDb[t] = float(10.0 * std::log10(total / g.window + 1e-12));
        auto [lag, dip] = ChooseLag(d, g, o, cmndf);
        lags[t] = lag;
        track.dip[t] = float(dip);
    }

    const double floor = FloorDb(track.levelDb);
    for (size_t t = 0; t < frames; ++t) {
        track.levelDb[t] = float(track.levelDb[t] - floor);
        bool voiced = track.dip[t] < o.voicedMaxDip && track.levelDb[t] > o.voicedMinLevel;
        if (voiced) track.f0[t] = float(wave.rate / lags[t]);
    }
    DropShortRuns(track.f0);
    RepairOctaves(track.f0, int(std::lround(o.medianSpan / o.hop)));
    for (float& f : track.f0)
        if (f > 0.0f) f = float(std::clamp<double>(f, o.minF0, o.maxF0));
    return track;
}

}  // namespace vox::voicebuild
