// The attribute conditions and the rhythmics rule file: contexts at the
// phrase's ends, condition lines, rule classes, coefficients and the
// loader's faults.
#include <gtest/gtest.h>

#include "engine/prosody/AttributeConditions.h"
#include "engine/prosody/RhythmicsModel.h"
#include "interfaces/SoundDescription.h"
#include "tests/support/CapturedMessages.h"
#include "tests/support/TempRegistry.h"

namespace vox {
namespace {

constexpr uint64_t M(sd::Bit b) {
    return SdMask(b);
}
const uint64_t kVowel = M(sd::Any) | M(sd::Vowel);
const uint64_t kStressedVowel = kVowel | M(sd::Stressed) | M(sd::FullStressed);
const uint64_t kConsonant = M(sd::Any) | M(sd::Consonant);

ConditionRecord Parse(std::initializer_list<const char*> lines) {
    ConditionRecord r;
    std::string unknown;
    for (const char* l : lines) EXPECT_TRUE(ParseConditionLine(l, r, unknown)) << l;
    return r;
}

TEST(AttributeConditions, ContextsAtThePhraseEnds) {
    const std::vector<uint64_t> one = {kVowel};
    EXPECT_TRUE(Matches(BuildContext(one, 0), ConditionRecord{}));  // empty record: always
    const std::vector<uint64_t> sds = {kConsonant, kVowel, kConsonant};
    const PhonemeContext first = BuildContext(sds, 0);
    EXPECT_EQ(first.sd[kL1], 1u);
    EXPECT_EQ(first.sd[kL2], 1u);
    EXPECT_FALSE(Matches(first, Parse({"L1 Any"})));
    const ConditionRecord noneAtL2 = Parse({"L2 None"});
    EXPECT_TRUE(Matches(BuildContext(sds, 0), noneAtL2));
    EXPECT_TRUE(Matches(BuildContext(sds, 1), noneAtL2));
    EXPECT_FALSE(Matches(BuildContext(sds, 2), noneAtL2));
    EXPECT_EQ(BuildContext(sds, 2).sd[kR1], 1u);
}

TEST(AttributeConditions, LinesAccumulateAndPositionWordsCountOnlyFirst) {
    ConditionRecord r = Parse({"L1 Vowel", "L1,Stressed"});
    EXPECT_EQ(r.mask[kL1], M(sd::Vowel) | M(sd::Stressed));
    r = Parse({"Vowel R1"});
    EXPECT_EQ(r.mask[kSelf], M(sd::Vowel));
    EXPECT_EQ(r.mask[kR1], 0u);
    r = Parse({"Short==Unstressed,,Type2"});
    EXPECT_EQ(r.mask[kSelf], M(sd::Short) | M(sd::Unstressed) | M(sd::Type2));
}

TEST(AttributeConditions, UnknownKeywordsStopTheLine) {
    for (const char* line : {"vowel", "Vowel\tStressed", "Vowel Nasal Stressed"}) {
        ConditionRecord r;
        std::string unknown;
        EXPECT_FALSE(ParseConditionLine(line, r, unknown)) << line;
        EXPECT_FALSE(unknown.empty());
    }
    ConditionRecord r;
    std::string unknown;
    ParseConditionLine("Vowel Nasal Stressed", r, unknown);
    EXPECT_EQ(unknown, "Nasal");
    EXPECT_EQ(r.mask[kSelf], M(sd::Vowel));  // what came before stays
    EXPECT_FALSE(KeywordMask("Space"));      // bit 56 has no keyword
    EXPECT_EQ(*KeywordMask("Long"), M(sd::Long));
}

class Rhythmics : public testing::Test {
  protected:
    bool Load(const std::string& text) { return model.LoadText(text, "R.cfg"); }
    float CoefficientOf(const std::vector<uint64_t>& sds, size_t i) {
        const RhythmicsRule* rule = model.FindRule(BuildContext(sds, i));
        return rule ? rule->coefficient : 1.0f;
    }
    test::CapturedMessages messages;
    RhythmicsModel model;
};

TEST_F(Rhythmics, ClassesSectionsAndSharedNames) {
    ASSERT_TRUE(
        Load(".Version 2\n; comment\n\n{Vowel stressed\nS: 1.5\n}\n"
             "{Consonant\nC:1.3\nR1 Vowel\nfallback : 0.9\n}\n"
             "{Vowel pretonic\nS:2.5\n}\n"));
    EXPECT_EQ(model.RuleCount(), 4u);
    const std::vector<uint64_t> sds = {kConsonant, kStressedVowel, kConsonant};
    EXPECT_FLOAT_EQ(CoefficientOf(sds, 0), 1.3f);  // before a vowel
    EXPECT_FLOAT_EQ(CoefficientOf(sds, 2), 0.9f);  // "fallback " keeps its blank
    EXPECT_FLOAT_EQ(model.Coefficient("fallback "), 0.9f);
    EXPECT_FLOAT_EQ(CoefficientOf(sds, 1), 2.5f);  // the later line of "S" wins
    // Partially stressed: no class, no rule, even with an unconditional one.
    const std::vector<uint64_t> partial = {kVowel | M(sd::Stressed) | M(sd::PartialStressed)};
    EXPECT_EQ(model.FindRule(BuildContext(partial, 0)), nullptr);
}

TEST_F(Rhythmics, EmptyNamesAndUnclosedSections) {
    ASSERT_TRUE(Load(".Version 2\n{Consonant\n:3\nR1 Vowel\nA:2\n}\n{Vowel stressed\nB:4\nC:5\n"));
    ASSERT_EQ(model.Rules(RhythmicsClass::Consonant).size(), 1u);
    // The conditions after the nameless rule line carried over into "A".
    EXPECT_EQ(model.Rules(RhythmicsClass::Consonant)[0].conditions.mask[kR1], M(sd::Vowel));
    ASSERT_EQ(model.Rules(RhythmicsClass::Stressed).size(), 1u);  // "C" was pending at the end
    EXPECT_EQ(model.Rules(RhythmicsClass::Stressed)[0].name, "B");
    EXPECT_TRUE(messages.Contains("Error", "R.cfg:9: the file ends inside a section"));
}

TEST_F(Rhythmics, LoaderFaultsNameFileAndLine) {
    EXPECT_FALSE(Load(".Version 3\n"));
    EXPECT_TRUE(messages.Contains("Error", "R.cfg:1: Incorrect rhytmics base version"));
    EXPECT_FALSE(Load(".Version 2\n\nstray\n"));
    EXPECT_TRUE(messages.Contains("Error", "R.cfg:3: Syntax error in rhytmics rules - line 2"));
    EXPECT_FALSE(Load(".Version 2\n{Consonant\nA:1\nR1 Vowl\nB:2\n}\n"));
    EXPECT_TRUE(messages.Contains("Error", "R.cfg:4: Unknown keyword \"Vowl\""));
    EXPECT_EQ(model.RuleCount(), 0u);  // the pending rule died with the section
    messages.Clear();
    EXPECT_TRUE(Load(".Version 2\n{Consonant\nA:-2\nB:1e9\nC:nonsense\n}\n"));
    EXPECT_FLOAT_EQ(model.Coefficient("A"), 0.0f);
    EXPECT_FLOAT_EQ(model.Coefficient("B"), RhythmicsModel::kMaxCoefficient);
    EXPECT_FLOAT_EQ(model.Coefficient("C"), 0.0f);
    EXPECT_TRUE(messages.Contains("Error", "R.cfg:3: coefficient of \"A\" out of range"));
    EXPECT_FALSE(Load(""));
    EXPECT_TRUE(Load(".Version 2\n{Consonant\nA:1\n}\n" + std::string(10000, 'x') + "\n"));
    EXPECT_TRUE(messages.Contains("Error", "R.cfg:5: line longer than 9999"));  // reading stops
}

TEST_F(Rhythmics, AMillionRulesAreCapped) {
    std::string text = ".Version 2\n{Consonant\n";
    for (int i = 0; i < 1000000; ++i) text += "r" + std::to_string(i) + ":1\n";
    text += "}\n";
    EXPECT_FALSE(Load(text));
    EXPECT_EQ(model.RuleCount(), RhythmicsModel::kMaxRules);
    EXPECT_TRUE(messages.Contains("Error", "more than 10000 rhytmics rules"));
}

TEST_F(Rhythmics, SamePathIsReadOnceUnlessForcedOrFailed) {
    test::TempDir dir;
    const std::string path = dir.File("Rhytmics.cfg");
    test::WriteFile(path, ".Version 2\n{Consonant\nA:2\n}\n");
    ASSERT_TRUE(model.Load(path, false));
    test::WriteFile(path, ".Version 2\n{Consonant\nA:3\n}\n");
    ASSERT_TRUE(model.Load(path, false));
    EXPECT_FLOAT_EQ(model.Coefficient("A"), 2.0f);
    ASSERT_TRUE(model.Load(path, true));
    EXPECT_FLOAT_EQ(model.Coefficient("A"), 3.0f);
    test::WriteFile(path, "bad\n");
    EXPECT_FALSE(model.Load(path, true));
    test::WriteFile(path, ".Version 2\n{Consonant\nA:4\n}\n");
    ASSERT_TRUE(model.Load(path, false));  // a failed load is not remembered
    EXPECT_FLOAT_EQ(model.Coefficient("A"), 4.0f);
    EXPECT_FALSE(model.Load(dir.File("missing.cfg"), false));
    EXPECT_TRUE(model.LoadedPath().empty());
}

TEST(DurationFactors, RecordedOverWantedLength) {
    const std::string name = "r";
    const RhythmicsResult results[] = {
        {&name, 2.0f}, {nullptr, 1.0f}, {&name, 0.0f}, {&name, 1.5f}};
    const int32_t lengths[] = {1000, 500, 800, 0};
    const std::vector<float> f = DurationFactors(results, lengths, [](size_t) { return 1000; });
    EXPECT_FLOAT_EQ(f[0], 0.5f);  // wanted 2000 of 1000 recorded
    EXPECT_FLOAT_EQ(f[1], 1.0f);  // no rule
    EXPECT_FLOAT_EQ(f[2], 1.0f);  // coefficient 0: wanted length 0
    EXPECT_FLOAT_EQ(f[3], 1.0f);  // nothing recorded
}

}  // namespace
}  // namespace vox
