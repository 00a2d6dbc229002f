// The pieces of the phrase pipeline on their own: pauses and phrase types,
// gemination, even marks, join smoothing, segments.
#include <gtest/gtest.h>

#include <numeric>

#include "engine/synthesis/Concatenation.h"
#include "engine/synthesis/Gemination.h"
#include "engine/synthesis/JoinSmoothing.h"
#include "engine/synthesis/Pauses.h"
#include "engine/synthesis/SynthesisSegments.h"
#include "engine/synthesis/UnitBuilder.h"
#include "interfaces/SoundDescription.h"
#include "tests/engine/fakes/TestEngine.h"

namespace vox {
namespace {

using test::NoiseUnit;
using test::VoicedUnit;

constexpr uint64_t kIntonable = SdMask(sd::Intonable);
constexpr uint64_t kConsonant = SdMask(sd::Consonant);

Unit Flat(const std::string& name, size_t length, int16_t value, std::vector<int32_t> marks = {}) {
    return Unit{name, std::vector<int16_t>(length, value), std::move(marks)};
}

TEST(Pauses, LengthFollowsDurationUnitAndFactor) {
    VoiceProperties props;
    EXPECT_EQ(PauseLength(props, "(.)"), 9922);    // trunc(150 × 3.0 × 22.049999…)
    EXPECT_EQ(PauseLength(props, "(..)"), 11576);  // trunc(150 × 3.5 × 22.049999…)
    EXPECT_EQ(PauseLength(props, "(W)"), 0);
    EXPECT_EQ(PauseLength(props, "(unknown)"), 0);
    props.durationUnit = 100;
    props.pauses["(,)"] = 0.5;
    EXPECT_EQ(PauseLength(props, "(,)"), 1102);
    props.durationUnit = -150;  // nonsense settings give no pause, not a negative one
    EXPECT_EQ(PauseLength(props, "(.)"), 0);
    props.durationUnit = INT32_MAX;
    EXPECT_EQ(PauseLength(props, "(.)"), kMaxPauseLength);
}

TEST(Pauses, PhraseTypeBitGoesIntoEveryDescription) {
    const std::pair<const char*, sd::Bit> cases[] = {{"(?)", sd::Type2},
                                                     {"(!)", sd::Type3},
                                                     {"(..)", sd::Type1},
                                                     {"(X)", sd::Type1},
                                                     {"", sd::Type1}};
    for (auto [mark, bit] : cases) {
        std::vector<uint64_t> sds = {1, 2, 4};
        AddPhraseType(sds, mark);
        for (uint64_t sd : sds) EXPECT_TRUE(HasBit(sd, bit)) << mark;
        EXPECT_EQ(sds[1] & ~SdMask(bit), 2u);
    }
}

TEST(Pauses, NoiseStaysInItsRangeAndIsFaded) {
    VoiceProperties props;
    NoiseGenerator noise;
    EXPECT_EQ(MakePause(500, props, noise), std::vector<int16_t>(500, 0));  // NoiseFill off
    props.noiseFill = true;
    props.noiseLevel = 20;
    std::vector<int16_t> pause = MakePause(500, props, noise);
    EXPECT_EQ(pause.front(), 0);
    EXPECT_EQ(pause.back(), 0);
    bool varied = false;
    for (size_t i = 100; i < 400; ++i) {
        EXPECT_GE(pause[i], -10);
        EXPECT_LE(pause[i], 9);
        varied |= pause[i] != pause[100];
    }
    EXPECT_TRUE(varied);
    props.noiseLevel = 0;  // the formula would divide by zero: silence instead
    EXPECT_EQ(MakePause(300, props, noise), std::vector<int16_t>(300, 0));
    props.noiseLevel = 1 << 30;  // far beyond 16 bits: saturates, never wraps
    for (int16_t s : MakePause(1000, props, noise)) EXPECT_TRUE(s <= 32767 && s >= -32768);
}

TEST(Gemination, VoicelessPairKeepsSixtyFivePercentEach) {
    const uint64_t voiceless = kConsonant | SdMask(sd::Voiceless);
    Unit first = NoiseUnit("S", 1000);
    const Unit original = first;
    CutGeminate(first, voiceless | SdMask(sd::SamePhoneme1), false);
    ASSERT_EQ(first.samples.size(), 650u);
    EXPECT_TRUE(std::equal(first.samples.begin(), first.samples.end(), original.samples.begin()));
    EXPECT_EQ(first.marks, (std::vector<int32_t>{0, 100, 200, 300, 400, 500, 600}));

    Unit second = original;
    CutGeminate(second, voiceless | SdMask(sd::SamePhoneme2), false);
    ASSERT_EQ(second.samples.size(), 650u);
    EXPECT_TRUE(
        std::equal(second.samples.begin(), second.samples.end(), original.samples.begin() + 350));
}

TEST(Gemination, VoicedUnitsAreCutAtPitchMarks) {
    const uint64_t voiced = kConsonant;
    Unit first = VoicedUnit("M", 10, 100);  // marks 0, 100, … 900
    CutGeminate(first, voiced | SdMask(sd::SamePhoneme1), false);
    EXPECT_EQ(first.samples.size(), 700u);  // first mark ≥ 650 is 700
    EXPECT_EQ(first.marks.back(), 600);

    Unit withMaxCut = VoicedUnit("M", 10, 100);
    CutGeminate(withMaxCut, voiced | SdMask(sd::SamePhoneme1), true);
    EXPECT_EQ(withMaxCut.samples.size(), 700u);
    EXPECT_EQ(withMaxCut.marks.back(), 700);  // the mark at the cut stays

    Unit second = VoicedUnit("M", 10, 100);
    CutGeminate(second, voiced | SdMask(sd::SamePhoneme2), false);
    EXPECT_EQ(second.samples.size(), 600u);  // samples before mark 400 dropped
    EXPECT_EQ(second.marks, (std::vector<int32_t>{0, 100, 200, 300, 400, 500}));

    Unit noMarks = Flat("M", 1000, 5);
    CutGeminate(noMarks, voiced | SdMask(sd::SamePhoneme1), false);
    EXPECT_EQ(noMarks.samples.size(), 1000u);  // no mark reaches the threshold
}

TEST(UnitMarks, EvenMarksAndUsableMarks) {
    Unit u = Flat("S", 300, 1);
    SetEvenMarks(u);
    EXPECT_EQ(u.marks, (std::vector<int32_t>{0, 150}));
    u = Flat("S", 100, 1);  // shorter than one 150-Hz period: one mark
    SetEvenMarks(u);
    EXPECT_EQ(u.marks, (std::vector<int32_t>{0}));

    u = Flat("A", 100, 1, {-5, 0, 40, 30, 40, 100, 101, INT32_MAX});
    KeepUsableMarks(u);
    EXPECT_EQ(u.marks, (std::vector<int32_t>{0, 40, 40, 100}));
}

TEST(JoinSmoothing, LouderSideComesDownToTheQuieterOne) {
    std::vector<Unit> units = {Flat("A", 300, 1000), Flat("B", 300, 250)};
    const uint64_t sds[] = {kIntonable, kIntonable};
    const int32_t voiced[] = {0, 1};
    SmoothJoins(units, sds, voiced, false);
    EXPECT_EQ(units[0].samples.back(), 250);         // gain fb/la at the join
    EXPECT_EQ(units[0].samples[300 - 1 - 75], 625);  // halfway back to full level
    EXPECT_EQ(units[0].samples[100], 1000);          // beyond 150 samples untouched
    EXPECT_EQ(units[1].samples, std::vector<int16_t>(300, 250));
}

TEST(JoinSmoothing, MaxCutMeetsAtTheMeanAndSaturates) {
    std::vector<Unit> units = {Flat("A", 200, 128), Flat("B", 200, -32768)};
    units[0].samples[60] = 30000;  // 139 samples before the end: gain about 10
    const uint64_t sds[] = {kIntonable, kIntonable};
    const int32_t voiced[] = {0, 1};
    SmoothJoins(units, sds, voiced, true);
    EXPECT_EQ(units[0].samples.back(), 16448);  // (128 + 32768) / 2
    EXPECT_EQ(units[1].samples.front(), -16448);
    EXPECT_EQ(units[0].samples[60], 32767);  // saturated, not wrapped

    // A silent edge cannot be met at the mean: the louder side comes down.
    std::vector<Unit> silent = {Flat("A", 200, 0), Flat("B", 200, 800)};
    SmoothJoins(silent, sds, voiced, true);
    EXPECT_EQ(silent[1].samples.front(), 0);
    EXPECT_EQ(silent[1].samples[199], 800);
}

TEST(JoinSmoothing, MirroredHalvesAreLeftAlone) {
    EXPECT_TRUE(IsMirroredPair("A-B", "B-A"));
    EXPECT_FALSE(IsMirroredPair("A-B", "A-B"));
    EXPECT_FALSE(IsMirroredPair("AB", "AB"));
    std::vector<Unit> units = {Flat("A-B", 200, 1000), Flat("B-A", 200, 10)};
    const uint64_t sds[] = {kIntonable, kIntonable};
    const int32_t voiced[] = {0, 1};
    SmoothJoins(units, sds, voiced, false);
    EXPECT_EQ(units[0].samples.back(), 1000);
}

TEST(Segments, OneSegmentPerMarkClosedAtTheEnd) {
    std::vector<Unit> units = {Unit{}, Flat("A", 300, 1, {0, 100, 200, 300}),
                               Flat("S", 200, 1, {0, 147})};
    const int32_t voiced[] = {1, 2};
    const std::string names[] = {"#", "A", "S"};
    std::vector<int16_t> signal;
    std::vector<UnitSpan> spans;
    Concatenate(units, voiced, names, signal, spans);
    ASSERT_EQ(signal.size(), 500u);
    ASSERT_EQ(spans.size(), 2u);
    EXPECT_EQ(spans[1].start, 300);
    EXPECT_EQ(spans[1].unitIndex, 2);

    // Mark 300 of "A" coincides with mark 0 of "S": one segment remains.
    std::vector<SynthesisSegment> segs = MakeSegments(units, spans, signal.size(), false);
    std::vector<int32_t> positions;
    for (const auto& s : segs) positions.push_back(s.position);
    EXPECT_EQ(positions, (std::vector<int32_t>{0, 100, 200, 300, 447, 500}));
    EXPECT_EQ(segs[3].pitchPeriod, 147.0f);
    EXPECT_EQ(segs.back().pitchPeriod, 0.0f);

    segs = MakeSegments(units, spans, signal.size(), true);  // without each unit's last mark
    positions.clear();
    for (const auto& s : segs) positions.push_back(s.position);
    EXPECT_EQ(positions, (std::vector<int32_t>{0, 100, 200, 300, 500}));

    const float factors[] = {1.0f, 2.0f, 0.5f};
    SetSpanTimeFactors(factors, spans, segs);
    EXPECT_EQ(segs[0].timeFactor, 2.0f);
    EXPECT_EQ(segs[3].timeFactor, 0.5f);
    EXPECT_EQ(segs[4].timeFactor, 1.0f);  // the closing segment lies in no span

    EXPECT_EQ(PhonemeSizes(4, spans), (std::vector<int32_t>{0, 300, 200, 0}));
}

}  // namespace
}  // namespace vox
