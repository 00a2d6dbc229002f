// The models through Speak over the fakes: what each switch does to the
// phrase's sizes, periods and levels, and bad voice files that must leave
// synthesis working.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/synthesis/VoiceModels.h"
#include "interfaces/SoundDescription.h"
#include "tests/engine/fakes/TestEngine.h"
#include "tests/support/CapturedMessages.h"
#include "tests/support/TempRegistry.h"

namespace vox {
namespace {

using test::TestEngine;

class ProsodySpeak : public testing::Test {
  protected:
    ProsodySpeak() {
        engine.base.Add(test::VoicedUnit("A0", 10, 100));  // 1000 samples
        engine.base.Add(test::VoicedUnit("M", 6, 120));    // 720 samples
        engine.base.Add(test::NoiseUnit("S", 900));
        auto& a0 = engine.phonetic->phonemes["A0"].sd;
        a0 |= SdMask(sd::Stressed) | SdMask(sd::FullStressed) | SdMask(sd::InStressedSyl);
    }
    void On(const char* name) { engine.SetUserDword("", name, 1); }
    // The lag of the strongest autocorrelation within [from, to).
    static int PeriodOf(const std::vector<int16_t>& x, size_t start, size_t n, int from, int to) {
        double best = -1e300;
        int lag = 0;
        for (int l = from; l < to; ++l) {
            double sum = 0;
            int terms = 0;
            for (size_t i = start; i + l < start + n && i + l < x.size(); ++i, ++terms)
                sum += static_cast<double>(x[i]) * x[i + l];
            if (terms > 0 && sum / terms > best) best = sum / terms, lag = l;
        }
        return lag;
    }
    test::TempRegistry registry;
    test::CapturedMessages messages;
    TestEngine engine;
};

TEST_F(ProsodySpeak, RuleThatDoublesStressedVowelsDoublesTheirSizes) {
    ASSERT_TRUE(engine.models.rhythmics.LoadText(".Version 2\n{Vowel stressed\nlong:2\n}\n", "R"));
    ASSERT_EQ(engine.Speak("#,M,A0,M,#", "(.)|(..)"), S_OK);
    const std::vector<int32_t> before = engine.sizes;
    On("RhytmicsEnabled");
    ASSERT_EQ(engine.Speak("#,M,A0,M,#", "(.)|(..)"), S_OK);
    // Resynthesis takes the first period at or after its time cursor, so the
    // vowel's first period is used once: twice the length less one period.
    EXPECT_NEAR(engine.sizes[2], 2 * before[2], 100);
    EXPECT_EQ(engine.sizes[1], before[1]);
    EXPECT_EQ(engine.sizes[3], before[3]);
}

TEST_F(ProsodySpeak, PhraseTypeRulesFollowTheSyntagmaMark) {
    ASSERT_TRUE(engine.models.rhythmics.LoadText(
        ".Version 2\n{Vowel stressed\nquestion:2\nType2\n}\n", "R"));
    On("RhytmicsEnabled");
    ASSERT_EQ(engine.Speak("#,A0,#", "(?)|(..)"), S_OK);
    EXPECT_NEAR(engine.sizes[1], 2000, 100);
    ASSERT_EQ(engine.Speak("#,A0,#", "(.)|(..)"), S_OK);
    EXPECT_EQ(engine.sizes[1], 1000);
}

TEST_F(ProsodySpeak, FlatContourGivesFlatPeriods) {
    std::string text = std::string(kIntonationProfileHeader) + "\n(.)\n4\n";
    for (int s = 0; s < 4; ++s) text += "1\n0 50\n1\n0 50\n1\n0 50\n";
    ASSERT_TRUE(engine.models.intonation.LoadText(text, "I"));
    On("IntonationEnabled");
    On("UseAbsoluteIntonation");
    engine.SetUserDword("", "IntonationLowFreq", 80);
    engine.SetUserDword("", "IntonationHighFreq", 200);
    ASSERT_EQ(engine.Speak("#,A0,#", "(.)|(..)", nullptr, "intonation"), S_OK);
    for (const SynthesisSegment& seg : engine.Last().segments)
        if (seg.position < 1000) {
            EXPECT_FLOAT_EQ(seg.pitchPeriod, 157.5f) << seg.position;
        }
    ASSERT_EQ(engine.Speak("#,A0,#", "(.)|(..)"), S_OK);
    const std::vector<int16_t> out = engine.Samples();
    const int lag = PeriodOf(out, 200, 700, 120, 200);
    EXPECT_NEAR(lag, 157.5, 157.5 * 0.01);
}

TEST_F(ProsodySpeak, NewModelSetsPitchAndTempo) {
    ASSERT_TRUE(engine.models.intonationNew.LoadText(
        std::string(kIntonationNewHeader) + "\n(.),1\n100\n100|300|200\n100|50|100\n", "N"));
    On("IntonationEnabled");
    On("UseNewIntonation");
    ASSERT_EQ(engine.Speak("#,A0,#", "(.)|(..)"), S_OK);
    // The vowel carries the stress and ends the phrase: its pitch comes from
    // the after-stress value, twice the recorded pitch; the tempo value 50 doubles the time factor,
    // so each recorded period is used once at half its spacing.
    EXPECT_NEAR(engine.sizes[1], 500, 50);
    const int lag = PeriodOf(engine.Samples(), 100, 300, 30, 80);
    EXPECT_NEAR(lag, 50, 1);
}

TEST_F(ProsodySpeak, DatasetPitchAndAmplitudeContour) {
    ASSERT_TRUE(engine.models.dataset.LoadText(
        std::string(kProsodicDatasetHeader) + "\nA0 126 4000 1000\n", "P"));
    On("UseFreqProsody");
    ASSERT_EQ(engine.Speak("#,A0,#", "(.)|(..)"), S_OK);
    EXPECT_NEAR(PeriodOf(engine.Samples(), 200, 600, 120, 220), 175, 2);  // 22050 / 126
    ASSERT_TRUE(engine.models.amp.LoadText(
        std::string(kAmpProfileHeader) + "\n{Groups\nV:A0\nP:#\n}\n{Rules\nDefault:50,50\n}\n",
        "A"));
    engine.SetUserDword("", "UseFreqProsody", 0);
    On("UseAmpContour");
    ASSERT_EQ(engine.Speak("#,A0,#", "(.)|(..)"), S_OK);
    int peak = 0;
    for (int16_t s : engine.Samples()) peak = std::max(peak, std::abs(int{s}));
    // Half the dataset's peak, pulled down towards the silent final pause.
    EXPECT_NEAR(peak, 2000, 200);
}

TEST_F(ProsodySpeak, CallerVolumeZeroSilencesItsWord) {
    const int8_t volume[] = {0, 100};
    CProsodyInfo info{nullptr, const_cast<int8_t*>(volume), nullptr, 2};
    ASSERT_EQ(engine.Speak("#,M,A0,_,S,A0,#", "(.)|(..)", &info), S_OK);
    const std::vector<int16_t> out = engine.Samples();
    for (int i = 0; i < engine.sizes[1] + engine.sizes[2]; ++i) ASSERT_EQ(out[i], 0) << i;
    EXPECT_NE(out[engine.sizes[1] + engine.sizes[2] + 450], 0);
}

TEST_F(ProsodySpeak, BadVoiceFilesLeaveSynthesisWorking) {
    test::TempDir dir;
    test::WriteFile(dir.File("Rhytmics.cfg"), ".Version 2\n{Consonant\nA:-1e30\nR1 Bogus\n");
    test::WriteFile(dir.File("Intonation.cfg"),
                    std::string(kIntonationProfileHeader) + "\n(.)\n4\n999999999\n");
    test::WriteFile(dir.File("IntonationNew.cfg"), std::string(kIntonationNewHeader) + "\n(.),1\n");
    test::WriteFile(dir.File("Pros.cfg"),
                    std::string(kProsodicDatasetHeader) + "\nA0 0 0\nM 1e9\n");
    test::WriteFile(dir.File("Amp.cfg"), std::string(kAmpProfileHeader) + "\n{Rules\n");
    LoadVoiceModels(engine.models, dir.Path());
    EXPECT_FALSE(messages.All().empty());
    for (const char* s : {"RhytmicsEnabled", "IntonationEnabled", "UseAbsoluteIntonation",
                          "UseFreqProsody", "UseAmpContour", "UseAmpProsody"})
        On(s);
    for (const char* phrase : {"#,M,A0,S,A0,#", "#,A0,#", "#,_,#"}) {
        ASSERT_EQ(engine.Speak(phrase, "(.)|(..)"), S_OK) << phrase;
        for (int32_t size : engine.sizes) EXPECT_GE(size, 0);
    }
    On("UseNewIntonation");
    ASSERT_EQ(engine.Speak("#,M,A0,#", "(?)|(..)"), S_OK);
    // A folder without any of the files: silently empty models.
    messages.Clear();
    test::TempDir empty;
    LoadVoiceModels(engine.models, empty.Path());
    EXPECT_TRUE(messages.All().empty());
    EXPECT_EQ(engine.models.rhythmics.RuleCount(), 0u);
}

}  // namespace
}  // namespace vox
