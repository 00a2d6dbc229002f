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
    // Stressed vowels before a pause last twice their unit (0.2 s of 0.1 s)
    // in statements, 1.5 times in questions: the median of both is fitted.
    const float before = rhythmics.Coefficient("stressed before a pause");
    EXPECT_GE(before, 1.5f);
    EXPECT_LE(before, 2.0f);
    EXPECT_NEAR(rhythmics.Coefficient("pretonic"), 0.5f, 1e-3);  // 0.05 s of 0.1 s

    IntonationNewBase model;
    ASSERT_TRUE(model.LoadText(fit.intonationNew, "IntonationNew.cfg")) << fit.intonationNew;
    const std::vector<WordPattern>* statement = model.PitchPatterns("(.),1");
    const std::vector<WordPattern>* question = model.PitchPatterns("(?),1");
    ASSERT_TRUE(statement && question);
    // Percent of 70…270 Hz: the statement's stress sits at 10 % (90 Hz), the
    // question's at 80 % (230 Hz), above its start at 30 %.
    EXPECT_EQ((*statement)[0][1][1], 10);
    EXPECT_EQ((*question)[0][1][1], 80);
    EXPECT_LT((*question)[0][0].front(), (*question)[0][1][1]);
    EXPECT_NE(model.PitchPatterns("(.),6"), nullptr);  // filled from the nearest count

    IntonationProfile profile;
    ASSERT_TRUE(profile.LoadText(fit.intonation, "Intonation.cfg")) << fit.intonation;
    EXPECT_NE(profile.GetContour("(?)"), nullptr);

    AmpProfile amp;
    ASSERT_TRUE(amp.LoadText(fit.amp, "Amp.cfg")) << fit.amp;
    EXPECT_TRUE(messages.All().empty());
}

TEST(ProsodyFitter, MarksFromThePromptsPunctuation) {
    EXPECT_EQ(FinalMark("Что?"), "(?)");
    EXPECT_EQ(FinalMark("Стой!\""), "(!)");
    EXPECT_EQ(FinalMark("Дна нет."), "(.)");
    EXPECT_EQ(FinalMark("без знака"), "(.)");
}

}  // namespace
}  // namespace vox::voicebuild
