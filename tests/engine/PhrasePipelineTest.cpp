// Speak's pipeline end to end over a fake phonetic module and an in-memory
// database: argument and state checks, units, pauses, fades, sizes, the
// module's failures, and odd databases that must not crash it.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

#include "engine/synthesis/SpeakPipeline.h"
#include "tests/engine/fakes/TestEngine.h"
#include "tests/support/CapturedMessages.h"
#include "tests/support/TempRegistry.h"

namespace vox {
namespace {

using test::TestEngine;

class PhrasePipeline : public testing::Test {
  protected:
    PhrasePipeline() {
        engine.base.Add(test::VoicedUnit("A0", 10, 100));  // 1000 samples
        engine.base.Add(test::VoicedUnit("M", 6, 120));    // 720 samples
        engine.base.Add(test::NoiseUnit("S", 900));
    }
    test::TempRegistry registry;
    test::CapturedMessages messages;
    TestEngine engine;
};

TEST_F(PhrasePipeline, VowelBetweenTerminatorsGetsFinalPauseAndFades) {
    ASSERT_EQ(engine.Speak("#,A0,#", "(.)|(..)"), S_OK);
    EXPECT_EQ(engine.sizes, (std::vector<int32_t>{0, 1000, 11576}));
    const std::vector<int16_t> out = engine.Samples();
    ASSERT_EQ(out.size(), 12576u);
    const std::vector<int16_t>& unit = engine.base.units["A0"].samples;
    for (int k = 0; k < 100; ++k) ASSERT_EQ(out[k], unit[k] * k / 100) << k;
    for (int k = 100; k < 850; ++k) ASSERT_EQ(out[k], unit[k]) << k;  // untouched middle
    EXPECT_EQ(out.back(), 0);
    EXPECT_EQ(engine.codes.size(), 3u);
    EXPECT_EQ(engine.visemes.size(), 3u);
}

TEST_F(PhrasePipeline, ArgumentAndStateChecks) {
    EXPECT_EQ(engine.Speak("#,A0,#", "(.)"), E_FAIL);  // no "|"
    EXPECT_EQ(engine.Speak("#,A0,#", "(.)|"), S_OK);   // no final pause
    EXPECT_EQ(engine.sizes.back(), 0);
    EXPECT_EQ(engine.Speak("#,A0", "(.)|(.)"), E_INVALIDARG);    // last is no terminator
    EXPECT_EQ(engine.Speak("#,#", "(.)|(.)"), E_INVALIDARG);     // fewer than three
    EXPECT_EQ(engine.Speak("#,XX,#", "(.)|(.)"), E_INVALIDARG);  // module rejects: no SDs
    EXPECT_EQ(engine.Speak(nullptr, "(.)|(.)"), E_INVALIDARG);

    engine.base.open = false;
    EXPECT_EQ(engine.Speak("#,A0,#", "(.)|(.)"), E_FAIL);
    engine.base.open = true;
    engine.Context().phonetic = nullptr;
    EXPECT_EQ(engine.Speak("#,A0,#", "(.)|(.)"), E_FAIL);
}

TEST_F(PhrasePipeline, SettingsAreReadAgainForEveryPhrase) {
    engine.SetMachineDword("DebugVerbosity", 3);
    engine.SetUserDword("Pauses", "DurationUnit", 100);
    ASSERT_EQ(engine.Speak("#,A0,#", "(.)|(.)"), S_OK);
    EXPECT_EQ(engine.phonetic->debugVerbosity, 3);
    EXPECT_EQ(engine.sizes.back(), 6614);  // trunc(100 × 3.0 × 22.049999…)

    engine.props.voiceKey = "Gone";
    EXPECT_EQ(engine.Speak("#,A0,#", "(.)|(.)"), E_FAIL);
    EXPECT_TRUE(
        messages.Contains("Vostrelin TTS Engine 3.0", "Failed to read voice properties for Gone"));
}

TEST_F(PhrasePipeline, WordBoundaryPauseFollowsTheWMark) {
    ASSERT_EQ(engine.Speak("#,A0,_,M,#", "(,)|(,)"), S_OK);
    EXPECT_EQ(engine.sizes, (std::vector<int32_t>{0, 1000, 0, 720, 3307}));  // "(W)" is 0
    engine.SetUserDword("Pauses", "(W)", 500);
    ASSERT_EQ(engine.Speak("#,A0,_,M,#", "(,)|(,)"), S_OK);
    EXPECT_EQ(engine.sizes[2], 1653);
}

TEST_F(PhrasePipeline, MissingUnitsAndSubstitutes) {
    ASSERT_EQ(engine.Speak("#,L,A0,#", "(.)|(.)"), S_OK);  // no "L", substitute "L" missing too
    EXPECT_EQ(engine.sizes[1], 0);
    EXPECT_EQ(engine.audio.size(), 2u * (1000 + 9922));

    engine.phonetic->substitutes["L"] = "M";
    ASSERT_EQ(engine.Speak("#,L,A0,#", "(.)|(.)"), S_OK);
    EXPECT_EQ(engine.sizes[1], 720);
}

TEST_F(PhrasePipeline, AllophoneStaysWithItsPhoneme) {
    // The module could not name the allophone of "M": the empty item keeps
    // its place, so "A0" still gets its own unit.
    engine.phonetic->allophoneList = "#,,A0,#";
    ASSERT_EQ(engine.Speak("#,M,A0,#", "(.)|(.)"), S_OK);
    EXPECT_EQ(engine.sizes, (std::vector<int32_t>{0, 0, 1000, 9922}));

    engine.phonetic->allophoneList = "#,M";  // short list: later phonemes get nothing
    ASSERT_EQ(engine.Speak("#,M,A0,#", "(.)|(.)"), S_OK);
    EXPECT_EQ(engine.sizes, (std::vector<int32_t>{0, 720, 0, 0}));
}

TEST_F(PhrasePipeline, FailingModuleCallsEndThePhrase) {
    engine.phonetic->failing["SetDebugVerbosity"] = E_FAIL;  // not examined
    EXPECT_EQ(engine.Speak("#,A0,#", "(.)|(.)"), S_OK);
    const struct {
        const char* method;
        HRESULT injected, expected;
    } cases[] = {{"PhonemesToAllophones", E_OUTOFMEMORY, E_OUTOFMEMORY},
                 {"GetPhonemesCodes", E_POINTER, E_POINTER},
                 {"GetVisemesCodes", E_UNEXPECTED, E_UNEXPECTED},
                 {"GetSubstituteAllophone", E_NOTIMPL, E_NOTIMPL},
                 // not examined: the empty result fails the phrase check
                 {"GetSoundDescriptions", E_FAIL, E_INVALIDARG}};
    for (const auto& c : cases) {
        engine.phonetic->failing = {{c.method, c.injected}};
        EXPECT_EQ(engine.Speak("#,L,A0,#", "(.)|(.)"), c.expected) << c.method;
    }
}

TEST_F(PhrasePipeline, WithoutProsodyTheUnitsAreNotResynthesised) {
    ASSERT_EQ(engine.Speak("#,M,A0,#", "(.)|(.)"), S_OK);
    const std::vector<int16_t> plain = engine.Samples();
    const std::vector<int16_t>& m = engine.base.units["M"].samples;
    EXPECT_TRUE(std::equal(m.begin() + 100, m.end() - 150, plain.begin() + 100));

    // Rhythmics on (no model yet): durations stay, but the phrase is rebuilt.
    engine.SetUserDword("", "RhytmicsEnabled", 1);
    ASSERT_EQ(engine.Speak("#,M,A0,#", "(.)|(.)"), S_OK);
    const std::vector<int16_t> rebuilt = engine.Samples();
    EXPECT_NEAR(static_cast<double>(rebuilt.size()), static_cast<double>(plain.size()), 300.0);
    EXPECT_NE(rebuilt, plain);
    const int32_t sum = std::accumulate(engine.sizes.begin(), engine.sizes.end(), 0);
    EXPECT_LE(sum, static_cast<int32_t>(rebuilt.size()));
    for (int32_t s : engine.sizes) EXPECT_GE(s, 0);
}

TEST_F(PhrasePipeline, CallerRateOrPitchEntersResynthesisButVolumeDoesNot) {
    ASSERT_EQ(engine.Speak("#,M,A0,#", "(.)|(.)"), S_OK);
    const std::vector<int16_t> plain = engine.Samples();
    int8_t steps[] = {0, 0};
    int8_t full[] = {100, 100};  // volume 100 %: the level stays
    CProsodyInfo volume{nullptr, full, nullptr, 1};
    ASSERT_EQ(engine.Speak("#,M,A0,#", "(.)|(.)", &volume), S_OK);
    EXPECT_EQ(engine.Samples(), plain);
    CProsodyInfo pitch{nullptr, nullptr, steps, 1};
    ASSERT_EQ(engine.Speak("#,M,A0,#", "(.)|(.)", &pitch), S_OK);
    EXPECT_NE(engine.Samples(), plain);
}

TEST_F(PhrasePipeline, OutputFormatScalesSizes) {
    engine.format.nSamplesPerSec = 44100;
    ASSERT_EQ(engine.Speak("#,A0,#", "(.)|(..)"), S_OK);
    EXPECT_EQ(engine.sizes, (std::vector<int32_t>{0, 2000, 23152}));
    EXPECT_EQ(engine.audio.size(), 4u * 12576);
}

TEST_F(PhrasePipeline, NoiseIsTheSameForEveryEngineObject) {
    engine.SetUserDword("Pauses", "NoiseFill", 1);
    ASSERT_EQ(engine.Speak("#,A0,#", "(.)|(.)"), S_OK);
    TestEngine other;
    other.base = engine.base;
    ASSERT_EQ(other.Speak("#,A0,#", "(.)|(.)"), S_OK);
    EXPECT_EQ(other.audio, engine.audio);
    const std::vector<int16_t> out = engine.Samples();
    EXPECT_GT(
        std::count_if(out.begin() + 2000, out.begin() + 9000, [](int16_t v) { return v != 0; }),
        5000);
}

// Databases with odd but valid units must never crash a phrase.
TEST_F(PhrasePipeline, OddUnitsAreSpokenSafely) {
    engine.base.Add(Unit{"A0", {}, {}});         // no samples
    engine.base.Add(Unit{"M", {1234}, {0, 1}});  // one sample, mark at the end
    engine.base.Add(
        Unit{"N", std::vector<int16_t>(300, -32768), std::vector<int32_t>(100000, 300)});
    engine.base.Add(Unit{"L", std::vector<int16_t>(50, 7), {49, 3, -1, 50, 1 << 30}});
    engine.base.Add(Unit{"I0", std::vector<int16_t>(400, 32767), {}});  // voiced without marks
    engine.base.Add(Unit{"B", std::vector<int16_t>(3000, -32768), {2999}});
    const char* phrases[] = {"#,A0,#",     "#,M,#",     "#,N,N,#", "#,L,M,N,B,A0,#",
                             "#,I0,_,N,#", "#,M,M,M,#", "#,I0,#",  "#,B,I0,B,#"};
    for (uint32_t prosody : {0u, 1u}) {
        engine.SetUserDword("", "RhytmicsEnabled", prosody);
        for (uint32_t maxCut : {0u, 1u}) {
            engine.SetMachineDword("MaxCut", maxCut);
            for (const char* phrase : phrases) {
                ASSERT_EQ(engine.Speak(phrase, "(.)|(W)"), S_OK) << phrase;
                for (int32_t s : engine.sizes) EXPECT_GE(s, 0) << phrase;
            }
        }
    }
}

}  // namespace
}  // namespace vox
