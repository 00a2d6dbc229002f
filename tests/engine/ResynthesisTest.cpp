// Pitch-synchronous resynthesis: the table-driven implementation against a
// plain transcription of the algorithm (cos() per sample, growing buffers),
// and measured properties of the output: length, pitch, repeated periods.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <random>

#include "engine/audio/Samples.h"
#include "engine/synthesis/Resynthesis.h"

namespace vox {
namespace {

// The algorithm as written, sample by sample.
void ReferenceResynthesise(std::vector<int16_t>& x, const std::vector<SynthesisSegment>& seg,
                           std::vector<UnitSpan>& spans) {
    if (x.empty()) return;
    std::vector<float> y, w;
    auto overlapAdd = [&](const std::vector<float>& g, const std::vector<float>& h, int64_t d) {
        const int64_t end = d + static_cast<int64_t>(g.size());
        if (end > static_cast<int64_t>(y.size())) y.resize(end, 0.0f), w.resize(end, 0.0f);
        for (size_t j = 0; j < g.size(); ++j)
            if (d + static_cast<int64_t>(j) >= 0) y[d + j] += g[j], w[d + j] += h[j];
    };
    const size_t K = seg.size() - 1;
    const int32_t p0 = seg[0].position;
    for (int32_t i = 0; i < p0; ++i) y.push_back(x[i]), w.push_back(1.0f);
    const double r0 = K >= 1 ? PeriodRatio(seg[0].pitchPeriod, seg[1].position - p0) : 1.0;
    int64_t o = static_cast<int64_t>(r0 * p0);
    double t = r0 * p0 * UsableTimeFactor(seg[0].timeFactor);
    size_t k = 1, s = 0;
    while (K >= 2 && k < K) {
        const int32_t a = seg[k - 1].position, b = seg[k].position, c = seg[k + 1].position;
        while (s < spans.size() && spans[s].start <= b) spans[s++].start = static_cast<int32_t>(o);
        const double r = PeriodRatio(seg[k].pitchPeriod, c - b);
        std::vector<float> g, h;
        for (int32_t j = a; j < b; ++j) {
            h.push_back(
                static_cast<float>(0.5 - 0.5 * std::cos((j - a + 1) * std::numbers::pi / (b - a))));
            g.push_back(x[j] * h.back());
        }
        overlapAdd(g, h, o - (b - a));
        g.clear(), h.clear();
        for (int32_t j = b; j < c; ++j) {
            h.push_back(
                static_cast<float>(0.5 * (std::cos((j - b) * std::numbers::pi / (c - b)) + 1)));
            g.push_back(x[j] * h.back());
        }
        overlapAdd(g, h, o);
        t += (c - b) * r * UsableTimeFactor(seg[k].timeFactor);
        o = static_cast<int64_t>(static_cast<double>(o) + (c - b) * r);
        while (seg[k].position < t && k < K) ++k;
    }
    for (; s < spans.size(); ++s) spans[s].start = static_cast<int32_t>(y.size());
    for (size_t i = 0; i < spans.size(); ++i)
        spans[i].length =
            (i + 1 < spans.size() ? spans[i + 1].start : static_cast<int32_t>(y.size())) -
            spans[i].start;
    x.assign(y.size(), 0);
    for (size_t i = 0; i < y.size(); ++i)
        x[i] =
            w[i] >= 1e-10f ? SaturateSample(static_cast<double>(y[i] / w[i])) : (i ? x[i - 1] : 0);
}

// A periodic signal with a mark at every period start.
std::vector<int16_t> Periodic(int periods, int period) {
    std::vector<int16_t> x;
    for (int p = 0; p < periods; ++p)
        for (int j = 0; j < period; ++j)
            x.push_back(static_cast<int16_t>(9000 * std::sin(2 * std::numbers::pi * j / period) +
                                             3000 * std::sin(6 * std::numbers::pi * j / period)));
    return x;
}

std::vector<SynthesisSegment> Marks(int periods, int period, float pitch = 0, float factor = 1) {
    std::vector<SynthesisSegment> segs;
    for (int p = 0; p <= periods; ++p) segs.push_back({p * period, pitch, factor});
    segs.back().pitchPeriod = 0;
    return segs;
}

// Lag in [lo, hi] with the highest autocorrelation over the middle.
int StrongestLag(const std::vector<int16_t>& x, int lo, int hi) {
    int best = lo;
    double bestValue = -1e300;
    const size_t from = x.size() / 4, to = x.size() * 3 / 4;
    for (int lag = lo; lag <= hi; ++lag) {
        double sum = 0;
        for (size_t i = from; i < to; ++i) sum += double(x[i]) * x[i + lag];
        if (sum > bestValue) bestValue = sum, best = lag;
    }
    return best;
}

TEST(Resynthesis, MatchesTheReferenceOnRandomPhrases) {
    std::mt19937 rng(7);
    auto uniform = [&](double lo, double hi) {
        return std::uniform_real_distribution<>(lo, hi)(rng);
    };
    const float odd[] = {0.0f,
                         -30.0f,
                         std::numeric_limits<float>::infinity(),
                         std::numeric_limits<float>::quiet_NaN(),
                         1e9f,
                         0.01f};
    ResynthesisWorkspace workspace;  // reused, as an engine does
    for (int round = 0; round < 60; ++round) {
        std::vector<int16_t> x(static_cast<size_t>(uniform(1, 6000)));
        for (auto& v : x) v = static_cast<int16_t>(uniform(-30000, 30000));
        std::vector<SynthesisSegment> segs;
        for (int32_t p = static_cast<int32_t>(uniform(0, 200)); p < static_cast<int32_t>(x.size());
             p += static_cast<int32_t>(uniform(1, 260))) {
            float period = static_cast<float>(uniform(50, 300));
            float factor = static_cast<float>(uniform(0.3, 2.5));
            if (uniform(0, 1) < 0.05) period = odd[round % 6];
            if (uniform(0, 1) < 0.03) factor = odd[(round + 1) % 6];
            segs.push_back({p, period, factor});
        }
        segs.push_back({static_cast<int32_t>(x.size()), 0, 1});
        std::vector<UnitSpan> spans;
        for (int32_t p = 0; p < static_cast<int32_t>(x.size());
             p += static_cast<int32_t>(uniform(1, 900)))
            spans.push_back({"u", p, 0, static_cast<int32_t>(spans.size())});

        std::vector<int16_t> expected = x, actual = x;
        std::vector<UnitSpan> expectedSpans = spans, actualSpans = spans;
        ReferenceResynthesise(expected, segs, expectedSpans);
        Resynthesise(actual, segs, actualSpans, workspace);
        ASSERT_EQ(actual, expected) << "round " << round;
        for (size_t i = 0; i < spans.size(); ++i) {
            ASSERT_EQ(actualSpans[i].start, expectedSpans[i].start) << round;
            ASSERT_EQ(actualSpans[i].length, expectedSpans[i].length) << round;
            ASSERT_GE(actualSpans[i].length, 0) << round;
        }
    }
}

TEST(Resynthesis, RecordedPeriodsAndTempoGiveTheSameSignalBack) {
    const std::vector<int16_t> input = Periodic(40, 100);
    std::vector<int16_t> x = input;
    std::vector<UnitSpan> spans = {{"a", 0, 2000, 0}, {"b", 2000, 2000, 1}};
    ResynthesisWorkspace ws;
    Resynthesise(x, Marks(40, 100, 100), spans, ws);
    ASSERT_EQ(x.size(), input.size());
    for (size_t i = 200; i < x.size(); ++i) ASSERT_NEAR(x[i], input[i], 1) << i;
    EXPECT_EQ(spans[0].length + spans[1].length, 4000 - spans[0].start);
}

TEST(Resynthesis, TimeFactorsStretchAndSqueeze) {
    ResynthesisWorkspace ws;
    std::vector<int16_t> slow = Periodic(40, 100);
    Resynthesise(slow, Marks(40, 100, 0, 0.5f), {}, ws);
    EXPECT_NEAR(static_cast<double>(slow.size()), 8000.0, 200.0);
    EXPECT_EQ(StrongestLag(slow, 60, 140), 100);  // same pitch, each period twice

    std::vector<int16_t> fast = Periodic(40, 100);
    std::vector<UnitSpan> spans = {{"a", 0, 0, 0}, {"b", 3950, 0, 1}, {"c", 3990, 0, 2}};
    Resynthesise(fast, Marks(40, 100, 0, 2.0f), spans, ws);
    EXPECT_NEAR(static_cast<double>(fast.size()), 2000.0, 200.0);
    // Spans the walk never reached end up at the end, never with negative sizes.
    for (const UnitSpan& s : spans) EXPECT_GE(s.length, 0);
    EXPECT_EQ(spans[2].start + spans[2].length, static_cast<int32_t>(fast.size()));
}

TEST(Resynthesis, PitchPeriodsSetTheOutputPitch) {
    ResynthesisWorkspace ws;
    std::vector<int16_t> x = Periodic(60, 100);
    Resynthesise(x, Marks(60, 100, 80.0f), {}, ws);
    EXPECT_EQ(StrongestLag(x, 60, 140), 80);
    EXPECT_NEAR(static_cast<double>(x.size()), 6000.0, 200.0);  // tempo kept

    // Periods that are not finite or not positive count as recorded.
    for (float bad :
         {-5.0f, std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity()}) {
        std::vector<int16_t> a = Periodic(20, 100), b = a;
        Resynthesise(a, Marks(20, 100, bad), {}, ws);
        Resynthesise(b, Marks(20, 100, 0.0f), {}, ws);
        EXPECT_EQ(a, b);
    }
}

TEST(Resynthesis, UncoveredOutputRepeatsThePreviousSample) {
    ResynthesisWorkspace ws;
    std::vector<int16_t> x = Periodic(20, 100);
    Resynthesise(x, Marks(20, 100, 300.0f), {}, ws);  // halves cover 200 of every 300
    size_t longestRun = 0, run = 0;
    for (size_t i = 1; i < x.size(); ++i) {
        run = x[i] == x[i - 1] ? run + 1 : 0;
        longestRun = std::max(longestRun, run);
    }
    EXPECT_GE(longestRun, 99u);
}

TEST(Resynthesis, DegenerateInputs) {
    ResynthesisWorkspace ws;
    std::vector<int16_t> empty;
    Resynthesise(empty, std::vector<SynthesisSegment>{{0, 0, 1}}, {}, ws);
    EXPECT_TRUE(empty.empty());

    const std::vector<int16_t> input = Periodic(10, 100);
    std::vector<int16_t> x = input;  // two segments: only the head before the first
    Resynthesise(x, std::vector<SynthesisSegment>{{300, 700, 1}, {1000, 0, 1}}, {}, ws);
    EXPECT_EQ(x, std::vector<int16_t>(input.begin(), input.begin() + 300));

    x = input;  // positions out of order: left as it is
    Resynthesise(x,
                 std::vector<SynthesisSegment>{{0, 0, 1}, {500, 0, 1}, {200, 0, 1}, {1000, 0, 1}},
                 {}, ws);
    EXPECT_EQ(x, input);

    x = input;  // zero and non-finite time factors neither hang nor explode
    Resynthesise(x, Marks(10, 100, 0, 0.0f), {}, ws);
    EXPECT_NEAR(static_cast<double>(x.size()), 1000.0, 200.0);
    x = input;
    Resynthesise(x, Marks(10, 100, 0, 1e-30f), {}, ws);
    EXPECT_LE(x.size(), 100u * 1000u + 200u);
}

}  // namespace
}  // namespace vox
