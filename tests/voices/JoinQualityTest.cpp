// Join measures on hand-made phrases: a jump of sign clicks, a fade to nothing
// dips, a join through zero does neither; the spectra and the natural reference.
#include <gtest/gtest.h>

#include <cmath>

#include "tools/voicebuild/JoinQuality.h"
#include "tools/voicebuild/Spectrum.h"

namespace vox::voicebuild {
namespace {

constexpr double kPi = 3.14159265358979;

// A voiced-like tone (150 Hz with harmonics) over faint noise.
std::vector<int16_t> Tone(size_t length, double phase, uint32_t seed) {
    std::vector<int16_t> out;
    for (size_t i = 0; i < length; ++i) {
        seed = seed * 1664525u + 1013904223u;
        const double t = 2.0 * kPi * 150.0 * double(i) / 22050.0 + phase;
        const double v = 6000.0 * std::sin(t) + 2000.0 * std::sin(2 * t) + 800.0 * std::sin(3 * t) +
                         40.0 * (double(seed >> 8) / double(1u << 24) - 0.5);
        out.push_back(int16_t(std::lround(v)));
    }
    return out;
}

RenderedPhrase Phrase(const std::vector<std::vector<int16_t>>& parts) {
    RenderedPhrase p;
    for (size_t k = 0; k < parts.size(); ++k) {
        p.units.push_back({"U" + std::to_string(k), k % 2 ? "A0" : "M", false,
                           long(p.signal.size()), long(parts[k].size())});
        p.signal.insert(p.signal.end(), parts[k].begin(), parts[k].end());
    }
    return p;
}

TEST(JoinQualityTest, AJumpOfSignClicksAJoinThroughZeroDoesNot) {
    // 147 samples = one period of 150 Hz: a unit of whole periods ends
    // where the next one begins.
    const auto whole = Tone(147 * 8, 0.0, 1);
    const auto smooth = MeasureJoins(Phrase({whole, whole, whole}));
    ASSERT_EQ(smooth.size(), 2u);
    for (const JoinMeasure& j : smooth) {
        EXPECT_LT(j.burstDb, kClickDb);
        EXPECT_GT(j.dipDb, kDipDb);
        EXPECT_EQ(j.pair, j.left == "U0" ? "M|A0" : "A0|M");
    }
    const auto broken = Tone(147 * 8 + 60, 0.0, 2);  // stops in mid-period
    const auto joins = MeasureJoins(Phrase({whole, broken, Tone(147 * 8, kPi, 3)}));
    ASSERT_EQ(joins.size(), 2u);
    EXPECT_GT(joins[1].burstDb, kSpikeDb) << "a jump of sign at the second join";

    const JoinFigures f = SummariseJoins(joins, 1, {{"A0|M", 3.0}}, 1);
    EXPECT_EQ(f.joins, 2u);
    EXPECT_EQ(f.clicks, 1u);
    EXPECT_EQ(f.spikes, 1u);
    ASSERT_EQ(f.worst.size(), 1u);
    EXPECT_EQ(f.worst[0].left, "U1");
    EXPECT_DOUBLE_EQ(f.naturalMedian, 3.0);
    EXPECT_EQ(f.pairsWithReference, 1u);
    // By kind: the vowel-to-consonant join has the reference, the other not.
    ASSERT_EQ(f.kinds.size(), 2u);
    EXPECT_EQ(f.kinds[0].kind, "consonant|vowel");
    EXPECT_DOUBLE_EQ(f.kinds[0].median, joins[0].distance);
    EXPECT_EQ(f.kinds[0].naturalMedian, -1.0);
    EXPECT_EQ(f.kinds[1].kind, "vowel|consonant");
    EXPECT_EQ(f.kinds[1].joins, 1u);
    EXPECT_DOUBLE_EQ(f.kinds[1].median, joins[1].distance);
    EXPECT_DOUBLE_EQ(f.kinds[1].naturalMedian, 3.0);
}

TEST(JoinQualityTest, JoinKindsNameBothSides) {
    EXPECT_EQ(JoinKind("A0|K"), "vowel|consonant");
    EXPECT_EQ(JoinKind("S'|T'"), "consonant|consonant");
    EXPECT_EQ(JoinKind("Y2|U0"), "vowel|vowel");
    EXPECT_EQ(JoinKind("J'|A1"), "consonant|vowel");
}

TEST(JoinQualityTest, AFadeToNothingAtTheJoinDips) {
    auto ending = Tone(147 * 8, 0.0, 4), starting = Tone(147 * 8, 0.0, 5);
    std::fill(ending.end() - 40, ending.end(), int16_t(0));
    std::fill(starting.begin(), starting.begin() + 40, int16_t(0));
    const auto joins = MeasureJoins(Phrase({ending, starting}));
    ASSERT_EQ(joins.size(), 1u);
    EXPECT_LT(joins[0].dipDb, kDipDb);

    // Joins beside a pause are not measured.
    RenderedPhrase p = Phrase({Tone(500, 0, 6), std::vector<int16_t>(500, 0), Tone(500, 0, 7)});
    p.units[1].pause = true;
    EXPECT_TRUE(MeasureJoins(p).empty());
}

TEST(JoinQualityTest, SpectraAndTheNaturalReference) {
    std::vector<float> low, high;
    for (int i = 0; i < 256; ++i) {
        low.push_back(float(std::sin(2 * kPi * 500.0 * i / 22050.0)));
        high.push_back(float(std::sin(2 * kPi * 3000.0 * i / 22050.0)));
    }
    const auto a = BandLevels(low, 22050), b = BandLevels(high, 22050);
    ASSERT_EQ(a.size(), size_t(kSpectrumBands));
    EXPECT_DOUBLE_EQ(SpectralDistance(a, a), 0.0);
    EXPECT_GT(SpectralDistance(a, b), 12.0);
    // The same sound at 16 kHz lands in the same bands.
    std::vector<float> low16;
    for (int i = 0; i < 186; ++i) low16.push_back(float(std::sin(2 * kPi * 500.0 * i / 16000.0)));
    EXPECT_LT(SpectralDistance(a, BandLevels(low16, 16000)), 6.0);

    const std::string section =
        NaturalDistanceSection({{"A0|K", {4.0f, 5.0f, 6.0f}}, {"M|A0", {2.5f}}});
    const NaturalDistances read = ReadNaturalDistances("report\n\n" + section + "\ntrailing");
    ASSERT_EQ(read.size(), 2u);
    EXPECT_DOUBLE_EQ(read.at("A0|K"), 5.0);
    EXPECT_DOUBLE_EQ(read.at("M|A0"), 2.5);
    EXPECT_TRUE(ReadNaturalDistances("no such section\n").empty());
}

}  // namespace
}  // namespace vox::voicebuild
