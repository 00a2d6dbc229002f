#include "engine/synthesis/Resynthesis.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <new>

#include "engine/audio/Samples.h"

namespace vox {

namespace {

constexpr float kMinPitchPeriod = 1.0f;
constexpr float kMaxPitchPeriod = 22050.0f;  // one hertz
constexpr double kMinTimeFactor = 0.01;
// The output must stay deliverable as 16-bit bytes counted in 32 bits.
constexpr int64_t kMaxOutputSamples = INT32_MAX / 2;
constexpr size_t kMaxWindowValues = 1 << 20;

bool Ascending(std::span<const SynthesisSegment> segments, size_t signalLength) {
    if (segments.empty() || segments.front().position < 0) return false;
    for (size_t k = 1; k < segments.size(); ++k)
        if (segments[k].position <= segments[k - 1].position) return false;
    return static_cast<size_t>(segments.back().position) <= signalLength;
}

// Walks the segments as the overlap-add will, recording where each period
// goes and moving the spans; returns the output length.
int64_t PlanPeriods(std::span<const SynthesisSegment> seg, std::span<UnitSpan> spans,
                    std::vector<PeriodPlacement>& placements) {
    const size_t K = seg.size() - 1;
    const int32_t p0 = seg[0].position;
    const double r0 = K >= 1 ? PeriodRatio(seg[0].pitchPeriod, seg[1].position - p0) : 1.0;
    int64_t o = static_cast<int64_t>(r0 * p0);
    double t = r0 * p0 * UsableTimeFactor(seg[0].timeFactor);
    int64_t length = p0;
    size_t s = 0;
    placements.clear();
    for (size_t k = 1; K >= 2 && k < K;) {
        const int32_t a = seg[k - 1].position, b = seg[k].position, c = seg[k + 1].position;
        for (; s < spans.size() && spans[s].start <= b; ++s)
            spans[s].start = static_cast<int32_t>(o);
        const double r = PeriodRatio(seg[k].pitchPeriod, c - b);
        placements.push_back({a, b, c, o});
        length = std::max(length, o + (c - b));
        t += (c - b) * r * UsableTimeFactor(seg[k].timeFactor);
        o = static_cast<int64_t>(static_cast<double>(o) + (c - b) * r);
        if (o > kMaxOutputSamples) throw std::bad_alloc();
        while (seg[k].position < t && k < K) ++k;
    }
    // Spans the walk did not reach lie at the end of the output.
    for (; s < spans.size(); ++s) spans[s].start = static_cast<int32_t>(length);
    for (size_t i = 0; i < spans.size(); ++i) {
        const int32_t end =
            i + 1 < spans.size() ? spans[i + 1].start : static_cast<int32_t>(length);
        spans[i].length = end - spans[i].start;
    }
    return length;
}

inline void AddWindowed(const int16_t* x, const float* h, int32_t count, float* y, float* w) {
    for (int32_t j = 0; j < count; ++j) {
        y[j] += static_cast<float>(x[j]) * h[j];
        w[j] += h[j];
    }
}

void OverlapAdd(const std::vector<int16_t>& x, int32_t head, ResynthesisWorkspace& ws) {
    float* y = ws.output.data();
    float* w = ws.windowSum.data();
    for (int32_t i = 0; i < head; ++i) {
        y[i] = static_cast<float>(x[i]);
        w[i] = 1.0f;
    }
    for (const PeriodPlacement& p : ws.placements) {
        const int32_t left = p.b - p.a, right = p.c - p.b;
        const int64_t d = p.o - left;
        const int32_t skip = d < 0 ? static_cast<int32_t>(std::min<int64_t>(-d, left)) : 0;
        AddWindowed(x.data() + p.a + skip, ws.windows.Rising(left) + skip, left - skip,
                    y + d + skip, w + d + skip);
        AddWindowed(x.data() + p.b, ws.windows.Falling(right), right, y + p.o, w + p.o);
    }
}

}  // namespace

double PeriodRatio(float pitchPeriod, int32_t recordedPeriod) {
    if (!std::isfinite(pitchPeriod) || pitchPeriod <= 0.0f || recordedPeriod <= 0) return 1.0;
    return static_cast<double>(std::clamp(pitchPeriod, kMinPitchPeriod, kMaxPitchPeriod)) /
           recordedPeriod;
}

double UsableTimeFactor(float timeFactor) {
    if (!std::isfinite(timeFactor) || timeFactor <= 0.0f) return 1.0;
    return std::max<double>(timeFactor, kMinTimeFactor);
}

void Resynthesise(std::vector<int16_t>& signal, std::span<const SynthesisSegment> segments,
                  std::span<UnitSpan> spans, ResynthesisWorkspace& ws) {
    if (signal.empty() || !Ascending(segments, signal.size())) return;
    const int64_t length = PlanPeriods(segments, spans, ws.placements);
    ws.windows.Trim(kMaxWindowValues);
    ws.output.assign(static_cast<size_t>(length), 0.0f);
    ws.windowSum.assign(static_cast<size_t>(length), 0.0f);
    OverlapAdd(signal, segments[0].position, ws);

    signal.resize(static_cast<size_t>(length));
    int16_t previous = 0;
    for (size_t i = 0; i < signal.size(); ++i) {
        const float w = ws.windowSum[i];
        if (w >= 1e-10f) previous = SaturateSample(static_cast<double>(ws.output[i] / w));
        signal[i] = previous;
    }
}

}  // namespace vox
