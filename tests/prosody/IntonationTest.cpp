// The intonation profile and the new intonation model: their files, the
// curves they draw over a phrase and how the curves change the segments.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/prosody/IntonationContour.h"
#include "engine/prosody/IntonationNewBase.h"
#include "interfaces/SoundDescription.h"
#include "tests/support/CapturedMessages.h"
#include "tests/support/TempRegistry.h"

namespace vox {
namespace {

constexpr uint64_t M(sd::Bit b) {
    return SdMask(b);
}
const uint64_t kTerm = M(sd::None) | M(sd::Terminator);
const uint64_t kSpace = M(sd::None) | M(sd::Space);
const uint64_t kV = M(sd::Any) | M(sd::Vowel) | M(sd::Intonable);
const uint64_t kBefore = kV | M(sd::InPretonicSyl);
const uint64_t kStress = kV | M(sd::InStressedSyl) | M(sd::FullStressed);
const uint64_t kAfter = kV | M(sd::InPosttonicSyl);
const uint64_t kVoiceless = M(sd::Any) | M(sd::Consonant) | M(sd::Voiceless);
const uint64_t kSonant = M(sd::Any) | M(sd::Consonant) | M(sd::Sonant) | M(sd::Intonable);

// A contour whose four shapes are flat at 10, 20, 30, 40 on every part.
std::string FlatShapes(const std::string& name) {
    std::string text = name + "\n4\n";
    for (int s = 1; s <= 4; ++s)
        for (int list = 0; list < 3; ++list) text += "1\n0 " + std::to_string(10 * s) + "\n";
    return text;
}

TEST(IntonationProfile, CommentsCountsAndTruncation) {
    test::CapturedMessages messages;
    IntonationProfile p;
    const std::string header = std::string(kIntonationProfileHeader) + "\n";
    ASSERT_TRUE(p.LoadText(header + "; c\n(.)\n\n4\n0\n1\n;x\n0 60\n2\n0 60\n; between\n100 55\n" +
                               "0\n0\n0\n0\n0\n0\n0\n0\n0\n0\n" + FlatShapes("(.)") +
                               FlatShapes("(?)"),
                           "I.cfg"));
    const std::vector<WordShape>* c = p.GetContour("(.)");
    ASSERT_NE(c, nullptr);
    EXPECT_TRUE((*c)[0][0].empty());
    ASSERT_EQ((*c)[0][1].size(), 1u);
    ASSERT_EQ((*c)[0][2].size(), 2u);
    EXPECT_EQ((*c)[0][2][1].y, 55);
    EXPECT_EQ((*c)[1][0].size(), 0u);  // the first "(.)" stays
    EXPECT_NE(p.GetContour("(?)"), nullptr);
    EXPECT_TRUE(p.IsLoaded());

    EXPECT_TRUE(p.LoadText(header + "(!)\n2\n0\n0\n0\n0\n0\n0\n" + FlatShapes("(?)"), "I.cfg"));
    EXPECT_EQ(p.GetContour("(!)"), nullptr);  // fewer than four shapes: dropped
    EXPECT_TRUE(messages.Contains("Error", "I.cfg:2: contour \"(!)\" has fewer than 4"));
    EXPECT_FALSE(p.LoadText(header + FlatShapes("(?)") + "(.)\n4\n1\n", "I.cfg"));
    EXPECT_NE(p.GetContour("(?)"), nullptr);  // read before the truncated one
    EXPECT_FALSE(p.LoadText(header + "(.)\n2000000000\n", "I.cfg"));
    EXPECT_FALSE(p.LoadText("Vostrelin Intonation Profile * Version 4\n", "I.cfg"));
    EXPECT_EQ(p.ContourCount(), 0u);
    ASSERT_TRUE(p.LoadText(
        header + "(.)\n4\n1\n0 -5\n1\n0 99999\n0\n" + "0\n0\n0\n0\n0\n0\n0\n0\n0\n", "I.cfg"));
    EXPECT_EQ((*p.GetContour("(.)"))[0][0][0].y, 0);
    EXPECT_EQ((*p.GetContour("(.)"))[0][1][0].y, IntonationProfile::kMaxY);
}

TEST(IntonationProfile, SamePathIsNotReadAgain) {
    test::TempDir dir;
    const std::string path = dir.File("Intonation.cfg");
    test::WriteFile(path, std::string(kIntonationProfileHeader) + "\n" + FlatShapes("(.)"));
    IntonationProfile p;
    ASSERT_TRUE(p.Load(path, false));
    test::WriteFile(path, std::string(kIntonationProfileHeader) + "\n" + FlatShapes("(?)"));
    ASSERT_TRUE(p.Load(path, false));
    EXPECT_NE(p.GetContour("(.)"), nullptr);
    EXPECT_FALSE(p.Load(dir.File("none"), false));
}

TEST(IntonationContour, DrawingPointsAndTransitions) {
    std::vector<float> out;
    DrawPointList({{0, 60}, {100, 55}}, 100, out);
    EXPECT_FLOAT_EQ(out[0], 60.0f);
    EXPECT_FLOAT_EQ(out[99], 55.05f);
    out.clear();
    DrawPointList({{20, 50}, {50, 80}}, 100, out);
    EXPECT_FLOAT_EQ(out[0], 30.0f);  // extrapolated from the first pair
    EXPECT_FLOAT_EQ(out[50], 80.0f);
    EXPECT_EQ(out[51], 0.0f);  // beyond the last point: no value
    out.clear();
    DrawPointList({{50, 10}, {50, 20}, {100, 20}}, 10, out);  // equal x: no NaN
    for (float v : out) EXPECT_TRUE(std::isfinite(v));
    out.clear();
    DrawRaisedCosine(60, 40, 5, out);
    const float expected[] = {60, 57.0710678f, 50, 42.9289322f, 40};
    ASSERT_EQ(out.size(), 5u);
    for (size_t i = 0; i < 5; ++i) EXPECT_NEAR(out[i], expected[i], 1e-4) << i;
    out.clear();
    DrawRaisedCosine(60, 40, 1, out);
    EXPECT_EQ(out, (std::vector<float>{60}));
}

// Words of one stressed vowel followed by one unstressed vowel, 100 samples each.
void Words(int count, std::vector<uint64_t>& sds, std::vector<int32_t>& lengths) {
    sds = {kTerm};
    for (int w = 0; w < count; ++w) {
        if (w > 0) sds.push_back(kSpace);
        sds.push_back(kStress);
        sds.push_back(kAfter);
    }
    sds.push_back(kTerm);
    lengths.assign(sds.size(), 100);
    for (size_t i = 0; i < sds.size(); ++i)
        if (sds[i] == kTerm || sds[i] == kSpace) lengths[i] = 0;
}

TEST(IntonationContour, WordShapesFollowTheWordsPositions) {
    IntonationProfile p;
    ASSERT_TRUE(p.LoadText(std::string(kIntonationProfileHeader) + "\n" + FlatShapes("(,)"), "I"));
    const std::pair<int, std::vector<float>> cases[] = {
        {1, {40}}, {3, {10, 20, 40}}, {4, {10, 20, 30, 40}}, {5, {10, 20, 30, 20, 40}}};
    for (const auto& [words, shapes] : cases) {
        std::vector<uint64_t> sds;
        std::vector<int32_t> lengths;
        Words(words, sds, lengths);
        std::vector<float> pitch;
        PrepareProfileIntonation(p, "(,)", sds, lengths, pitch);
        ASSERT_EQ(pitch.size(), static_cast<size_t>(200 * words));
        for (int w = 0; w < words; ++w) EXPECT_EQ(pitch[200 * w + 50], shapes[w]) << words;
    }
}

TEST(IntonationContour, FinalStressSplitsByMark) {
    IntonationProfile p;
    std::string shapes = "4\n";
    for (int s = 0; s < 4; ++s) shapes += "0\n1\n0 60\n1\n0 40\n";
    ASSERT_TRUE(p.LoadText(
        std::string(kIntonationProfileHeader) + "\n(.)\n" + shapes + "(?)\n" + shapes, "I"));
    const std::vector<uint64_t> sds = {kTerm, kStress, kTerm};
    const std::vector<int32_t> lengths = {0, 1000, 0};
    std::vector<float> pitch;
    PrepareProfileIntonation(p, "(.)", sds, lengths, pitch);
    EXPECT_FLOAT_EQ(pitch[399], 60.0f);  // list 1 over the first 40 %
    EXPECT_FLOAT_EQ(pitch[400], 60.0f);  // then the raised cosine down to 40
    EXPECT_FLOAT_EQ(pitch[999], 40.0f);
    PrepareProfileIntonation(p, "(?)", sds, lengths, pitch);
    EXPECT_FLOAT_EQ(pitch[999], 60.0f);  // the whole vowel follows list 1
}

TEST(IntonationContour, ConsonantsBetweenVowels) {
    IntonationProfile p;
    ASSERT_TRUE(p.LoadText(std::string(kIntonationProfileHeader) + "\n" + FlatShapes("(.)"), "I"));
    // A voiceless consonant keeps 0; an intonable one is bridged; before
    // the first vowel the bridge is flat at the vowel's value.
    const std::vector<uint64_t> sds = {kTerm,   kSonant, kBefore, kVoiceless,
                                       kStress, kSonant, kAfter,  kTerm};
    const std::vector<int32_t> lengths = {0, 50, 100, 100, 100, 100, 100, 0};
    std::vector<float> pitch;
    PrepareProfileIntonation(p, "(.)", sds, lengths, pitch);
    ASSERT_EQ(pitch.size(), 550u);
    EXPECT_FLOAT_EQ(pitch[0], 40.0f);
    EXPECT_FLOAT_EQ(pitch[49], 40.0f);
    for (int i = 150; i < 250; ++i) ASSERT_EQ(pitch[i], 0.0f);
    EXPECT_FLOAT_EQ(pitch[400], 40.0f);
}

TEST(IntonationContour, MissingContourIsReportedAndChangesNothing) {
    test::CapturedMessages messages;
    IntonationProfile empty;
    std::vector<float> pitch;
    PrepareProfileIntonation(empty, "(?)", std::vector<uint64_t>{kTerm, kStress, kTerm},
                             std::vector<int32_t>{0, 100, 0}, pitch);
    EXPECT_TRUE(
        messages.Contains(kPrepareIntonationCaption, "Failed to get intonation contour for (?)"));
    for (float v : pitch) EXPECT_EQ(v, 0.0f);
}

TEST(IntonationContour, AbsoluteAndRelativeApplication) {
    std::vector<SynthesisSegment> seg = {{0, 100.0f, 1.0f}, {100, 100.0f, 1.0f}, {200, 0, 1}};
    std::vector<float> curve(200, 0.0f);
    curve[0] = 50.0f;
    curve[100] = 60.0f;
    ApplyAbsoluteIntonation(curve, {}, {80.0, 200.0, false}, seg);
    EXPECT_FLOAT_EQ(seg[0].pitchPeriod, 157.5f);  // 140 Hz
    ApplyRelativeIntonation(curve, {}, {80.0, 200.0, false}, seg);
    EXPECT_FLOAT_EQ(seg[1].pitchPeriod, static_cast<float>(22050.0 / (80 + 120 * 0.6)) / 1.1f);
    // New model: percent of the recorded pitch and a tempo curve.
    std::vector<float> tempo(200, 0.0f);
    tempo[0] = 50.0f;
    seg = {{0, 100.0f, 1.0f}, {100, 100.0f, 1.0f}, {200, 0, 1}};
    curve[0] = 200.0f;
    ApplyRelativeIntonation(curve, tempo, {100, 200, true}, seg);
    EXPECT_FLOAT_EQ(seg[0].pitchPeriod, 50.0f);
    EXPECT_FLOAT_EQ(seg[0].timeFactor, 2.0f);
    EXPECT_FLOAT_EQ(seg[1].timeFactor, 1.0f);  // tempo 0: unchanged
    // Absurd values stay within the sane range.
    curve[0] = 1e6f;
    ApplyAbsoluteIntonation(curve, {}, {80, 200, false}, seg);
    EXPECT_FLOAT_EQ(seg[0].pitchPeriod, 22050.0f / 1000.0f);
}

std::string NewEntry(const std::string& key, int words, const std::string& scale,
                     const std::string& pitchLine, const std::string& tempoLine) {
    std::string text = key + "," + std::to_string(words) + "\n" + scale + "\n";
    for (int w = 0; w < words; ++w) text += pitchLine + "\n";
    for (int w = 0; w < words; ++w) text += tempoLine + "\n";
    return text;
}

TEST(IntonationNew, FileFaults) {
    test::CapturedMessages messages;
    IntonationNewBase m;
    const std::string header = std::string(kIntonationNewHeader) + "\n";
    ASSERT_TRUE(
        m.LoadText(header + NewEntry("(.)", 2, "80", "50,55|60|52,45", "100|100|100"), "N"));
    EXPECT_TRUE(m.IsLoaded());
    ASSERT_NE(m.PitchPatterns("(.),2"), nullptr);
    EXPECT_EQ((*m.PitchPatterns("(.),2"))[0][2], (std::vector<int32_t>{52, 45}));
    EXPECT_EQ(m.FinalStressScale("(.),2"), 80);
    const std::pair<std::string, std::string> bad[] = {
        {"Version 1\n", "Invalid IntonationNew Profile version"},
        {header + "(.),7\n100\n", "N:2: Syntax error in (.),7"},
        {header + "(.)\n100\n", "Syntax error in (.)"},
        {header + "(.),1\n0\n1|1|1\n1|1|1\n", "N:3: Syntax error in 0"},
        {header + "(.),1\n100\n1|1\n1|1|1\n", "Syntax error in 1|1"},
        {header + "(.),1\n100\n1||1\n1|1|1\n", "Syntax error in 1||1"},
        {header + "(.),2\n100\n1|1|1\n", "Unexpected end of file"},
        {header + std::string(2000, '1') + "\n", "longer than 1023"},
    };
    for (const auto& [text, message] : bad) {
        messages.Clear();
        EXPECT_FALSE(m.LoadText(text, "N")) << text;
        EXPECT_TRUE(messages.Contains(kIntonationNewCaption, message)) << message;
    }
    ASSERT_TRUE(m.LoadText(header + NewEntry("(.)", 1, "100", "-5|5000|5", "1|1|1"), "N"));
    EXPECT_EQ((*m.PitchPatterns("(.),1"))[0][1][0], IntonationNewBase::kMaxValue);
}

TEST(IntonationNew, CurvesOverTheWords) {
    IntonationNewBase m;
    const std::string header = std::string(kIntonationNewHeader) + "\n";
    ASSERT_TRUE(m.LoadText(header + NewEntry("(.)", 1, "50", "70|80|60", "100|0|50") +
                               NewEntry("(.)", 2, "100", "10|20|30", "0|0|0"),
                           "N"));
    // One word stressed on its last vowel: its stressed part takes the
    // after-stress values times the scale.
    std::vector<float> pitch, tempo;
    m.Prepare("(.)", std::vector<uint64_t>{kTerm, kBefore, kStress, kTerm},
              std::vector<int32_t>{0, 100, 100, 0}, pitch, tempo);
    ASSERT_EQ(pitch.size(), 200u);
    EXPECT_FLOAT_EQ(pitch[0], 70.0f);
    EXPECT_FLOAT_EQ(pitch[150], 30.0f);  // 60 × 50 %
    EXPECT_FLOAT_EQ(tempo[0], 100.0f);
    EXPECT_FLOAT_EQ(tempo[150], 0.0f);
    // Two words, the second stressed on its first vowel: the first word's
    // after part runs on into the second's before values.
    m.Prepare("(.)", std::vector<uint64_t>{kTerm, kStress, kAfter, kSpace, kStress, kAfter, kTerm},
              std::vector<int32_t>{0, 100, 100, 0, 100, 100, 0}, pitch, tempo);
    ASSERT_EQ(pitch.size(), 400u);
    EXPECT_FLOAT_EQ(pitch[100], 30.0f);
    EXPECT_GT(pitch[150], 10.0f);
    EXPECT_LT(pitch[150], 30.0f);
    // Seven words never find an entry.
    std::vector<uint64_t> seven = {kTerm};
    for (int w = 0; w < 7; ++w) seven.insert(seven.end(), {kStress, kSpace});
    seven.back() = kTerm;
    m.Prepare("(.)", seven, std::vector<int32_t>(seven.size(), 10), pitch, tempo);
    EXPECT_TRUE(pitch.empty());
}

TEST(IntonationNew, SpreadingValues) {
    std::vector<float> out(10, -1.0f);
    SpreadValues(std::vector<int32_t>{0, 10, 20}, out);
    EXPECT_FLOAT_EQ(out[0], 0.0f);
    EXPECT_FLOAT_EQ(out[5], 10.0f);
    EXPECT_FLOAT_EQ(out[9], 18.0f);
    std::fill(out.begin(), out.end(), -1.0f);
    SpreadValues(std::vector<int32_t>{}, out);
    EXPECT_FLOAT_EQ(out[3], -1.0f);
}

}  // namespace
}  // namespace vox
