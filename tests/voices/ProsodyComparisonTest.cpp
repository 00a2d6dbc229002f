// The held-out file and the comparison of a synthesised syntagma with its
// recording: the phoneme-by-phoneme time map, the figures, and bad lines.
#include <gtest/gtest.h>

#include <cmath>

#include "tools/voicebuild/HeldOut.h"
#include "tools/voicebuild/ProsodyComparison.h"

namespace vox::voicebuild {
namespace {

// "#,M,A0,#": M 0.10-0.20 s, A0 0.20-0.40 s of the recording.
HeldOutSyntagma MaSyntagma() {
    return {"u7",
            "/corpus/wav/u7.wav",
            "(.)",
            {"#", "M", "A0", "#"},
            {0, 0.1, 0.2, 0},
            {0, 0.2, 0.4, 0}};
}

// A track with 5-ms frames whose f0 (Hz) and level (dB) are functions of time.
template <class F0, class Level>
PitchTrack Track(int rate, double seconds, F0 f0, Level level) {
    PitchTrack t;
    t.rate = rate;
    t.hopSamples = rate / 200;
    t.firstCentre = 0;
    for (double at = 0.0; at < seconds; at += 0.005) {
        t.f0.push_back(float(f0(at)));
        t.levelDb.push_back(float(level(at)));
        t.dip.push_back(0.0f);
    }
    return t;
}

TEST(HeldOut, EveryNthPromptCountingFromOne) {
    EXPECT_FALSE(IsHeldOut(0, 10));
    EXPECT_TRUE(IsHeldOut(9, 10));
    EXPECT_TRUE(IsHeldOut(19, 10));
    EXPECT_FALSE(IsHeldOut(10, 10));
    for (size_t i = 0; i < 30; ++i) EXPECT_FALSE(IsHeldOut(i, 0));
}

TEST(HeldOut, FileRoundTripsAndNamesBadLines) {
    const std::string text = HeldOutText({MaSyntagma()});
    std::vector<std::string> problems;
    std::vector<HeldOutSyntagma> back = ParseHeldOut(text, "held-out.txt", problems);
    ASSERT_EQ(back.size(), 1u);
    EXPECT_TRUE(problems.empty());
    EXPECT_EQ(back[0].phonemes, MaSyntagma().phonemes);
    EXPECT_EQ(back[0].wavPath, "/corpus/wav/u7.wav");
    EXPECT_FALSE(back[0].HasAudio(0));
    EXPECT_DOUBLE_EQ(back[0].starts[2], 0.2);
    EXPECT_DOUBLE_EQ(back[0].ends[2], 0.4);

    const std::string bad =
        "# comment\n"
        "u1\tw.wav\t(.)\t#,A0,#\t- 0.1:0.2 -\n"  // good
        "u2\tw.wav\t(;)\t#,A0,#\t- 0.1:0.2 -\n"  // unknown mark
        "u3\tw.wav\t(.)\t#,A0,#\t- 0.1:0.2\n"    // a time missing
        "u4\tw.wav\t(.)\t#,A0,#\t- 0.3:0.2 -\n"  // ends before it starts
        "u5\tw.wav\t(.)\t#,A0,#\t- -1:nan -\n"   // absurd numbers
        "u6\tw.wav\t(.)\tA0\t0.1:0.2\n"          // no frame of pauses
        "u7\tw.wav\t(.)\t#,A0,#\n";              // truncated
    problems.clear();
    back = ParseHeldOut(bad, "h.txt", problems);
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0].id, "u1");
    ASSERT_EQ(problems.size(), 6u);
    EXPECT_EQ(problems[0].rfind("h.txt:3: unknown syntagma mark", 0), 0u) << problems[0];
    EXPECT_EQ(problems[5].rfind("h.txt:8: expected 5", 0), 0u) << problems[5];
}

