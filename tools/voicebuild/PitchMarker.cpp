#include "tools/voicebuild/PitchMarker.h"

#include <algorithm>
#include <cmath>

namespace vox::voicebuild {

namespace {

struct Candidate {
    long at;
    double score;  // peak height relative to the strongest peak within ± one period
};

// The local period in samples; at the edges of a run, where the nearest
// frame may be unvoiced, the run's own typical period.
struct PeriodGuide {
    const PitchTrack& track;
    double fallback;
    double At(long sample) const {
        float f0 = track.F0At(sample);
        return f0 > 0.0f ? track.rate / double(f0) : fallback;
    }
};

double TypicalPeriod(const PitchTrack& track, const VoicedRun& run) {
    std::vector<float> values;
    for (size_t t = track.FrameAt(run.from); t <= track.FrameAt(run.to - 1); ++t)
        if (track.f0[t] > 0.0f) values.push_back(track.f0[t]);
    if (values.empty()) return track.rate / 150.0;
    std::nth_element(values.begin(), values.begin() + long(values.size() / 2), values.end());
    return track.rate / double(values[values.size() / 2]);
}

bool IsPeak(std::span<const float> r, long i, long halfWidth) {
    if (r[size_t(i)] <= 0.0f) return false;
    long lo = std::max(0L, i - halfWidth), hi = std::min(long(r.size()) - 1, i + halfWidth);
    for (long k = lo; k <= hi; ++k) {
        if (r[size_t(k)] > r[size_t(i)] || (k < i && r[size_t(k)] == r[size_t(i)])) return false;
    }
    return true;
}

std::vector<Candidate> Candidates(std::span<const float> r, const VoicedRun& run,
                                  const PeriodGuide& guide, const MarkOptions& o) {
    std::vector<Candidate> c;
    for (long i = std::max(1L, run.from); i < std::min(long(r.size()) - 1, run.to); ++i) {
        if (r[size_t(i)] < r[size_t(i - 1)] || r[size_t(i)] < r[size_t(i + 1)]) continue;
        long halfWidth = std::max(1L, long(o.peakExclusion * guide.At(i)));
        if (IsPeak(r, i, halfWidth)) c.push_back({i, double(r[size_t(i)])});
    }
    // Normalise by the strongest candidate within one period either side.
    std::vector<double> height(c.size());
    for (size_t i = 0; i < c.size(); ++i) height[i] = c[i].score;
    for (size_t i = 0, lo = 0, hi = 0; i < c.size(); ++i) {
        double period = guide.At(c[i].at);
        while (c[lo].at < c[i].at - long(period)) ++lo;
        while (hi + 1 < c.size() && c[hi + 1].at <= c[i].at + long(period)) ++hi;
        double top = 0.0;
        for (size_t k = lo; k <= std::max(hi, i); ++k) top = std::max(top, height[k]);
        c[i].score = top > 0.0 ? height[i] / top : 0.0;
    }
    return c;
}

// The best chain of candidates [lo, hi) by dynamic programming: each mark
// earns its score minus the node cost, each step pays for its deviation
// from the local period.
std::vector<size_t> BestChain(const std::vector<Candidate>& c, size_t lo, size_t hi,
                              const PeriodGuide& guide, const MarkOptions& o) {
    std::vector<double> best(hi - lo);
    std::vector<long> from(hi - lo, -1);
    for (size_t i = lo; i < hi; ++i) {
        double gain = c[i].score - o.nodeCost, bestPrev = 0.0;
        for (size_t j = i; j-- > lo;) {
            double step = double(c[i].at - c[j].at);
            double period = guide.At((c[i].at + c[j].at) / 2);
            if (step > o.maxStep * period) break;
            if (step < 0.4 * period) continue;
            double deviation = std::log(step / period);
            double value = best[j - lo] - o.spacingWeight * deviation * deviation;
            if (value > bestPrev) {
                bestPrev = value;
                from[i - lo] = long(j);
            }
        }
        best[i - lo] = gain + bestPrev;
    }
    std::vector<size_t> chain;
    if (hi == lo) return chain;
    size_t end = lo;
    for (size_t i = lo; i < hi; ++i)
        if (best[i - lo] > best[end - lo]) end = i;
    if (best[end - lo] <= 0.0) return chain;
    for (long i = long(end); i >= 0; i = from[size_t(i) - lo]) chain.push_back(size_t(i));
    std::reverse(chain.begin(), chain.end());
    return chain;
}

long StrongestNear(std::span<const float> r, double expected, double halfWidth) {
    long lo = std::max(0L, long(expected - halfWidth));
    long hi = std::min(long(r.size()) - 1, long(expected + halfWidth));
    long best = std::clamp(long(std::lround(expected)), 0L, long(r.size()) - 1);
    for (long k = lo; k <= hi; ++k)
        if (r[size_t(k)] > r[size_t(best)]) best = k;
    return best;
}

// Fills skipped periods and drops marks that split a period.
void RepairChain(std::vector<long>& marks, std::span<const float> r, const PeriodGuide& guide) {
    std::vector<long> out;
    for (long m : marks) {
        if (!out.empty()) {
            double step = double(m - out.back());
            double period = guide.At((m + out.back()) / 2);
            if (step < 0.6 * period) {
                if (r[size_t(m)] > r[size_t(out.back())]) out.back() = m;
                continue;
            }
            long missing = std::lround(step / period) - 1;
            for (long k = 1; k <= missing && step > 1.6 * period; ++k) {
                double expected = double(out.back()) + step / double(missing + 1) * double(k);
                out.push_back(StrongestNear(r, expected, 0.2 * period));
            }
        }
        out.push_back(m);
    }
    marks.swap(out);
}

// Steps from the run's outer marks one period at a time while a strong
// residual peak lies where the next period should start.
void ExtendEdges(std::vector<long>& marks, std::span<const float> r, const PeriodGuide& guide,
                 const MarkOptions& o) {
    if (marks.size() < 2) return;
    std::vector<float> heights;
    for (long m : marks) heights.push_back(r[size_t(m)]);
    std::nth_element(heights.begin(), heights.begin() + long(heights.size() / 2), heights.end());
    const double least = o.edgeHeight * heights[heights.size() / 2];
    const long reach = long(std::lround(o.edgeReach * guide.track.rate));
    for (int direction : {-1, 1}) {
        const long edge = direction < 0 ? marks.front() : marks.back();
        std::vector<long> added;
        for (long last = edge;;) {
            const double period = guide.At(last);
            const double expected = double(last) + direction * period;
            if (std::abs(expected - double(edge)) > double(reach) || expected < 0 ||
                expected >= double(r.size()))
                break;
            long peak = StrongestNear(r, expected, o.edgeTolerance * period);
            if (r[size_t(peak)] < least) break;
            added.push_back(peak);
            last = peak;
        }
        if (direction < 0)
            marks.insert(marks.begin(), added.rbegin(), added.rend());
        else
            marks.insert(marks.end(), added.begin(), added.end());
    }
}

std::vector<long> MarksOfRun(std::span<const float> r, const VoicedRun& run,
                             const PeriodGuide& guide, const MarkOptions& o) {
    std::vector<Candidate> c = Candidates(r, run, guide, o);
    std::vector<long> marks;
    // Chains of the parts left before and after the best chain are searched
    // again, so a gap the chain cannot bridge does not lose the rest; such a
    // part must lie a good part of a period away and give at least two marks.
    std::vector<std::pair<size_t, size_t>> pending{{0, c.size()}};
    bool first = true;
    while (!pending.empty()) {
        auto [lo, hi] = pending.back();
        pending.pop_back();
        std::vector<size_t> chain = BestChain(c, lo, hi, guide, o);
        if (chain.empty() || (!first && chain.size() < 2)) continue;
        first = false;
        for (size_t i : chain) marks.push_back(c[i].at);
        const long margin = long(0.8 * guide.fallback);
        size_t left = lo, right = chain.back() + 1;
        while (left < chain.front() && c[left].at < c[chain.front()].at - margin) ++left;
        if (left > lo) pending.push_back({lo, left});
        while (right < hi && c[right].at <= c[chain.back()].at + margin) ++right;
        if (right < hi) pending.push_back({right, hi});
    }
    std::sort(marks.begin(), marks.end());
    RepairChain(marks, r, guide);
    ExtendEdges(marks, r, guide, o);
    return marks;
}

}  // namespace

std::vector<VoicedRun> VoicedRuns(const PitchTrack& track, long sampleCount, size_t bridgeFrames) {
    std::vector<VoicedRun> runs;
    const long half = track.hopSamples / 2;
    auto voicedWithin = [&](size_t from, size_t count) {
        for (size_t k = from; k < std::min(track.Frames(), from + count + 1); ++k)
            if (track.f0[k] > 0.0f) return true;
        return false;
    };
    for (size_t t = 0; t < track.Frames();) {
        if (track.f0[t] <= 0.0f) {
            ++t;
            continue;
        }
        size_t end = t;
        while (end < track.Frames() && (track.f0[end] > 0.0f || voicedWithin(end, bridgeFrames)))
            ++end;
        VoicedRun run{std::max(0L, long(track.CentreOf(t)) - half),
                      std::min(sampleCount, long(track.CentreOf(end - 1)) + half + 1)};
        if (run.to > run.from) runs.push_back(run);
        t = end;
    }
    return runs;
}

std::vector<long> FindPitchMarks(std::span<const float> residual, const PitchTrack& track,
                                 const MarkOptions& o) {
    std::vector<long> marks;
    if (residual.size() < 3) return marks;
    for (const VoicedRun& run : VoicedRuns(track, long(residual.size()), o.bridgeFrames)) {
        PeriodGuide guide{track, TypicalPeriod(track, run)};
        std::vector<long> part = MarksOfRun(residual, run, guide, o);
        // Stepped edges of neighbouring runs may meet: keep marks apart.
        for (long m : part)
            if (marks.empty() || double(m - marks.back()) > 0.5 * guide.At(m)) marks.push_back(m);
    }
    return marks;
}

MarkAgreement CompareWithTrack(std::span<const long> marks, const PitchTrack& track,
                               double tolerance) {
    MarkAgreement agreement;
    for (size_t i = 1; i < marks.size(); ++i) {
        long mid = (marks[i] + marks[i - 1]) / 2;
        float f0 = track.F0At(mid);
        if (f0 <= 0.0f || !track.VoicedAt(marks[i - 1]) || !track.VoicedAt(marks[i])) continue;
        double period = track.rate / double(f0);
        ++agreement.intervals;
        if (std::abs(double(marks[i] - marks[i - 1]) - period) <= tolerance * period)
            ++agreement.withinTolerance;
    }
    return agreement;
}

}  // namespace vox::voicebuild
