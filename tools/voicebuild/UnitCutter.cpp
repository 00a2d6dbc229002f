#include "tools/voicebuild/UnitCutter.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <numbers>

namespace vox::voicebuild {

namespace {

constexpr int kEnginePeriod = 147;         // samples at 22050 Hz
constexpr double kQuietSearch = 0.003;     // seconds either side, unvoiced
constexpr double kWideSearch = 0.006;      // … when nothing lies nearer
constexpr double kPeriodStartReach = 0.5;  // periods before a pulse
constexpr double kInsideReach = 0.9;       // periods from the boundary, a cut inside the sound
constexpr long kQuietWindow = 4;           // samples either side of a crossing
constexpr size_t kEdgeEase = 8;              // samples eased in and out at each edge
constexpr int kFullScale = 32767;
constexpr size_t kClippedSamples = 3;

// A rising crossing at k: the sample before is negative, k's is not.
bool RisingAt(std::span<const int16_t> audio, long k) {
    return k > 0 && k < long(audio.size()) && audio[size_t(k - 1)] < 0 && audio[size_t(k)] >= 0;
}

double LocalEnergy(std::span<const int16_t> audio, long k) {
    double e = 0.0;
    const long n = long(audio.size());
    for (long j = std::max(0L, k - kQuietWindow); j < std::min(n, k + kQuietWindow); ++j)
        e += double(audio[size_t(j)]) * audio[size_t(j)];
    return e;
}

// The step a rising crossing makes from one sample to the next.
int Step(std::span<const int16_t> audio, long k) {
    return int(audio[size_t(k)]) - int(audio[size_t(k - 1)]);
}

// The period start of a pulse at `pulse`: a rising crossing at or before it
// within half a period (the nearest to it among the gentlest, so that units
// from different recordings meet without a step), else the first one up to a
// quarter period after; -1 when there is none.
long PeriodStart(std::span<const int16_t> audio, long pulse, double period) {
    const long back = std::max(1L, long(std::lround(kPeriodStartReach * period)));
    int gentlest = std::numeric_limits<int>::max();
    for (long k = pulse; k >= pulse - back; --k)
        if (RisingAt(audio, k)) gentlest = std::min(gentlest, Step(audio, k));
    for (long k = pulse; k >= pulse - back; --k)
        if (RisingAt(audio, k) && Step(audio, k) <= 2 * gentlest + 1) return k;
    for (long k = pulse + 1; k <= pulse + long(period / 4); ++k)
        if (RisingAt(audio, k)) return k;
    return -1;
}

// A quiet rising crossing within `radius` of `at`: the nearest one whose
// surroundings are within 6 dB of the quietest crossing's; -1 when there is
// none. (Nearest among the quiet ones, so that a cut beside a pause stays at
// the sound's edge rather than wandering into the pause.)
long QuietCrossing(std::span<const int16_t> audio, long at, long radius) {
    double quietest = std::numeric_limits<double>::infinity();
    for (long k = at - radius; k <= at + radius; ++k)
        if (RisingAt(audio, k)) quietest = std::min(quietest, LocalEnergy(audio, k));
    if (!std::isfinite(quietest)) return -1;
    for (long d = 0; d <= radius; ++d)
        for (long k : {at - d, at + d})
            if (RisingAt(audio, k) && LocalEnergy(audio, k) <= 4.0 * quietest + 1.0) return k;
    return -1;
}

// The quietest sample within `radius` of `at` (the nearest among equals).
long QuietestSample(std::span<const int16_t> audio, long at, long radius) {
    const long n = long(audio.size());
    long best = std::clamp(at, 0L, n);
    int quietest = std::numeric_limits<int>::max();
    for (long d = 0; d <= radius; ++d)
        for (long k : {at - d, at + d}) {
            if (k < 0 || k >= n) continue;
            const int a = std::abs(int(audio[size_t(k)]));
            if (a < quietest) quietest = a, best = k;
        }
    return best;
}

// Eases the first and last samples in and out (sin² over kEdgeEase): at a
// crossing they are small already, and meeting at zero with no step keeps a
// join from adding energy where the recordings have almost none.
void EaseEdges(std::vector<int16_t>& x) {
    if (x.size() < 4 * kEdgeEase) return;
    for (size_t k = 0; k < kEdgeEase; ++k) {
        const double s = std::sin(0.5 * std::numbers::pi * (double(k) + 0.5) / kEdgeEase);
        for (int16_t* v : {&x[k], &x[x.size() - 1 - k]}) *v = int16_t(std::lround(*v * s * s));
    }
}

// The period at a place of the marks: the interval around `it` when it is a
// plausible one, else the speaker's.
double LocalPeriod(std::span<const long> marks, std::span<const long>::iterator it,
                   double speakerPeriod) {
    for (auto k : {it, it - (it != marks.begin() ? 1 : 0)}) {
        if (k == marks.end() || k == marks.begin()) continue;
        double step = double(*k - *(k - 1));
        if (step > 0.5 * speakerPeriod && step < 2.0 * speakerPeriod) return step;
    }
    return speakerPeriod;
}

// The pulse whose period start a voiced boundary is cut at, or -1: a mark up
// to half a period before the boundary or up to a whole period after it
// (voicing that starts at a boundary starts with its first pulse, which may
// come that much later), else where the next period of voicing that ends
// there would start.
long BoundaryPulse(std::span<const long> marks, long at, double period) {
    auto it = std::lower_bound(marks.begin(), marks.end(), at);
    long best = -1;
    if (it != marks.end() && double(*it - at) <= period) best = *it;
    if (it != marks.begin() && double(at - *(it - 1)) <= 0.5 * period &&
        (best < 0 || at - *(it - 1) < best - at))
        best = *(it - 1);
    if (best < 0 && it != marks.begin()) {
        long next = *(it - 1) + long(std::lround(period));
        if (std::abs(double(next - at)) <= 0.5 * period) best = next;
    }
    return best;
}

// The pulse a cut inside the sound takes: for a start the first at or after
// the boundary, for an end the last at or before it, within a period; or -1.
long InsidePulse(std::span<const long> marks, long at, double period, bool isStart) {
    if (isStart) {
        auto from = std::lower_bound(marks.begin(), marks.end(), at);
        return from != marks.end() && double(*from - at) <= period ? *from : -1;
    }
    auto after = std::upper_bound(marks.begin(), marks.end(), at);
    return after != marks.begin() && double(at - *(after - 1)) <= period ? *(after - 1) : -1;
}

// Period starts of the pulses inside [from, to) as offsets from `from`, with
// 0 first and no stretch longer than 1.5 periods left without a mark. The
// pulses are moved back by their median distance to their period starts, so
// that every mark keeps the phase of the unit's edges.
std::vector<int32_t> IntonableMarks(std::span<const int16_t> audio, std::span<const long> marks,
                                    long from, long to, double period) {
    auto first = std::lower_bound(marks.begin(), marks.end(), from);
    auto last = std::lower_bound(marks.begin(), marks.end(), to);
    std::vector<long> lead;
    for (auto it = first; it != last; ++it)
        if (long s = PeriodStart(audio, *it, period); s >= 0) lead.push_back(*it - s);
    long shift = 0;
    if (!lead.empty()) {
        std::nth_element(lead.begin(), lead.begin() + long(lead.size() / 2), lead.end());
        shift = lead[lead.size() / 2];
    }
    std::vector<int32_t> out{0};
    auto fill = [&](long until) {
        const double begin = out.back(), gap = double(until) - begin;
        if (gap <= 1.5 * period) return;
        const long parts = std::max(2L, long(std::lround(gap / period)));
        for (long k = 1; k < parts; ++k)
            out.push_back(int32_t(std::lround(begin + gap * double(k) / double(parts))));
    };
    for (auto it = first; it != last; ++it) {
        const long offset = *it - shift - from;
        if (offset < 0.5 * period && out.size() == 1) continue;  // merges into the first period
        if (offset <= out.back() || offset >= to - from) continue;
        if (out.size() == 1) {
            // Before the first mark found, whole periods back from it.
            std::vector<int32_t> before;
            for (double m = double(offset) - period; m >= 0.5 * period; m -= period)
                before.push_back(int32_t(std::lround(m)));
            out.insert(out.end(), before.rbegin(), before.rend());
        } else {
            fill(offset);
        }
        out.push_back(int32_t(offset));
    }
    fill(to - from);
    if (out.size() > 1 && double(to - from - out.back()) < 0.3 * period) out.pop_back();
    return out;
}

double MedianDetectedF0(std::span<const long> marks, long from, long to, int rate, double period) {
    std::vector<long> steps;
    auto first = std::lower_bound(marks.begin(), marks.end(), from);
    auto last = std::lower_bound(marks.begin(), marks.end(), to);
    for (auto it = first; it != last && it + 1 != last; ++it) {
        long step = *(it + 1) - *it;
        if (step > 0.5 * period && step < 2.0 * period) steps.push_back(step);
    }
    if (steps.empty()) return 0.0;
    std::nth_element(steps.begin(), steps.begin() + long(steps.size() / 2), steps.end());
    return double(rate) / double(steps[steps.size() / 2]);
}

}  // namespace

CutPlace FindCut(std::span<const int16_t> audio, std::span<const long> marks, int rate,
                 double seconds, double speakerPeriod, CutSide side, bool isStart) {
    const long n = long(audio.size());
    const long at = std::clamp(long(std::lround(seconds * rate)), 0L, n);
    const double period =
        LocalPeriod(marks, std::lower_bound(marks.begin(), marks.end(), at), speakerPeriod);
    // A cut inside the sound stays within a period of the boundary, else
    // the nearest is taken.
    if (side == CutSide::Inside) {
        if (long pulse = InsidePulse(marks, at, period, isStart); pulse >= 0) {
            const long s = PeriodStart(audio, std::clamp(pulse, 0L, n), period);
            if (s >= 0 && std::abs(double(s - at)) <= kInsideReach * period)
                return {s, CutKind::PeriodStart, period};
        }
    }
    if (long pulse = BoundaryPulse(marks, at, period); pulse >= 0) {
        if (long s = PeriodStart(audio, std::clamp(pulse, 0L, n), period); s >= 0)
            return {s, CutKind::PeriodStart, period};
    }
    // Digital silence needs no crossing: any sample of it joins as 0.
    if (LocalEnergy(audio, at) == 0.0 && at < n) return {at, CutKind::LowAmplitude, period};
    for (double reach : {kQuietSearch, kWideSearch}) {
        const long radius = std::max(1L, long(std::lround(reach * rate)));
        if (long k = QuietCrossing(audio, at, radius); k >= 0)
            return {k, CutKind::LowAmplitude, period};
    }
    const long radius = std::max(1L, long(std::lround(kQuietSearch * rate)));
    return {QuietestSample(audio, at, radius), CutKind::NoCrossing, period};
}

long CutPoint(std::span<const int16_t> audio, std::span<const long> marks, int rate, double seconds,
              double speakerPeriod) {
    return FindCut(audio, marks, rate, seconds, speakerPeriod).sample;
}

CutUnit CutInstance(std::span<const int16_t> audio, std::span<const long> marks, int rate,
                    const Instance& in, double speakerPeriod) {
    CutUnit cut;
    cut.unit.name = in.name;
    const long n = long(audio.size());
    const double period = in.f0 > 0.0f ? rate / double(in.f0) : speakerPeriod;
    CutPlace from = FindCut(audio, marks, rate, in.start, speakerPeriod, in.startSide, true);
    CutPlace to = FindCut(audio, marks, rate, in.end, speakerPeriod, in.endSide, false);
    if (to.sample <= from.sample + 1) {
        // Too short for two crossings in order: the label times themselves.
        cut.tooShort = true;
        from = {std::clamp(long(std::lround(in.start * rate)), 0L, n), CutKind::NoCrossing,
                from.period};
        to = {std::clamp(long(std::lround(in.end * rate)), from.sample, n), CutKind::NoCrossing,
              to.period};
    }
    cut.unit.samples.assign(audio.begin() + from.sample, audio.begin() + to.sample);
    if (cut.unit.samples.empty()) return cut;
    EaseEdges(cut.unit.samples);
    cut.startKind = from.kind;
    cut.endKind = to.kind;
    auto shift = [rate](const CutPlace& c, double seconds) {
        return c.period > 0.0 ? std::abs(double(c.sample) - seconds * rate) / c.period : 0.0;
    };
    cut.startShift = shift(from, in.start);
    cut.endShift = shift(to, in.end);
    cut.edgesWithoutCrossing =
        (from.kind == CutKind::NoCrossing) + (to.kind == CutKind::NoCrossing);
    if (in.intonable) {
        cut.unit.marks = IntonableMarks(audio, marks, from.sample, to.sample, period);
        cut.f0 = MedianDetectedF0(marks, from.sample, to.sample, rate, period);
    } else {
        cut.unit.marks = EvenMarks(cut.unit.samples.size());
    }
    size_t fullScale = 0;
    for (int16_t s : cut.unit.samples) {
        cut.peak = std::max(cut.peak, std::abs(int(s)));
        fullScale += std::abs(int(s)) >= kFullScale;
    }
    cut.silent = cut.peak <= kSilentPeak;
    cut.clipped = fullScale >= kClippedSamples;
    return cut;
}

std::vector<long> ScaleMarkPositions(std::span<const long> marks, int fromRate, int toRate) {
    std::vector<long> out;
    out.reserve(marks.size());
    for (long m : marks) out.push_back(long(std::llround(double(m) * toRate / fromRate)));
    return out;
}

std::vector<int32_t> EvenMarks(size_t samples) {
    std::vector<int32_t> marks;
    const size_t count = samples / kEnginePeriod;
    if (count == 0) return samples > 0 ? std::vector<int32_t>{0} : marks;
    const size_t step = samples / count;
    for (size_t j = 0; j < count; ++j) marks.push_back(int32_t(j * step));
    return marks;
}

}  // namespace vox::voicebuild