TEST(ProsodyComparison, SynthesisStretchedPhonemeByPhonemeMatchesItsRecording) {
    // The recording's f0 glides 100 → 200 Hz over the vowel; the synthesis
    // speaks the vowel twice as long with the same glide, at 22050 Hz.
    auto glide = [](double from, double length) {
        return [=](double at) {
            const double x = (at - from) / length;
            return x >= 0.0 && x <= 1.0 ? 100.0 * std::pow(2.0, x) : 0.0;
        };
    };
    auto level = [](double at) { return 40.0 + 10.0 * std::sin(at * 20.0); };
    const PitchTrack recorded = Track(16000, 0.5, glide(0.2, 0.2), level);
    const int32_t pause = 2205, m = 2205, a = 8820;  // 0.1 s, 0.1 s, 0.4 s
    const double aStart = double(pause + m) / 22050.0;
    const PitchTrack spoken = Track(22050, 0.7, glide(aStart, 0.4), [&](double at) {
        const double into = at < aStart ? at : 0.2 + (at - aStart) / 2.0;
        return level(into) - 7.0;  // another overall level, the same contour
    });
    ProsodyPairs pairs;
    const std::vector<int32_t> sizes = {pause, m, a, 0};
    ASSERT_TRUE(AddComparison(MaSyntagma(), recorded, spoken, sizes, pairs));
    const ProsodyFigures f = Summarise(pairs);
    EXPECT_EQ(f.phonemes, 2u);
    EXPECT_NEAR(pairs.recordedMs[1], 200.0, 1e-9);
    EXPECT_NEAR(pairs.spokenMs[1], 400.0, 1e-9);
    EXPECT_NEAR(f.durationRmseMs, std::sqrt((0.0 + 200.0 * 200.0) / 2.0), 1e-6);
    EXPECT_EQ(f.phonemesByGroup[kConsonants], 1u);
    EXPECT_EQ(f.phonemesByGroup[kStressedVowels], 1u);
    EXPECT_EQ(f.phonemesByGroup[kOtherVowels], 0u);
    EXPECT_NEAR(f.durationRmseByGroupMs[kConsonants], 0.0, 1e-9);
    EXPECT_NEAR(f.durationRmseByGroupMs[kStressedVowels], 200.0, 1e-9);
    EXPECT_GT(f.voicedFrames, 70u);
    EXPECT_LT(f.f0RmseSt, 0.15);
    EXPECT_LT(f.contourRmseSt, 0.15);
    EXPECT_GT(f.f0Correlation, 0.99);
    EXPECT_GT(f.energyCorrelation, 0.97);
    // An octave in 0.2 s recorded, in 0.4 s spoken: 60 and 30 st/s; the
    // glide is the last stressed vowel, its mean its median.
    ASSERT_EQ(f.statements, 1u);
    EXPECT_NEAR(f.recordedDeclination, 60.0, 3.0);
    EXPECT_NEAR(f.spokenDeclination, 30.0, 1.5);
    EXPECT_NEAR(f.recordedLowering, 0.0, 0.3);

    // Sizes that do not fit the phoneme list add nothing.
    EXPECT_FALSE(AddComparison(MaSyntagma(), recorded, spoken, std::vector<int32_t>{1, 2}, pairs));
    EXPECT_EQ(pairs.syntagmas, 1u);
}

TEST(ProsodyComparison, ASyntagmaSpokenAtAnotherLevelHasItsContourRight) {
    // The synthesis follows the recording's glide two semitones higher.
    auto glide = [](double semitones) {
        return [=](double at) {
            const double x = (at - 0.2) / 0.2;
            return x >= 0.0 && x <= 1.0 ? 100.0 * std::pow(2.0, x + semitones / 12.0) : 0.0;
        };
    };
    auto level = [](double) { return 40.0; };
    const PitchTrack recorded = Track(16000, 0.5, glide(0.0), level);
    const PitchTrack spoken = Track(16000, 0.5, glide(2.0), level);
    ProsodyPairs pairs;
    ASSERT_TRUE(AddComparison(MaSyntagma(), recorded, spoken, std::vector<int32_t>{1600, 1600, 3200, 0}, pairs));
    const ProsodyFigures f = Summarise(pairs);
    EXPECT_NEAR(f.f0RmseSt, 2.0, 0.15);
    EXPECT_LT(f.contourRmseSt, 0.15);
}

TEST(ProsodyComparison, FiguresOfFlatAndOppositeSeries) {
    const std::vector<double> a = {1, 2, 3, 4}, b = {4, 3, 2, 1}, flat = {2, 2, 2, 2};
    EXPECT_DOUBLE_EQ(Correlation(a, a), 1.0);
    EXPECT_DOUBLE_EQ(Correlation(a, b), -1.0);
    EXPECT_DOUBLE_EQ(Correlation(a, flat), 0.0);  // no variation: no correlation, never NaN
    EXPECT_DOUBLE_EQ(Correlation({}, {}), 0.0);
    EXPECT_DOUBLE_EQ(RootMeanSquareDifference(a, a), 0.0);
    EXPECT_DOUBLE_EQ(RootMeanSquareDifference(a, b), std::sqrt(5.0));
    EXPECT_DOUBLE_EQ(RootMeanSquareDifference({}, {}), 0.0);
}

}  // namespace
}  // namespace vox::voicebuild
