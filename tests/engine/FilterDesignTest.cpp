// CFilter against theory: the magnitude responses of the designed cascades
// evaluated on the unit circle and compared with the bilinear Butterworth
// formulas, tones through the running filter, stability over the settings'
// whole range, and the design messages.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>
#include <vector>

#include "engine/audio/Filter.h"
#include "tests/support/CapturedMessages.h"

namespace vox {
namespace {

constexpr double kFs = 22050;
constexpr double kPi = std::numbers::pi;

double GainDb(const CFilter& f, double hz) {
    const std::complex<double> z1 = std::polar(1.0, -2 * kPi * hz / kFs);  // z⁻¹
    std::complex<double> h = 1;
    for (const FilterSection& s : f.Sections()) {
        std::complex<double> b = 0, a = 0, p = 1;
        for (int i = 0; i < s.count; ++i, p *= z1) {
            b += s.b[i] * p;
            a += s.a[i] * p;
        }
        h *= b / a;
    }
    return 20 * std::log10(std::abs(h));
}

// |H|² of a bilinear Butterworth low-pass: 1 / (1 + (tan(πf/fs) / tan(πfc/fs))^2n).
double TheoryLowPassDb(double hz, double cutoff, int order) {
    const double r = std::tan(kPi * hz / kFs) / std::tan(kPi * cutoff / kFs);
    return -10 * std::log10(1 + std::pow(r, 2 * order));
}

CFilter Designed(int type, int order, double f1, double f2 = 0) {
    CFilter f;
    EXPECT_TRUE(f.Design(type, order, f1, type <= kHighPass ? f1 : f2, kFs));
    return f;
}

TEST(FilterDesign, ButterworthLowAndHighPassFollowTheory) {
    for (int order : {2, 4, 8, 16, 20}) {
        for (double fc : {100.0, 1000.0, 4000.0, 9000.0}) {
            const CFilter lp = Designed(kLowPass, order, fc);
            const CFilter hp = Designed(kHighPass, order, fc);
            EXPECT_NEAR(GainDb(lp, fc), -3.0103, 0.01) << order << " " << fc;
            EXPECT_NEAR(GainDb(hp, fc), -3.0103, 0.01) << order << " " << fc;
            EXPECT_NEAR(GainDb(lp, 0), 0, 1e-6);
            for (double hz : {fc / 3, fc / 1.5, fc * 1.2, std::min(fc * 2, 10000.0)}) {
                EXPECT_NEAR(GainDb(lp, hz), TheoryLowPassDb(hz, fc, order), 0.05) << hz;
                // A high-pass is the low-pass with f mirrored: tan → cot.
                const double r = std::tan(kPi * fc / kFs) / std::tan(kPi * hz / kFs);
                EXPECT_NEAR(GainDb(hp, hz), -10 * std::log10(1 + std::pow(r, 2 * order)), 0.05);
            }
        }
    }
    // 6n dB per octave beyond the cut-off, well below the Nyquist frequency.
    for (int order : {2, 4, 8}) {
        const CFilter lp = Designed(kLowPass, order, 100);
        EXPECT_NEAR(GainDb(lp, 800) - GainDb(lp, 1600), 6.02 * order, 0.35 * order) << order;
    }
}

TEST(FilterDesign, BandEdgesAreAtMinusThreeDecibels) {
    for (int order : {4, 16}) {
        for (auto [f1, f2] : {std::pair{500.0, 3000.0}, {300.0, 800.0}, {70.0, 7040.0}}) {
            const CFilter bp = Designed(kBandPass, order, f1, f2);
            const CFilter bs = Designed(kBandStop, order, f1, f2);
            for (double edge : {f1, f2}) {
                EXPECT_NEAR(GainDb(bp, edge), -3.0103, 0.01) << f1 << "-" << f2;
                EXPECT_NEAR(GainDb(bs, edge), -3.0103, 0.01) << f1 << "-" << f2;
            }
            // Centre: cos ω0 = cos(π(u1+u2)) / cos(π(u2−u1)).
            const double c = std::cos(kPi * (f1 + f2) / kFs) / std::cos(kPi * (f2 - f1) / kFs);
            const double centre = std::acos(c) * kFs / (2 * kPi);
            EXPECT_NEAR(GainDb(bp, centre), 0, 1e-6);
            EXPECT_LT(GainDb(bs, centre), -100);
            EXPECT_NEAR(GainDb(bs, 0), 0, 1e-6);
            EXPECT_NEAR(GainDb(bs, 11025), 0, 1e-6);
            EXPECT_LT(GainDb(bp, f1 / 4), -10.0 * order);
        }
    }
}

std::vector<int16_t> Tone(double hz, double amplitude = 10000, size_t n = 22050) {
    std::vector<int16_t> x(n);
    for (size_t i = 0; i < n; ++i)
        x[i] = static_cast<int16_t>(amplitude * std::sin(2 * kPi * hz * i / kFs));
    return x;
}

double RmsOfSecondHalf(const std::vector<int16_t>& x) {
    double sum = 0;
    for (size_t i = x.size() / 2; i < x.size(); ++i) sum += double(x[i]) * x[i];
    return std::sqrt(sum / (x.size() - x.size() / 2));
}

TEST(FilterDesign, DefaultOutputFilterPassesSpeechBandAndStopsAbove) {
    CFilter f;
    std::vector<int16_t> low = Tone(1000), high = Tone(8000);
    const double in = RmsOfSecondHalf(low);
    f.Filter(low, kLowPass, 16, 4000, 4000, kFs);
    f.Filter(high, kLowPass, 16, 4000, 4000, kFs);
    EXPECT_NEAR(20 * std::log10(RmsOfSecondHalf(low) / in), 0, 0.05);
    EXPECT_LT(RmsOfSecondHalf(high), 1.0);  // beyond −80 dB: truncated to nothing
}

bool AllStable(const CFilter& f) {
    for (const FilterSection& s : f.Sections())
        if (!IsStableSection(s)) return false;
    return !f.Sections().empty();
}

TEST(FilterDesign, EveryDesignInTheSettingsRangeIsStable) {
    std::vector<double> edges = {-5, 0, 1, 20, 30, 5512, 5513, 11024, 11025, 20000};
    for (double f = 50; f < 11025; f *= 1.25) edges.push_back(f);
    for (double f : {21.0, 25.0, 41.0, 45.0, 60.0, 101.0, 5001.0, 11000.0, 11006.0})
        edges.push_back(f);
    for (int type = kLowPass; type <= kBandStop; ++type) {
        for (int order : {2, 4, 16, 20}) {
            for (double f1 : edges) {
                for (double f2 : type <= kHighPass ? std::vector<double>{f1} : edges) {
                    CFilter f;
                    ASSERT_TRUE(f.Design(type, order, f1, f2, kFs))
                        << type << " " << order << " " << f1 << " " << f2;
                    ASSERT_TRUE(AllStable(f)) << type << " " << order << " " << f1 << " " << f2;
                    for (double hz : {0.0, 1000.0, 11025.0})
                        ASSERT_TRUE(std::isfinite(GainDb(f, hz)) || GainDb(f, hz) < 0);
                }
            }
        }
    }
    FilterSection unstable;
    unstable.a = {1, -2.1, 1.1, 0, 0};  // poles at 1 and 1.1
    EXPECT_FALSE(IsStableSection(unstable));
}

TEST(FilterDesign, DesignErrorsShowTheirMessagesAndLeaveTheSignal) {
    test::CapturedMessages messages;
    CFilter f;
    EXPECT_FALSE(f.Design(1, 22, 1000, 1000, kFs));
    EXPECT_TRUE(messages.Contains("CFilter:FilterDesign", "Order of filter too large"));
    EXPECT_FALSE(f.Design(1, 7, 1000, 1000, kFs));
    EXPECT_TRUE(messages.Contains("CFilter:FilterDesign", "Filter order must be even"));
    std::vector<int16_t> x = Tone(440), original = x;
    f.Filter(x, 5, 16, 0, 0, kFs);
    EXPECT_TRUE(messages.Contains("CFilter:FilterDesign", "Unknown filter type"));
    EXPECT_TRUE(messages.Contains("CFilter:Filter", "Error create filter"));
    EXPECT_EQ(x, original);
}

TEST(FilterDesign, RunningTheCascadeSaturatesInsteadOfWrapping) {
    // A band-pass rings above full scale on a full-scale square wave.
    std::vector<int16_t> x(4000);
    for (size_t i = 0; i < x.size(); ++i) x[i] = (i / 20) % 2 ? 32767 : -32768;
    CFilter f;
    f.Filter(x, kBandPass, 16, 500, 600, kFs);
    int peaks = 0;
    for (int16_t s : x) peaks += s == 32767 || s == -32768;
    EXPECT_GT(peaks, 0);
    for (size_t i = 1; i < x.size(); ++i)  // no jump from one rail to the other
        EXPECT_LT(std::abs(int(x[i]) - int(x[i - 1])), 40000) << i;
}

}  // namespace
}  // namespace vox

