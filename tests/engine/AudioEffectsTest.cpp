// Reverberation, the Chambrel effect and the output filter on their own and
// in the phrase pipeline: the tap list, the dry and wet mixes, the carried
// tail, the clamped parameters, and random settings from the settings
// program's ranges on speech and full-scale noise.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <numbers>
#include <random>
#include <vector>

#include "engine/audio/Chambrel.h"
#include "engine/audio/OutputFilter.h"
#include "engine/audio/Reverberation.h"
#include "engine/audio/Reverberator.h"
#include "tests/engine/fakes/TestEngine.h"
#include "tests/support/CapturedMessages.h"
#include "tests/support/TempRegistry.h"

namespace vox {
namespace {

std::vector<int16_t> Tone(double hz, size_t n = 11025, double amplitude = 8000) {
    std::vector<int16_t> x(n);
    for (size_t i = 0; i < n; ++i)
        x[i] = static_cast<int16_t>(amplitude * std::sin(2 * std::numbers::pi * hz * i / 22050));
    return x;
}

std::vector<int16_t> Noise(size_t n, uint32_t seed) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> sample(-32768, 32767);
    std::vector<int16_t> x(n);
    for (int16_t& s : x) s = static_cast<int16_t>(sample(random));
    return x;
}

double Energy(const std::vector<int16_t>& x, size_t from = 0, size_t to = SIZE_MAX) {
    double e = 0;
    for (size_t i = from; i < std::min(to, x.size()); ++i) e += double(x[i]) * x[i];
    return e;
}

TEST(Reverberation, TapsHalveTheirDelaysAndFollowOneDecay) {
    const ReverbTap first = TapOf(0, 3, 0.2, 0.5);
    EXPECT_DOUBLE_EQ(first.delay, 0.2);
    EXPECT_DOUBLE_EQ(first.gain, 0.5);
    for (int k = 1; k < 3; ++k) {
        const ReverbTap tap = TapOf(k, 3, 0.2, 0.5);
        EXPECT_NEAR(tap.delay, 0.2 / std::pow(2.0, k / 3.0), 1e-12);
        // 10^(−3 delay / rt) with rt = −3 d / log10 f.
        const double rt = -3 * 0.2 / std::log10(0.5);
        EXPECT_NEAR(tap.gain, std::pow(10.0, -3 * tap.delay / rt), 1e-12);
        EXPECT_GT(tap.gain, first.gain);  // shorter and stronger
    }
    EXPECT_EQ(TapOf(2, 3, 0.2, 0.0).gain, 0.0);  // no log10(0)
    // A feedback of 1 would never decay: kept just below.
    const ReverbParams p = SafeReverbParams({0.0, 1.0, 0, 1, 1, true});
    EXPECT_LT(p.feedback, 1.0);
    EXPECT_EQ(p.numDelays, 1);
    EXPECT_GT(p.delay, 0.0);
}

TEST(Reverberation, DryMixKeepsTheSignalAndExtendsIt) {
    Reverberator r;
    std::vector<int16_t> x = Tone(440), original = x;
    r.Reverberate(x, {0.1, 0.5, 3, 1.0, 0.0, true});
    ASSERT_EQ(x.size(), original.size() + 2205);
    EXPECT_TRUE(std::equal(original.begin(), original.end(), x.begin()));
    for (size_t i = original.size(); i < x.size(); ++i) EXPECT_EQ(x[i], 0);
}

TEST(Reverberation, TheWetSignalEchoesAtTheTapDelays) {
    Reverberator r;
    std::vector<int16_t> click(4410, 0);
    click[100] = 16000;
    r.Reverberate(click, {0.05, 0.5, 1, 0.0, 1.0, false});  // one tap, no filter
    // The dry part is scaled by source − delay = −1 and cancels the click in
    // the tap's copy; the echoes follow every 1102 samples, halving.
    EXPECT_EQ(click[100], 0);
    EXPECT_EQ(click[100 + 1102], 8000);
    EXPECT_EQ(click[100 + 2 * 1102], 4000);
    EXPECT_EQ(click[100 + 1101], 0);
}

TEST(Reverberation, PhraseStepKeepsTheLengthFadesAndCarriesTheTail) {
    VoiceProperties settings;  // defaults: 0.2 s, 0.5, 3 taps, amounts 1.0, band-pass 300-800
    Reverberation step;
    std::vector<int16_t> x = Tone(500, 8000);
    step.Apply(x, settings);
    ASSERT_EQ(x.size(), 8000u);
    EXPECT_EQ(x[0], 0);
    EXPECT_EQ(x[7999], 0);
    EXPECT_GT(Energy(x), 0.0);
    EXPECT_EQ(step.Tail().size(), 4410u);
    EXPECT_GT(Energy(step.Tail()), 0.0);

    std::vector<int16_t> silence(8000, 0);
    step.Apply(silence, settings);  // the last phrase rings on into this one
    EXPECT_GT(Energy(silence, 0, 4410), 0.0);
    EXPECT_EQ(Energy(silence, 4410), 0.0);
    step.ForgetTail();
    std::vector<int16_t> quiet(8000, 0);
    step.Apply(quiet, settings);
    EXPECT_EQ(Energy(quiet), 0.0);
}

TEST(Reverberation, DelayLongerThanThePhraseLeavesItDry) {
    VoiceProperties settings;
    settings.reverDelay = 0.5;
    settings.reverSourceAmount = 1.0;
    settings.reverDelayAmount = 0.5;
    Reverberation step;
    std::vector<int16_t> x = Tone(500, 2000), original = x;
    step.Apply(x, settings);
    ASSERT_EQ(x.size(), 2000u);
    // No tap fits: every copy is the signal, so wet = dry and the mix is 1.0 × x
    // (within the truncations of copy / n).
    for (size_t i = 20; i + 20 < x.size(); ++i) EXPECT_NEAR(x[i], original[i], 2) << i;
}

TEST(Chambrel, DepthAndFeedbackAreClampedToTheUnitRange) {
    EXPECT_EQ(ClampUnit(1.5), 1.0);
    EXPECT_EQ(ClampUnit(-0.2), 0.0);
    EXPECT_EQ(ClampUnit(std::nan("")), 0.0);
    Chambrel effect;
    const std::vector<int16_t> x = Tone(300, 6000);
    std::vector<int16_t> a = x, b = x, c = x, d = x;
    effect.Apply(a, {true, 1.5, -0.2});
    effect.Apply(b, {true, 1.0, 0.0});
    EXPECT_EQ(a, b);
    effect.Apply(c, {false, 0.5, 0.5});
    ASSERT_EQ(c.size(), x.size());
    EXPECT_EQ(c.back(), 0);  // last sample faded to 0
    // The head copy (300 Hz lies in the male band 200-700) adds with depth.
    effect.Apply(d, {true, 0.0, 0.0});
    EXPECT_GT(Energy(b), Energy(d));
}

TEST(OutputFilter, SettingsMapToOneBand) {
    VoiceProperties s;
    s.filterType = 3;
    s.bandPassF1 = 3000;
    s.bandPassF2 = 500;
    FilterBand band = OutputFilterBand(s);
    EXPECT_EQ(band.f1, 500);
    EXPECT_EQ(band.f2, 3000);
    s.filterType = 1;
    s.lowPassCutoff = 30000;
    EXPECT_EQ(OutputFilterBand(s).f1, 11025);
    s.lowPassCutoff = -10;
    EXPECT_EQ(OutputFilterBand(s).f1, 11025);
    s.filterType = 5;
    band = OutputFilterBand(s);
    EXPECT_EQ(band.type, 5);
    EXPECT_EQ(band.f1, 0);
}

// Random settings from the settings program's ranges; every effect on, on a
// tone phrase and on full-scale noise: finite filter states, lengths kept,
// and sound left where the settings pass sound.
TEST(AudioEffectsProperty, RandomSettingsNeverBreakTheSignal) {
    test::CapturedMessages quiet;
    std::mt19937 random(2026);
    auto uniform = [&](double lo, double hi) {
        return std::uniform_real_distribution<double>(lo, hi)(random);
    };
    auto whole = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
    EffectState effects;
    for (int round = 0; round < 60; ++round) {
        VoiceProperties s;
        s.chambrelIsMale = whole(0, 1) == 1;
        s.chambrelDepth = round % 10 == 0 ? 0.001 : uniform(0.001, 1.0);
        s.chambrelFeedback = round % 7 == 0 ? 1.0 : uniform(0.001, 1.0);
        s.reverUseFilter = whole(0, 1) == 1;
        s.reverFilterType = whole(1, 4);
        s.reverFilterLow = whole(30, 11025);
        s.reverFilterHigh = whole(30, 11025);
        s.reverDelay = round % 5 == 0 ? 0.5 : uniform(0.001, 0.5);
        s.reverNumDelays = whole(1, 10);
        s.reverFeedback = round % 4 == 0 ? 1.0 : uniform(0.0, 1.0);
        s.reverSourceAmount = uniform(0.0, 1.0);
        s.reverDelayAmount = uniform(0.0, 1.0);
        s.filterType = whole(1, 4);
        s.lowPassCutoff = s.highPassCutoff = whole(0, 11025);
        s.bandPassF1 = s.bandStopF1 = whole(0, 11025);
        s.bandPassF2 = s.bandStopF2 = whole(0, 11025);

        const size_t n = round % 3 == 0 ? 3000 : 11025;
        std::vector<int16_t> x = round % 2 ? Noise(n, round) : Tone(150 + 37 * round, n, 20000);
        effects.chambrel.Apply(x, {s.chambrelIsMale, s.chambrelDepth, s.chambrelFeedback});
        effects.reverberation.Apply(x, s);
        ApplyOutputFilter(x, s, effects.outputFilter);
        ASSERT_EQ(x.size(), n) << round;
        for (const FilterSection& section : effects.outputFilter.Sections()) {
            ASSERT_TRUE(IsStableSection(section)) << round;
            for (double v : section.state) ASSERT_TRUE(std::isfinite(v)) << round;
        }
        for (int16_t v : effects.reverberation.Tail()) ASSERT_GE(v, -32768);
    }
}

// Through the pipeline: the three switches in their order keep the phrase's
// length and change its sound.
TEST(AudioEffectsPipeline, SwitchesTurnTheEffectsOn) {
    test::TempRegistry registry;
    test::TestEngine engine;
    engine.base.Add(test::VoicedUnit("A0", 20, 120));
    ASSERT_EQ(engine.Speak("#,A0,#", "(.)|(.)"), S_OK);
    const std::vector<int16_t> plain = engine.Samples();
    for (const char* subkey : {"Chambrel", "Rever", "Filter"}) {
        engine.SetUserDword(subkey, "Enabled", 1);
        ASSERT_EQ(engine.Speak("#,A0,#", "(.)|(.)"), S_OK) << subkey;
        const std::vector<int16_t> shaped = engine.Samples();
        EXPECT_EQ(shaped.size(), plain.size()) << subkey;
        EXPECT_NE(shaped, plain) << subkey;
    }
}

}  // namespace
}  // namespace vox
