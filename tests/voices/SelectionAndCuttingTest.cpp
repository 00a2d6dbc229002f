// Instance selection and unit cutting on hand-made instances and signals.
#include <gtest/gtest.h>

#include <cmath>
#include <utility>

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

TEST(InstanceSelectorTest, PrefersTypicalEdgesNoEdgeSilenceAndTheNamesOwnPhrasePosition) {
    std::vector<Instance> all;
    for (int u = 0; u < 4; ++u) {
        all.push_back(Make("L'-I0", u, 1, 0.07, SoundClass::Sonorant));
        all.back().startBands.assign(20, 40.0f);
        all.back().endBands.assign(20, 40.0f);
    }
    all[0].leadingQuiet = 0.015f;  // starts with 15 ms of near-silence
    all[1].endBands[19] = 75.0f;   // the next sound's hiss at its end
    all[2].beforePause = true;     // a phrase-final one, where the name is not
    EXPECT_EQ(Chosen(all, 4).at("L'-I0"), 3);
    // Where the name mostly ends a phrase, its phrase-final instances win.
    for (Instance& in : all) in.beforePause = true;
    all[3].beforePause = false;
    EXPECT_NE(Chosen(all, 4).at("L'-I0"), 3);
    // A stop's closure is its sound, not a gap.
    std::vector<Instance> stops = {Make("K", 0, 1, 0.08, SoundClass::VoicelessStop),
                                   Make("K", 1, 1, 0.08, SoundClass::VoicelessStop)};
    stops[0].leadingQuiet = 0.05f;
    stops[1].alignCost = 0.1f;
    EXPECT_EQ(Chosen(stops, 2).at("K"), 0);
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

TEST(InstanceSelectorTest, CutVariantsAreWeighedLikeInstancesAndPairsMeetAtOneCut) {
    std::vector<Instance> all = {Make("B-A0", 0, 1, 0.08, SoundClass::VoicedObstruent),
                                 Make("A0-B", 0, 2, 0.12), Make("S", 1, 1, 0.1)};
    all[0].startBands = all[0].endBands = {1.0f, 2.0f};
    all[0].insideStartBands = {3.0f, 4.0f};
    all[0].insideEndBands = {5.0f, 6.0f};
    all[1].startBands = all[1].endBands = {1.0f, 2.0f};
    all[1].insideStartBands = {7.0f, 8.0f};
    const std::vector<Instance> options = WithCutVariants(all);
    ASSERT_EQ(options.size(), 3u + 3u + 1u) << "three variants of B-A0, one of A0-B, none of S";
    for (size_t i = 0; i < 3; ++i) EXPECT_EQ(options[i].primary, -1);
    EXPECT_EQ(options[3].primary, 0);
    EXPECT_EQ(options[3].startSide, CutSide::Inside);
    EXPECT_EQ(options[3].endSide, CutSide::Nearest);
    EXPECT_EQ(options[3].startBands, (std::vector<float>{3.0f, 4.0f}));
    EXPECT_EQ(options[5].startSide, CutSide::Inside);
    EXPECT_EQ(options[5].endSide, CutSide::Inside);
    EXPECT_EQ(options[5].endBands, (std::vector<float>{5.0f, 6.0f}));
    EXPECT_EQ(options[6].primary, 1);
    EXPECT_EQ(options[6].startBands, (std::vector<float>{7.0f, 8.0f}));

    // The pair's own boundary: the consonant's end and the vowel's start
    // keep the cut they share.
    for (const NameChoice& c : SelectInstances(options, Utterances(all, 2))) {
        EXPECT_EQ(c.candidates, 1u) << c.name << ": recorded instances are counted";
        const Instance& chosen = options[size_t(c.instance)];
        if (c.name == "B-A0") {
            EXPECT_EQ(chosen.endSide, CutSide::Nearest);
        }
        if (c.name == "A0-B") {
            EXPECT_EQ(chosen.startSide, CutSide::Nearest);
        }
    }
}

// Voiced speech: every pulse starts a damped oscillation that swings
// negative first, so a period starts at the last rising crossing of the
// previous period's tail, a few samples before the pulse.
std::vector<int16_t> Voiced(size_t length, const std::vector<long>& pulses) {
    std::vector<double> x(length, 0.0);
    for (long p : pulses)
        for (size_t n = size_t(p); n < length; ++n)
            x[n] -= 8000.0 * std::exp(-double(n - size_t(p)) / 30.0) *
                    std::sin(2.0 * 3.14159265358979 * double(n - size_t(p)) / 23.0);
    std::vector<int16_t> out;
    for (double v : x) out.push_back(int16_t(std::lround(v)));
    return out;
}

bool RisingAt(const std::vector<int16_t>& audio, long k) {
    return k > 0 && audio[size_t(k - 1)] < 0 && audio[size_t(k)] >= 0;
}

TEST(UnitCutterTest, VoicedBoundariesAreCutAtThePeriodStartBeforeThePulse) {
    const std::vector<long> pulses = {400, 500, 600, 700, 800};
    const std::vector<int16_t> audio = Voiced(1200, pulses);
    const int rate = 22050;
    auto cut = [&](long sample) {
        return FindCut(audio, pulses, rate, double(sample) / rate, 100.0);
    };
    for (auto [boundary, pulse] : {std::pair{530L, 500L}, {620L, 600L}, {880L, 900L}}) {
        const CutPlace c = cut(boundary);
        EXPECT_EQ(c.kind, CutKind::PeriodStart) << boundary;
        EXPECT_TRUE(RisingAt(audio, c.sample)) << boundary << " cut at " << c.sample;
        EXPECT_LE(c.sample, pulse) << boundary << ": before the excitation";
        EXPECT_GT(c.sample, pulse - 50) << boundary << ": within half a period of it";
    }
    // Every period is cut at the same phase.
    EXPECT_EQ(cut(600).sample - cut(500).sample, 100);

    // Cut inside the sound: an end at the last pulse before the boundary, a
    // start at the first after it, where the nearest lies beyond it.
    auto inside = [&](long sample, bool isStart) {
        return FindCut(audio, pulses, rate, double(sample) / rate, 100.0, CutSide::Inside, isStart);
    };
    EXPECT_EQ(cut(560).sample, cut(600).sample) << "the nearest pulse lies after";
    EXPECT_EQ(inside(560, false).sample, cut(500).sample);
    EXPECT_EQ(cut(520).sample, cut(500).sample) << "the nearest pulse lies before";
    EXPECT_EQ(inside(520, true).sample, cut(600).sample);
    EXPECT_EQ(inside(530, false).sample, cut(530).sample) << "the same when the nearest is inside";
    EXPECT_EQ(inside(1100, false).sample, cut(1100).sample) << "no pulse inside within a period";
    EXPECT_EQ(inside(580, false).sample, cut(580).sample) << "one that far from the boundary";

    // A unit between two boundaries: edges at 0, marks at its period starts.
    Instance vowel = Make("A0-B", 0, 1, 0.0);
    vowel.start = 505.0 / rate;
    vowel.end = 790.0 / rate;
    vowel.intonable = true;
    vowel.f0 = float(rate / 100.0);
    CutUnit v = CutInstance(audio, pulses, rate, vowel, 100.0);
    ASSERT_EQ(v.unit.samples.size(), 300u) << "three whole periods";
    EXPECT_GE(v.unit.samples.front(), 0) << "starts just above zero …";
    EXPECT_LE(v.unit.samples.back(), 0) << "… and ends just below it";
    EXPECT_EQ(v.unit.samples[150], audio[size_t(cut(505).sample) + 150]) << "eased at the edges only";
    EXPECT_LT(audio[size_t(cut(505).sample) + 300 - 2], 0) << "the waveform comes up to the end";
    EXPECT_EQ(v.unit.marks, (std::vector<int32_t>{0, 100, 200}));
    EXPECT_EQ(v.startKind, CutKind::PeriodStart);
    EXPECT_EQ(v.edgesWithoutCrossing, 0);
    // Each edge within a period of the label boundary it refines.
    const double startCut = double(cut(505).sample), endCut = startCut + 300.0;
    EXPECT_NEAR(v.startShift, std::abs(startCut - 505.0) / 100.0, 1e-9);
    EXPECT_NEAR(v.endShift, std::abs(endCut - 790.0) / 100.0, 1e-9);
    EXPECT_LE(std::max(v.startShift, v.endShift), 1.0);
}

TEST(UnitCutterTest, UnvoicedBoundariesTakeAQuietRisingCrossing) {
    // Noise whose loudness dips to nearly nothing around sample 1000.
    std::vector<int16_t> audio(2000);
    uint32_t r = 12345;
    for (size_t i = 0; i < audio.size(); ++i) {
        r = r * 1664525u + 1013904223u;
        const double level = 20.0 + 3000.0 * std::min(1.0, std::abs(double(i) - 1000.0) / 40.0);
        audio[i] = int16_t(level * (double(r >> 8) / double(1u << 24) - 0.5));
    }
    const CutPlace c = FindCut(audio, {}, 22050, 1040.0 / 22050, 100.0);
    EXPECT_EQ(c.kind, CutKind::LowAmplitude);
    EXPECT_TRUE(RisingAt(audio, c.sample));
    EXPECT_LT(std::abs(c.sample - 1000), 25) << "the quiet stretch, not the boundary itself";
    EXPECT_EQ(CutPoint(audio, {}, 22050, 1040.0 / 22050, 100.0), c.sample)
        << "both neighbours of the boundary";

    Instance s = Make("S", 0, 2, 0.0, SoundClass::VoicelessFricative);
    s.start = 1040.0 / 22050;
    s.end = 1800.0 / 22050;
    CutUnit f = CutInstance(audio, {}, 22050, s, 150.0);
    EXPECT_EQ(f.unit.marks, EvenMarks(f.unit.samples.size()));
    EXPECT_GE(f.unit.samples.front(), 0);
    EXPECT_LE(f.unit.samples.back(), 0);

    EXPECT_EQ(EvenMarks(0), std::vector<int32_t>{});
    EXPECT_EQ(EvenMarks(100), std::vector<int32_t>{0});
    EXPECT_EQ(EvenMarks(300), (std::vector<int32_t>{0, 150}));
}

TEST(UnitCutterTest, BadInputIsKeptWithTheBestCutAndFlagged) {
    Instance in = Make("A0", 0, 1, 0.0);
    in.start = 1000.0 / 22050;
    in.end = 1500.0 / 22050;
    const std::vector<int16_t> silence(3000, 0);
    CutUnit quiet = CutInstance(silence, {}, 22050, in, 150.0);
    EXPECT_EQ(quiet.unit.samples.size(), 500u);
    EXPECT_TRUE(quiet.silent);

    std::vector<int16_t> clipped(3000);
    for (size_t i = 0; i < clipped.size(); ++i) clipped[i] = (i / 40) % 2 ? 32767 : -32768;
    CutUnit loud = CutInstance(clipped, {}, 22050, in, 150.0);
    EXPECT_TRUE(loud.clipped);
    EXPECT_FALSE(loud.unit.samples.empty());

    // Too short to hold two crossings in order: cut at the label times.
    const std::vector<long> pulses = {400, 500, 600};
    const std::vector<int16_t> audio = Voiced(1000, pulses);
    Instance tiny = Make("A0", 0, 1, 0.0);
    tiny.start = 495.0 / 22050;
    tiny.end = 510.0 / 22050;
    CutUnit t = CutInstance(audio, pulses, 22050, tiny, 100.0);
    EXPECT_TRUE(t.tooShort);
    EXPECT_EQ(t.unit.samples.size(), 15u);
}

}  // namespace
}  // namespace vox::voicebuild
