// Module 419.3: unit names, the unit inventory built from SetAllophones, the
// minimum cover with its tie-breaks and the consonant-vowel repair, and the
// allophone-name hooks. Golden tables, one case per line.
#include <gtest/gtest.h>

#include "phonetic/module-419-3/Allomod4193.h"
#include "phonetic/module-419-3/UnitName.h"
#include "tests/phonetic/PhoneticTestSupport.h"

namespace vox {
namespace {

struct Cover {
    const char* units;  // SetAllophones
    const char* phrase;
    const char* expected;
    const char* pins;
};

// clang-format off
const std::vector<Cover> kCovers = {
    {"", "#,T,A0,#", "#,T-A0.1,T-A0.2,#", "no units: only the consonant-vowel repair"},
    {"T-A0.1,T-A0.2,A0-#.1,A0-#.2", "#,T,A0,#", "#,T-A0.1,A0-#.1,A0-#.2",
     "A0-# reaches the end and stops the search; T is repaired"},
    {"K-A0.1", "#,K,A0,T,#", "#,K-A0.1,K-A0.2,T,#", "K-A0 without K-A0.2 is no unit"},
    {"K-A0-T.1,K-A0-T.2,K-A0-T.3", "#,K,A5,T,#", "#,K-A5-T.1,K-A5-T.2,K-A5-T.3,#",
     "A5 matches a unit written with A0; the name keeps A5"},
    {"S-T-A0.1,S-T-A0.2,S-T-A0.3,T-A0.1,T-A0.2", "#,S,T,A0,#", "#,S-T-A0.1,S-T-A0.2,S-T-A0.3,#",
     "the longer unit gives the cheaper cover"},
    {"A0-_-T.1,A0-_-T.3", "#,M,A0,_,T,U0,#", "#,M-A0.1,A0-_-T.1,A0-_-T.2,A0-_-T.3,T-U0.2,#",
     "_ needs no name of its own; the unit's T keeps it from the repair"},
    {"S", "#,S,A0,#", "#,S-A0.1,S-A0.2,#", "a plain one-phoneme unit is repaired like none"},
    {"K-A0.1,K-A0.2,A0-T-A0.1,A0-T-A0.2,A0-T-A0.3,T-A0.1,T-A0.2", "#,K,A0,T,A0,#",
     "#,K-A0.1,A0-T-A0.1,A0-T-A0.2,A0-T-A0.3,#", "plain units: the earlier candidate keeps a tie"},
    {"K-A0.1,K-A0.2,A0-T-A0.1,A0-T-A0.2,A0-T-A0.3,T-A0(Pause).1,T-A0(Pause).2", "#,K,A0,T,A0,#",
     "#,K-A0.1,K-A0.2,T-A0(Pause).1,T-A0(Pause).2,#", "a context unit wins a tie as the later candidate"},
    {"K-A0(Pause).1,K-A0(Pause).2", "#,K,A0,K,A0,#", "#,K-A0.1,K-A0.2,K-A0(Pause).1,K-A0(Pause).2,#",
     "right group: only the K-A0 before # fits"},
    {"(Lab)A0", "#,B,A0,#", "#,B-A0.1,(Lab)A0,#", "left group: A0 after B; the chosen unit is kept"},
    {"(Lab)A0", "#,T,A0,#", "#,T-A0.1,T-A0.2,#", "T is no member of Lab"},
    {"(Lab)A0", "#,B,_,A0,#", "#,B,_,A0,#", "after a break the tested phoneme is _ when no vowel precedes"},
    {"(Front)A0", "#,I1,_,A0,#", "#,I1,_,(Front)A0,#", "after a break the vowel before it is tested"},
    {"(Nope)A0", "#,B,A0,#", "#,B-A0.1,B-A0.2,#", "a group that does not exist never fits"},
    {"A0(Pause)", "#,A0,#", "#,A0(Pause),#", "the final # is the phoneme after the unit"},
    {"A0-#(Pause).1", "#,A0,#", "#,A0,#", "a unit that reaches the end has nothing after it"},
};
// clang-format on

class Module4193 : public ::testing::Test {
  protected:
    Module4193() {
        module = new Allomod_419_3("");
        m = test::Adopt(module);
        m->SetGroups("Lab:P,B,M;Front:I1,I0;Pause:#,_");
    }
    using Operation = HRESULT (IPhonetic::*)(const char*, char**);
    std::string Name(Operation op, const char* allophone) {
        char* out = nullptr;
        EXPECT_EQ((m.Get()->*op)(allophone, &out), S_OK);
        return test::Take(out);
    }