namespace vox {
namespace {

// The cascade runs its sections two at a time, the second a sample behind;
// it must give, bit for bit, what the sections give one after another, and
// carry its state across blocks of any length (1 included).
TEST(FilterDesign, CascadeEqualsItsSectionsOneByOneAcrossBlocks) {
    for (int type : {kLowPass, kBandPass}) {
        for (int order : {2, 4, 6, 16}) {
            const CFilter cascade = Designed(type, order, 300, 2000);
            std::vector<double> x(3001);
            for (size_t i = 0; i < x.size(); ++i)
                x[i] = 20000 * std::sin(0.07 * i) + 9000 * std::sin(1.3 * i) + (i % 7) * 400.0;

            std::vector<double> expected = x;
            CFilter single = Designed(type, 2, 300, 2000);
            for (const FilterSection& section : cascade.Sections()) {
                single.Sections()[0] = section;
                single.RunBlock(expected);
            }

            CFilter running = cascade;
            std::vector<double> y = x;
            std::span<double> rest(y);
            for (size_t length : {size_t{1}, size_t{2}, size_t{1000}, size_t{1}, size_t{3}}) {
                running.RunBlock(rest.first(length));
                rest = rest.subspan(length);
            }
            running.RunBlock(rest);
            for (size_t i = 0; i < x.size(); ++i)
                ASSERT_EQ(y[i], expected[i]) << type << " order " << order << " sample " << i;
        }
    }
}

}  // namespace
}  // namespace vox
