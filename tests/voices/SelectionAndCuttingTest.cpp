// Instance selection and unit cutting on hand-made instances and signals.
#include <gtest/gtest.h>

#include "tools/voicebuild/InstanceSelector.h"
#include "tools/voicebuild/UnitCutter.h"

namespace vox::voicebuild {
namespace {

Instance Make(const std::string& name, int utterance, int position, double seconds,
              SoundClass cls = SoundClass::StressedVowel) {
    Instance in;
    in.name = name;
    in.cls = cls;
    in.utterance = utterance;
    in.position = position;
    in.start = 1.0;
    in.end = 1.0 + seconds;
    in.f0 = 140.0f;
    in.voicedShare = 1.0f;
    return in;
}

// Utterances whose instanceOf maps positions to the given instances.
std::vector<PreparedUtterance> Utterances(const std::vector<Instance>& all, int count) {
    std::vector<PreparedUtterance> u(static_cast<size_t>(count));
    for (size_t i = 0; i < all.size(); ++i) {
        auto& of = u[size_t(all[i].utterance)].instanceOf;
        if (of.size() <= size_t(all[i].position)) of.resize(size_t(all[i].position) + 1, -1);
        of[size_t(all[i].position)] = int(i);
    }
    return u;
}

std::map<std::string, int> Chosen(const std::vector<Instance>& all, int utterances) {
    std::map<std::string, int> out;
    for (const NameChoice& c : SelectInstances(all, Utterances(all, utterances)))
        out[c.name] = c.instance;
    return out;
}

TEST(InstanceSelectorTest, PrefersAgreeingLabelsTypicalLengthsAndNonFinalStress) {
    std::vector<Instance> all = {Make("A0-B", 0, 1, 0.12), Make("A0-B", 1, 1, 0.12),
                                 Make("A0-B", 2, 1, 0.12), Make("A0-B", 3, 1, 0.12)};
    all[0].labelAgrees = false;
    all[1].inFinalWord = true;
    all[3].atAlignerMinimum = true;
    EXPECT_EQ(Chosen(all, 4).at("A0-B"), 2);
    // A length far from the name's median costs more than a squeezed label.
    all.push_back(Make("A0-B", 4, 1, 0.12));
    all[2].end = all[2].start + 0.30;
    EXPECT_EQ(Chosen(all, 5).at("A0-B"), 4);
}

TEST(InstanceSelectorTest, AShortInstanceIsTheLastResortAndAnEmptyOneNone) {
    std::vector<Instance> all = {Make("G'", 0, 1, 0.008, SoundClass::VoicedObstruent),
                                 Make("X'", 1, 1, 0.0, SoundClass::VoicelessFricative),
                                 Make("K'", 2, 1, 0.006), Make("K'", 3, 1, 0.05)};
    all[3].labelAgrees = false;
    std::map<std::string, int> chosen = Chosen(all, 4);
    EXPECT_EQ(chosen.at("G'"), 0);
    EXPECT_EQ(chosen.count("X'"), 0u);
    EXPECT_EQ(chosen.at("K'"), 3);
}

TEST(InstanceSelectorTest, AConsonantAndItsMirrorVowelComeFromOneToken) {
    EXPECT_EQ(MirrorName("B-A0"), "A0-B");
    EXPECT_EQ(MirrorName("T-L'"), "L'-T");
    EXPECT_EQ(MirrorName("S"), "");
    // Token 1 has the better vowel, token 0 the far better consonant.
    std::vector<Instance> all = {
        Make("B-A0", 0, 1, 0.08, SoundClass::VoicedObstruent), Make("A0-B", 0, 2, 0.12),
        Make("B-A0", 1, 1, 0.08, SoundClass::VoicedObstruent), Make("A0-B", 1, 2, 0.12)};
    all[1].atAlignerMinimum = true;
    all[2].labelAgrees = false;
    std::map<std::string, int> chosen = Chosen(all, 2);
    EXPECT_EQ(chosen.at("B-A0"), 0);
    EXPECT_EQ(chosen.at("A0-B"), 1) << "the vowel of the same token";
    // A vowel followed by its mirror consonant ("A0-B" then "B-A0") is no pair.
    std::vector<Instance> vc = {Make("A0-B", 0, 1, 0.12),
                                Make("B-A0", 0, 2, 0.08, SoundClass::VoicedObstruent),
                                Make("A0-B", 1, 1, 0.12)};
    vc[0].labelAgrees = false;
    EXPECT_EQ(Chosen(vc, 2).at("A0-B"), 2);
}

TEST(UnitCutterTest, CutsOnMarksOrZeroCrossingsTheSameForBothNeighbours) {
    // A slow square wave: zero crossings every 50 samples, starting at 25.
    std::vector<int16_t> audio(2000);
    for (size_t i = 0; i < audio.size(); ++i) audio[i] = ((i + 25) / 50) % 2 ? 1000 : -1000;
    const std::vector<long> marks = {400, 500, 600, 700};
    const int rate = 22050;
    auto cut = [&](long sample) {
        return CutPoint(audio, marks, rate, double(sample) / rate, 100.0);
    };
    EXPECT_EQ(cut(530), 500) << "the nearest mark";
    EXPECT_EQ(cut(350), 400) << "the first pulse up to a period later";
    EXPECT_EQ(cut(290), 275) << "no mark near: the nearest zero crossing";
    EXPECT_EQ(cut(780), 800) << "voicing ends: where its next period would start";
    EXPECT_EQ(cut(990), 975) << "the nearest crossing within 1 ms";
    EXPECT_EQ(cut(1000), 1000) << "none within 1 ms: the boundary itself";
}

TEST(UnitCutterTest, IntonableUnitsKeepTheirMarksOthersGetEvenOnes) {
    std::vector<int16_t> audio(3000, 0);
    for (size_t i = 0; i < audio.size(); ++i) audio[i] = int16_t(i % 2 ? 500 : -500);
    const std::vector<long> marks = {1000, 1150, 1300, 1450, 2050};
    Instance vowel = Make("A0-B", 0, 1, 0.0);
    vowel.start = 1000.0 / 22050;
    vowel.end = 2200.0 / 22050;
    vowel.intonable = true;
    vowel.f0 = float(22050.0 / 150.0);
    CutUnit v = CutInstance(audio, marks, 22050, vowel, 150.0);
    EXPECT_EQ(v.unit.samples.size(), 1200u) << "from the mark at 1000 to the period end at 2200";
    EXPECT_EQ(v.unit.marks, (std::vector<int32_t>{0, 150, 300, 450, 600, 750, 900, 1050}))
        << "the gap from 1450 to 2050 filled";
    EXPECT_NEAR(v.f0, 147.0, 0.5);
    EXPECT_EQ(v.peak, 500);

    EXPECT_EQ(EvenMarks(0), std::vector<int32_t>{});
    EXPECT_EQ(EvenMarks(100), std::vector<int32_t>{0});
    EXPECT_EQ(EvenMarks(300), (std::vector<int32_t>{0, 150}));
    Instance s = Make("S", 0, 2, 0.0, SoundClass::VoicelessFricative);
    s.start = 2200.0 / 22050;
    s.end = 2900.0 / 22050;
    CutUnit f = CutInstance(audio, marks, 22050, s, 150.0);
    EXPECT_EQ(f.unit.samples.size(), 700u) << "starts where the vowel ends";
    EXPECT_EQ(f.unit.marks, EvenMarks(700));
}

}  // namespace
}  // namespace vox::voicebuild
