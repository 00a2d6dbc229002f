// The prosody files fitted to a corpus: coefficients are the corpus's
// duration ratios, contours follow its pitch, and every file loads into the
// engine's models without a message.
#include <gtest/gtest.h>

#include "engine/prosody/AmpProfile.h"
#include "engine/prosody/IntonationNewBase.h"
#include "engine/prosody/IntonationProfile.h"
#include "engine/prosody/RhythmicsModel.h"
#include "interfaces/SoundDescription.h"
#include "tests/support/CapturedMessages.h"
#include "tools/voicebuild/ProsodyFitter.h"
#include "tools/voicebuild/RhythmicsFitter.h"

namespace vox::voicebuild {
namespace {

constexpr uint64_t M(sd::Bit b) {
    return SdMask(b);
}
const uint64_t kTerm = M(sd::None) | M(sd::Terminator);
const uint64_t kCons =
    M(sd::Any) | M(sd::Consonant) | M(sd::Voiced) | M(sd::Sonant) | M(sd::Intonable);
const uint64_t kStressed =
    M(sd::Any) | M(sd::Vowel) | M(sd::Stressed) | M(sd::FullStressed) | M(sd::Intonable);
const uint64_t kPretonic = M(sd::Any) | M(sd::Vowel) | M(sd::Pretonic) | M(sd::Intonable);

// "#, M, A1, M, A0, #": durations in seconds and f0 falling to the end.
FitSyntagma Syntagma(const std::string& mark, double finalVowel, double f0Start, double f0End) {
    FitSyntagma s;
    s.mark = mark;
    s.phonemes = {"#", "M", "A1", "M", "A0", "#"};
    s.names = {"#", "M-A1", "A1-M", "M-A0", "A0-#", "#"};
    s.sds = {kTerm, kCons, kPretonic, kCons, kStressed, kTerm};
    s.seconds = {0, 0.06, 0.05, 0.06, finalVowel, 0};
    s.f0 = {0, f0Start, f0Start, (f0Start + f0End) / 2, f0End, 0};
    return s;
}

TEST(ProsodyFitter, FilesFollowTheCorpusAndLoadCleanly) {
    Unit a0{"A0-#", std::vector<int16_t>(2205, 1000), {}};  // 0.1 s
    Unit m{"M-A0", std::vector<int16_t>(1323, 500), {}};
    for (size_t i = 0; i < 300; ++i) a0.samples[a0.samples.size() - 1 - i] = 100;
    const std::map<std::string, const Unit*> units = {
        {"A0-#", &a0}, {"M-A0", &m}, {"M-A1", &m}, {"A1-M", &a0}};
    FitInput in;
    in.units = &units;
    in.basic = {{"A1-M", "A0-#"}, {"A0-#", "A0-#"}, {"M-A1", "M-A0"}, {"M-A0", "M-A0"}};
    in.lowHz = 70;
    in.highHz = 270;
    for (int i = 0; i < 8; ++i) {
        in.syntagmas.push_back(Syntagma("(.)", 0.2, 170, 90));    // falls
        in.syntagmas.push_back(Syntagma("(?)", 0.15, 130, 230));  // rises on the stress
    }
    const FittedProsody fit = FitProsody(in);
    test::CapturedMessages messages;

    RhythmicsModel rhythmics;
    ASSERT_TRUE(rhythmics.LoadText(fit.rhytmics, "Rhytmics.cfg")) << fit.rhytmics;
    // Too few phonemes to split a class: one least-squares coefficient each.
    // Stressed vowels last twice their unit (0.2 s of 0.1 s) in statements,
    // 1.5 times in questions.
    EXPECT_NEAR(rhythmics.Coefficient("stressed"), 1.75f, 1e-3);
    EXPECT_NEAR(rhythmics.Coefficient("pretonic"), 0.5f, 1e-3);  // 0.05 s of 0.1 s

    IntonationNewBase model;
    ASSERT_TRUE(model.LoadText(fit.intonationNew, "IntonationNew.cfg")) << fit.intonationNew;
    const std::vector<WordPattern>* statement = model.PitchPatterns("(.),1");
    const std::vector<WordPattern>* question = model.PitchPatterns("(?),1");
    ASSERT_TRUE(statement && question);
    // Percent of 70…270 Hz: the statement's stress sits at 10 % (90 Hz), the
    // question's at 80 % (230 Hz), above its start at 30 %. The word ends in
    // its stress, so the engine draws the stress from the after-stress list
    // times the final-stress scale.
    EXPECT_EQ((*statement)[0][2][1], 10);
    EXPECT_EQ((*question)[0][2][1], 80);
    EXPECT_EQ(model.FinalStressScale("(.),1"), 100);
    EXPECT_LT((*question)[0][0].front(), (*question)[0][2][1]);
    EXPECT_NE(model.PitchPatterns("(.),6"), nullptr);  // filled from the nearest count

    IntonationProfile profile;
    ASSERT_TRUE(profile.LoadText(fit.intonation, "Intonation.cfg")) << fit.intonation;
    EXPECT_NE(profile.GetContour("(?)"), nullptr);

    AmpProfile amp;
    ASSERT_TRUE(amp.LoadText(fit.amp, "Amp.cfg")) << fit.amp;
    EXPECT_TRUE(messages.All().empty());
}

// Stressed vowels before a pause last twice their reference, after a voiced
// consonant 1.5 times, the others once: the learnt decision list finds both
// conditions, and the engine's model reads back the same durations.
TEST(ProsodyFitter, RhythmicsRulesAreLearntAsTheEngineMatchesThem) {
    const uint64_t kVoicedCons = kCons;
    const uint64_t kVoiceless = M(sd::Any) | M(sd::Consonant) | M(sd::Voiceless);
    std::vector<DurationObservation> obs;
    for (int i = 0; i < 300; ++i) {
        const bool beforePause = i % 3 == 0, afterVoiced = i % 3 == 1;
        const std::vector<uint64_t> sds = {kTerm, afterVoiced ? kVoicedCons : kVoiceless, kStressed,
                                           beforePause ? kTerm : kVoiceless, kTerm};
        const double reference = 1000.0 + 10.0 * (i % 7);
        const double factor = beforePause ? 2.0 : afterVoiced ? 1.5 : 1.0;
        const double noise = (i % 5 - 2) * 20.0;
        obs.push_back({BuildContext(sds, 2), int(RhythmicsClass::Stressed),
                       factor * reference + noise, reference});
    }
    size_t rules = 0;
    const std::string text = FitRhythmicsRules(obs, rules);
    test::CapturedMessages messages;
    RhythmicsModel model;
    ASSERT_TRUE(model.LoadText(text, "Rhytmics.cfg")) << text;
    EXPECT_TRUE(messages.All().empty());
    EXPECT_EQ(rules, model.RuleCount());
    EXPECT_LE(rules, 4u) << text;  // no rule for noise
    for (const DurationObservation& o : obs) {
        const RhythmicsRule* rule = model.FindRule(o.context);
        ASSERT_NE(rule, nullptr);
        EXPECT_NEAR(rule->coefficient * o.reference, o.samples, 45.0) << rule->name;
    }
}

TEST(ProsodyFitter, MarksFromThePromptsPunctuation) {
    EXPECT_EQ(FinalMark("Что?"), "(?.)");  // a question word: a special question
    EXPECT_EQ(FinalMark("Это богиня м+ести?"), "(?)");
    EXPECT_EQ(FinalMark("Стой. - Что же ты? - Можно ли помнить эту ночь?"), "(?)");
    EXPECT_EQ(FinalMark("Дна нет. А кто ж я как не кокотка?"), "(?.)");
    EXPECT_EQ(FinalMark("Стой!\""), "(!)");
    EXPECT_EQ(FinalMark("Дна нет."), "(.)");
    EXPECT_EQ(FinalMark("без знака"), "(.)");
}

}  // namespace
}  // namespace vox::voicebuild