    Allomod_419_3* module;
    ComPtr<IPhonetic> m;
};

TEST_F(Module4193, CoverGolden) {
    for (const Cover& line : kCovers) {
        ASSERT_EQ(m->SetAllophones(line.units), S_OK);
        EXPECT_EQ(test::Allophones(*m.Get(), line.phrase), line.expected)
            << line.units << " / " << line.phrase << ": " << line.pins;
    }
}

TEST_F(Module4193, InventoryTakesEachValidBaseOnce) {
    m->SetAllophones(
        "T-A0.1,T-A0.2,T-A0.1,K-A0.1,Q-A0.1,Q-A0.2,(Lab)A0.1,(Lab,A0-#.1,T-A0.3,S,S.1");
    // T-A0, (Lab)A0, A0-# (its "#" needs no name) and S; K-A0 lacks K-A0.2,
    // Q is no phoneme, "(Lab" and "T-A0.3" are no unit names.
    EXPECT_EQ(module->Units().Size(), 4u);
    m->SetAllophones("");
    EXPECT_EQ(module->Units().Size(), 0u);
}

TEST(UnitNames, Validity) {
    for (const char* valid :
         {"T-A0.2", "(Lab)A0.1", "S", "#", "A0-#.2", "T-A0(Vow).2", "(L)T(R)", "T-A0"}) {
        EXPECT_TRUE(ParseUnitName(valid)) << valid;
    }
    for (const char* invalid : {"T-A0.3", "T-A0.0", "T-A0.", "T-A0.x", "(Lab", "(Lab)", "A0)",
                                "(A)(B)", "T-.1", "", "-", "T-A0.1.2"}) {
        EXPECT_FALSE(ParseUnitName(invalid)) << invalid;
    }
    const std::optional<UnitName> unit = ParseUnitName("(Lab)T-A0(Vow).2");
    ASSERT_TRUE(unit);
    EXPECT_EQ(unit->base, "(Lab)T-A0(Vow)");
    EXPECT_EQ(*unit->leftGroup, "Lab");
    EXPECT_EQ(*unit->rightGroup, "Vow");
    EXPECT_EQ(unit->Phoneme(), "A0");
}

TEST_F(Module4193, AllophoneNameHooks) {
    const std::pair<const char*, const char*> toPhoneme[] = {
        {"T-A0.2", "A0"},    {"T-A0.1", "T"},   {"T-A0", "T-A0"}, {"T-A0.3", "T-A0.3"},
        {"(Lab)A0.1", "A0"}, {"(Lab)A0", "A0"}, {"#", "#"},       {"S", "S"}};
    for (auto [name, expected] : toPhoneme)
        EXPECT_EQ(Name(&IPhonetic::AllophoneToPhoneme, name), expected) << name;

    const std::pair<const char*, const char*> basic[] = {{"T-A1.2", "A0"},     {"T-A1.1", "T"},
                                                         {"(Lab)A1.1", "A0"},  {"O5", "O0"},
                                                         {"T-A0.3", "T-A0.3"}, {"(Lab", "(Lab"}};
    for (auto [name, expected] : basic)
        EXPECT_EQ(Name(&IPhonetic::GetBasicAllophone, name), expected) << name;

    const std::pair<const char*, const char*> substitute[] = {
        {"A5-T.1", "A0-T.1"},   {"K-A5-O5.2", "K-A0-O0.2"},
        {"(Lab)A5", "(Lab)A0"}, {"T-A1.2", "A1"},
        {"(Lab)A0", "A0"},      {"T", "T"},
        {"((", "(("},           {"T-5.1", "T"}};
    for (auto [name, expected] : substitute)
        EXPECT_EQ(Name(&IPhonetic::GetSubstituteAllophone, name), expected) << name;
}

TEST_F(Module4193, CoveredPhrasesRoundTrip) {
    m->SetAllophones("K-A0-T.1,K-A0-T.2,K-A0-T.3,(Lab)A0");
    const std::string phrase = "#,K,A5,T,_,B,A0,#";
    char* phonemes = nullptr;
    ASSERT_EQ(m->AllophonesToPhonemes(test::Allophones(*m.Get(), phrase).c_str(), &phonemes), S_OK);
    EXPECT_EQ(test::Take(phonemes), phrase);
}

}  // namespace
}  // namespace vox
