// The amplitude profile, the prosodic dataset and the caller's per-word
// steps.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/prosody/AmpProfile.h"
#include "engine/prosody/CallerProsody.h"
#include "engine/prosody/ProsodicDataset.h"
#include "interfaces/SoundDescription.h"
#include "tests/support/CapturedMessages.h"
#include "tests/support/TempRegistry.h"

namespace vox {
namespace {

const std::string kAmpHeader = std::string(kAmpProfileHeader) + "\n";

TEST(AmpProfile, GroupsRulesAndFaults) {
    test::CapturedMessages messages;
    AmpProfile p;
    ASSERT_TRUE(p.LoadText(kAmpHeader + "{Rules\nC-V-C: 80, 100, 90\nDefault:100,100\n"
                                        "C-V-C:70,100\n}\n{Groups\nV: A0, O1,,\nC:M,N,A0\n"
                                        "P:#\n}\n",
                           "Amp.cfg"));
    EXPECT_EQ(*p.GroupOf("A0"), "C");  // named again: the later group
    EXPECT_EQ(p.ContourByNames("M", "O1", "N"), (std::vector<int32_t>{70, 100}));
    EXPECT_EQ(p.ContourByNames("#", "O1", "N"), (std::vector<int32_t>{100, 100}));
    EXPECT_TRUE(p.ContourByNames("X", "O1", "N").empty());  // no group: no shaping
    const std::pair<std::string, std::string> bad[] = {
        {"* Vostrelin Amp Profile - Version 2\n", "Invalid Amp Profile version in Amp.cfg:1"},
        {kAmpHeader + "stray\n", "Syntax error in Amp.cfg:2\r\nstray"},
        {kAmpHeader + "{Groups\nno colon\n}\n", "Syntax error in Amp.cfg:3\r\nno colon"},
        {kAmpHeader + "{Rules\nX:1\n}\n", "Syntax error in Amp.cfg:4\r\nDefault contour not found"},
        {kAmpHeader + "{Groups\nV:A0\n}\n", "Incomplete Amp Profile"},
        {kAmpHeader + std::string(1024, 'x') + "\n", "Line longer than 1023"},
    };
    for (const auto& [text, message] : bad) {
        messages.Clear();
        EXPECT_FALSE(p.LoadText(text, "Amp.cfg")) << text;
        EXPECT_TRUE(messages.Contains("Error", message)) << message;
    }
    messages.Clear();
    EXPECT_FALSE(p.LoadText(kAmpHeader + "{Groups\nV:A0\n", "Amp.cfg"));  // silently
    EXPECT_TRUE(messages.All().empty());
}

TEST(AmpProfile, EnvelopeThroughItsPoints) {
    const std::vector<AmpPoint> points = {{0, 800}, {500, 1000}, {1000, 900}};
    const std::vector<int64_t> at = {0, 250, 500, 750, 999, 1000, 2000};
    std::vector<double> v(at.size());
    EnvelopeAt(points, at, v);
    EXPECT_DOUBLE_EQ(v[0], 800.0);
    // At the middle point, t = 0.5: 800/8 + 3/4 × 1000 + 900/8.
    EXPECT_NEAR(v[2], 962.5, 1e-3);
    EXPECT_NEAR(v[4], 900.0, 1.0);
    EXPECT_DOUBLE_EQ(v[6], 900.0);
    for (double x : v) EXPECT_TRUE(std::isfinite(x));
}

Unit Periodic(int periods, int period, int16_t peak) {
    Unit u{"A0", {}, {}};
    for (int p = 0; p < periods; ++p) {
        u.marks.push_back(p * period);
        for (int j = 0; j < period; ++j)
            u.samples.push_back(static_cast<int16_t>(j == 0 ? peak : peak / 4));
    }
    return u;
}

TEST(AmpProfile, ContoursShapeIntonableUnits) {
    AmpProfile p;
    ASSERT_TRUE(p.LoadText(kAmpHeader + "{Groups\nV:A0\nP:#\nN:S\n}\n{Rules\nP-V-P:50,50,50\n"
                                        "Default:100,100\n}\n",
                           "Amp.cfg"));
    Unit vowel = Periodic(10, 100, 8000);
    AmpUnit units[] = {{&vowel, "A0", "A0", true, false, nullptr}};
    ApplyAmplitudeContours(p, units, false);
    EXPECT_EQ(vowel.samples[0], 4000);  // half its own peak
    EXPECT_EQ(vowel.samples[500], 4000);
    // A unit without a group (and its neighbours) keep their samples; a
    // single value is the flat 100 %.
    Unit other = Periodic(5, 100, 8000), noise{"T", std::vector<int16_t>(300, 1000), {}};
    AmpUnit two[] = {{&other, "A0", "A0", true, false, nullptr},
                     {&noise, "T", "T", false, true, nullptr}};
    ApplyAmplitudeContours(p, two, false);
    EXPECT_EQ(other.samples[0], 8000);
    ASSERT_TRUE(p.LoadText(kAmpHeader + "{Groups\nV:A0\nP:#\n}\n{Rules\nP-V-P:50\n"
                                        "Default:100,100\n}\n",
                           "Amp.cfg"));
    Unit flat = Periodic(5, 100, 8000);
    AmpUnit one[] = {{&flat, "A0", "A0", true, false, nullptr}};
    ApplyAmplitudeContours(p, one, false);
    EXPECT_EQ(flat.samples[0], 8000);
    // Units that do not carry pitch are scaled as a whole to the dataset's peak.
    ProsodicEntry entry{150, 500, 0};
    Unit s{"S", std::vector<int16_t>(300, 1000), {}};
    AmpUnit plain[] = {{&s, "S", "S", false, false, &entry}};
    ApplyAmplitudeContours(p, plain, false);
    EXPECT_EQ(s.samples[10], 500);
}

TEST(ProsodicDataset, LinesAndValues) {
    test::CapturedMessages messages;
    ProsodicDataset d;
    ASSERT_TRUE(d.LoadText(std::string(kProsodicDatasetHeader) +
                               "\n; c\nA0 141 14372 3929\nA0 1 1 1\nM\nK 0 -5\nX 100000 99999\n",
                           "Pros.cfg"));
    EXPECT_EQ(d.Lookup("A0")->frequency, 141);  // the first line of a name stays
    EXPECT_EQ(d.Lookup("M")->frequency, 0);
    EXPECT_EQ(d.Lookup("M")->peak, 0);
    EXPECT_EQ(d.Lookup("K")->peak, 0);
    EXPECT_EQ(d.Lookup("X")->frequency, ProsodicDataset::kMaxFrequency);
    EXPECT_EQ(d.Lookup("X")->peak, 32767);
    EXPECT_TRUE(messages.Contains("Error", "Pros.cfg:7: \"X\""));
    EXPECT_EQ(d.Lookup("none"), nullptr);
    EXPECT_FALSE(d.LoadText("Vostrelin Prosodic Dataset * Version 2\nA0 1 1 1\n", "Pros.cfg"));
    EXPECT_FALSE(d.IsLoaded());
    EXPECT_EQ(d.EntryCount(), 0u);
}

TEST(ProsodicDataset, SamePathIsNotReadAgain) {
    test::TempDir dir;
    const std::string path = dir.File("Pros.cfg");
    test::WriteFile(path, std::string(kProsodicDatasetHeader) + "\nA0 100 1 1\n");
    ProsodicDataset d;
    ASSERT_TRUE(d.Load(path, false));
    test::WriteFile(path, std::string(kProsodicDatasetHeader) + "\nA0 200 1 1\n");
    ASSERT_TRUE(d.Load(path, false));
    EXPECT_EQ(d.Lookup("A0")->frequency, 100);
    ASSERT_TRUE(d.Load(path, true));
    EXPECT_EQ(d.Lookup("A0")->frequency, 200);
}

TEST(ProsodicDataset, LoudnessNormalisation) {
    ProsodicDataset d;
    ASSERT_TRUE(d.LoadText(std::string(kProsodicDatasetHeader) + "\nA0 100 4000\nZ 100 0\n", "P"));
    Unit u{"A0", {8000, -2000, 100}, {}};
    NormaliseLoudness(d, "A0", u);
    EXPECT_EQ(u.samples, (std::vector<int16_t>{4000, -1000, 50}));
    Unit z{"Z", {8000}, {}};
    NormaliseLoudness(d, "Z", z);  // a peak of 0 would silence it: left
    EXPECT_EQ(z.samples[0], 8000);
}

TEST(ProsodicDataset, PitchGlidesBetweenUnits) {
    const ProsodicEntry low{100, 0, 0}, high{200, 0, 0};
    const DatasetUnit units[] = {
        {0, 1000, true, &low}, {1000, 1000, true, &high}, {2000, 500, false, nullptr}};
    std::vector<SynthesisSegment> seg;
    for (int p = 0; p <= 2500; p += 100) seg.push_back({p, 100.0f, 1.0f});
    ApplyDatasetPitch(units, seg);
    EXPECT_FLOAT_EQ(seg[0].pitchPeriod, 220.5f);   // 100 Hz up to the middle
    EXPECT_FLOAT_EQ(seg[10].pitchPeriod, 147.0f);  // the boundary: 150 Hz
    EXPECT_FLOAT_EQ(seg[15].pitchPeriod, 110.25f);
    EXPECT_FLOAT_EQ(seg[19].pitchPeriod, 110.25f);  // the glide's end (one frequency)
    EXPECT_EQ(seg[21].pitchPeriod, 0.0f);           // not intonable: as recorded
    for (const SynthesisSegment& s : seg) EXPECT_EQ(s.timeFactor, 1.0f);
}

const uint64_t kSpaceSd = SdMask(sd::Space);
const uint64_t kPlosive = SdMask(sd::Plosive);
const uint64_t kIntonable = SdMask(sd::Intonable);

TEST(CallerProsody, RatePitchAndVolumePerWord) {
    // Word 0: a plosive and a vowel; word 1: a vowel.
    const std::vector<uint64_t> sds = {0, kPlosive, kIntonable, kSpaceSd, kIntonable, 0};
    const std::vector<UnitSpan> spans = {{"T", 0, 100, 1}, {"A", 100, 100, 2}, {"O", 200, 100, 4}};
    std::vector<SynthesisSegment> seg = {{0, 50, 1}, {100, 50, 1}, {200, 50, 1}, {300, 0, 1}};
    const int8_t rate[] = {-3, 2};
    ApplyCallerRateSteps(sds, spans, {rate, 2}, seg);
    EXPECT_FLOAT_EQ(seg[0].timeFactor, 1.0f);  // a plosive while slowing keeps its length
    EXPECT_FLOAT_EQ(seg[1].timeFactor, static_cast<float>(std::pow(1.1, -3)));
    EXPECT_FLOAT_EQ(seg[2].timeFactor, static_cast<float>(std::pow(1.1, 2)));
    const int8_t pitch[] = {0, 1};
    ApplyCallerPitchSteps(sds, spans, {pitch, 2}, seg);
    EXPECT_FLOAT_EQ(seg[1].pitchPeriod, 50.0f);
    EXPECT_FLOAT_EQ(seg[2].pitchPeriod, 50.0f / 1.03f);
    std::vector<int16_t> signal(300, 30000);
    const int8_t volume[] = {100};  // shorter than the words: held
    ApplyCallerVolumeSteps(sds, spans, {volume, 1}, signal);
    EXPECT_EQ(signal[250], 30000);
    const int8_t loud[] = {0, 127};
    ApplyCallerVolumeSteps(sds, spans, {loud, 2}, signal);
    EXPECT_EQ(signal[50], 0);       // step 0 silences the word
    EXPECT_EQ(signal[250], 32767);  // saturated, not wrapped
}

}  // namespace
}  // namespace vox
