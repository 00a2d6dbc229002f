#include "tools/voicebuild/UnitCutter.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace vox::voicebuild {

namespace {

constexpr int kEnginePeriod = 147;             // samples at 22050 Hz
constexpr double kZeroCrossingSearch = 0.001;  // seconds either side

bool SignChange(int16_t a, int16_t b) {
    return (a < 0) != (b < 0);
}

// Detected marks inside [from, to) as offsets from `from`, with 0 first and
// no stretch longer than 1.5 periods left without a mark.
std::vector<int32_t> IntonableMarks(std::span<const long> marks, long from, long to,
                                    double period) {
    std::vector<int32_t> out{0};
    auto first = std::lower_bound(marks.begin(), marks.end(), from);
    auto last = std::lower_bound(marks.begin(), marks.end(), to);
    auto fill = [&](long until) {
        const double begin = out.back(), gap = double(until) - begin;
        if (gap <= 1.5 * period) return;
        const long parts = std::max(2L, long(std::lround(gap / period)));
        for (long k = 1; k < parts; ++k)
            out.push_back(int32_t(std::lround(begin + gap * double(k) / double(parts))));
    };
    for (auto it = first; it != last; ++it) {
        long offset = *it - from;
        if (offset < 0.5 * period && out.size() == 1) continue;  // merges into the first period
        fill(offset);
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

}  // namespace

long CutPoint(std::span<const int16_t> audio, std::span<const long> marks, int rate, double seconds,
              double speakerPeriod) {
    const long n = long(audio.size());
    const long at = std::clamp(long(std::lround(seconds * rate)), 0L, n);
    auto it = std::lower_bound(marks.begin(), marks.end(), at);
    const double period = LocalPeriod(marks, it, speakerPeriod);
    // A mark up to half a period before the boundary, or up to a whole
    // period after it: voicing that starts at a boundary starts with its
    // first pulse, which may come that much later.
    long best = -1;
    if (it != marks.end() && double(*it - at) <= period) best = *it;
    if (it != marks.begin() && double(at - *(it - 1)) <= 0.5 * period &&
        (best < 0 || at - *(it - 1) < best - at))
        best = *(it - 1);
    // Voicing that ends at the boundary: where its next period would start.
    if (best < 0 && it != marks.begin()) {
        long next = *(it - 1) + long(std::lround(period));
        if (std::abs(double(next - at)) <= 0.5 * period) best = next;
    }
    if (best >= 0) return std::clamp(best, 0L, n);
    const long radius = std::max(1L, long(std::lround(kZeroCrossingSearch * rate)));
    for (long d = 0; d <= radius; ++d) {
        for (long k : {at - d, at + d})
            if (k > 0 && k < n && SignChange(audio[size_t(k - 1)], audio[size_t(k)])) return k;
    }
    return at;
}

CutUnit CutInstance(std::span<const int16_t> audio, std::span<const long> marks, int rate,
                    const Instance& in, double speakerPeriod) {
    CutUnit cut;
    cut.unit.name = in.name;
    const double period = in.f0 > 0.0f ? rate / double(in.f0) : speakerPeriod;
    const long from = CutPoint(audio, marks, rate, in.start, speakerPeriod);
    const long to = std::max(from, CutPoint(audio, marks, rate, in.end, speakerPeriod));
    cut.unit.samples.assign(audio.begin() + from, audio.begin() + to);
    if (cut.unit.samples.empty()) return cut;
    if (in.intonable) {
        cut.unit.marks = IntonableMarks(marks, from, to, period);
        cut.f0 = MedianDetectedF0(marks, from, to, rate, period);
    } else {
        cut.unit.marks = EvenMarks(cut.unit.samples.size());
    }
    for (int16_t s : cut.unit.samples) cut.peak = std::max(cut.peak, std::abs(int(s)));
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
