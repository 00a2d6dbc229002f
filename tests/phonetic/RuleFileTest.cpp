// Module 419.0's rule file: reading every block, choosing allophones, and how
// the module lives with a missing or malformed file.
#include <gtest/gtest.h>

#include "phonetic/module-419-0/Allomod4190.h"
#include "phonetic/module-419-0/RuleFileReader.h"
#include "platform/Text.h"
#include "support/CapturedMessages.h"
#include "support/TempRegistry.h"
#include "tests/phonetic/PhoneticTestSupport.h"

namespace vox {
namespace {

// The example file: "T" and "T'" take "2" after a sonant and before a sonant
// followed by one of the listed vowels.
constexpr const char* kExample =
    "{Groups\n3\nL1Son: M,N,L,R\n*R1Son: M,N,L,R\nR2Vow: A0,A1,O0\n}\n"
    "{Rules\nT,T' 1\nL1Son-R1Son,R2Vow>2\n}\n";

RuleSet Parse(const std::string& text) {
    RuleSet rules;
    std::optional<RuleFileError> error = ParseRuleFile(text, rules);
    EXPECT_FALSE(error) << (error ? error->text : "");
    return rules;
}

// The allophone of the phoneme at `index` of a ","-list.
std::string Choose(const RuleSet& rules, const std::string& phrase, size_t index) {
    const std::vector<std::string> names = SplitList(phrase);
    return ChooseAllophone(rules, names, index);
}

TEST(RuleFile, ExampleChoosesByBothSides) {
    const RuleSet rules = Parse(kExample);
    EXPECT_EQ(Choose(rules, "#,A0,N,T,R,A0,#", 3), "T2");
    EXPECT_EQ(Choose(rules, "#,A0,N,T',R,O0,#", 3), "T'2");
    EXPECT_EQ(Choose(rules, "#,A0,S,T,R,A0,#", 3), "T1") << "no class on the left";
    EXPECT_EQ(Choose(rules, "#,A0,N,T,K,A0,#", 3), "T1") << "no class at distance 1 on the right";
    EXPECT_EQ(Choose(rules, "#,A0,N,T,R,U0,#", 3), "T1") << "chained, but no class at distance 2";
    EXPECT_EQ(Choose(rules, "#,A0,N,#", 2), "") << "no rules block names N";
}

TEST(RuleFile, ChainStopsAtTheEndsOfThePhrase) {
    // A chained class for "#" leads past the end: the outside has no class.
    const RuleSet left = Parse("{Groups\n0\nR1P: #\n*L1B: #\n}\n{Rules\nA0 0\nL1B-R1P>1\n}\n");
    EXPECT_EQ(Choose(left, "#,A0,#", 1), "A0");
    const RuleSet right = Parse("{Groups\n0\n*R1P: #\nL1B: #\n}\n{Rules\nA0 0\nL1B-R1P>1\n}\n");
    EXPECT_EQ(Choose(right, "#,A0,#", 1), "A0");
    EXPECT_EQ(Choose(right, "#,A0,#,#", 1), "A0") << "no distance-2 class either";
}

TEST(RuleFile, LaterDefinitionsWinAndRecordsAreShared) {
    const RuleSet rules = Parse(
        "{Groups\n1\nR1V: A0\nR1V: U0\nL1X: #\n}\n"
        "{Rules\nA0,A1,M 9\nL1X-R1V>3\nL1X-R1V>4\nL1X-R1W>\n}\n"
        "{Rules\nM 7\nL1X-R1V>5\n}\n");
    EXPECT_EQ(Choose(rules, "#,A1,U0,#", 1), "A4") << "group defined twice; later rule line wins";
    EXPECT_EQ(Choose(rules, "#,A0,A0,#", 1), "A9") << "A0 is no longer in R1V";
    EXPECT_EQ(rules.rules.at("A0"), rules.rules.at("A1"));
    EXPECT_EQ(Choose(rules, "#,M,U0,#", 1), "M5") << "the later block's record";
    EXPECT_EQ(rules.rules.at("A0")->keys.at("L1X-R1W"), "") << "an empty suffix falls back";
}

TEST(RuleFile, EveryBlockIsKept) {
    const RuleSet rules = Parse(
        "// comment\n\n  {PhonemeAttributes  \n A0 V 2 1 // vowel\n\tT C 43 19\n}\n"
        "{Voice\nname  x\n\n}\n{Groups\n}\n");
    EXPECT_TRUE(rules.attributes.at("A0").vowel);
    EXPECT_EQ(rules.attributes.at("T").number, 43);
    EXPECT_EQ(rules.attributes.at("T").viseme, 19);
    EXPECT_EQ(rules.otherBlocks.at("{Voice"), std::vector<std::string>{"name  x"});
    EXPECT_TRUE(rules.groups.empty());
}

TEST(RuleFile, MalformedLinesAreReportedWithTheirMessage) {
    struct Case {
        const char* text;
        const char* caption;
        const char* message;
        int line;
    };
    const Case cases[] = {
        {"{PhonemeAttributes\nA0 V 1 1\nA0 V 2 1\n}", "Error - Attribute",
         "Token A0 already defined", 3},
        {"{PhonemeAttributes\nA0 X 1 1\n}", "Error - Attribute", "Wrong phoneme type:X", 2},
        {"{PhonemeAttributes\nA0 V 1\n}", "Error - Attribute", "Wrong phoneme type:", 2},
        {"{PhonemeAttributes\nA0 V 1 22\n}", "Error - Attribute", "Wrong viseme code:22", 2},
        {"{PhonemeAttributes\nA0 V 1 -1\n}", "Error - Attribute", "Wrong viseme code:-1", 2},
        {"{Groups\n1\nL1X:A\n}", "Error", "Syntax error in group definition:\nL1X:A", 3},
        {"{Groups\n1\nL1X: A\n}\n{Rules\nA0 1\nL1X>2\n}", "Error",
         "Syntax error in rule definition:\nL1X>2", 7},
        {"{Rules\nA0 1\n-R1X\n}", "Error", "Syntax error in rule definition:\n-R1X", 3},
    };
    for (const Case& c : cases) {
        RuleSet rules;
        rules.otherBlocks["kept"] = {};
        std::optional<RuleFileError> error = ParseRuleFile(c.text, rules);
        ASSERT_TRUE(error) << c.text;
        EXPECT_EQ(error->caption, c.caption);
        EXPECT_EQ(error->text, c.message);
        EXPECT_EQ(error->line, c.line) << c.text;
        EXPECT_EQ(rules.otherBlocks.count("kept"), 1u) << "a failed read changes nothing";
    }
}

class RuleFileModuleTest : public ::testing::Test {
  protected:
    test::TempDir dir;
    std::string path = dir.File("allomod-419-0.cfg");
    ComPtr<IPhonetic> m = test::Adopt(new Allomod_419_0(path));
    test::CapturedMessages messages;
};

TEST_F(RuleFileModuleTest, MissingFileGivesNoAllophonesAndIsTriedAgain) {
    EXPECT_EQ(test::Allophones(*m.Get(), "#,N,T,R,A0,#"), "");
    EXPECT_TRUE(messages.All().empty()) << "reported only when debugging";
    m->SetDebugVerbosity(1);
    EXPECT_EQ(test::Allophones(*m.Get(), "#,N,T,R,A0,#"), "");
    EXPECT_TRUE(messages.Contains("Vostrelin AllomodRus 419.0",
                                  "Failed to load Phoneme-to-Allophone rules"));
    test::WriteFile(path, kExample);
    EXPECT_EQ(test::Allophones(*m.Get(), "#,N,T,R,A0,#"), "#,,T2,,,#");
}

TEST_F(RuleFileModuleTest, MalformedFileIsShownAndFailsTheReadOnly) {
    test::WriteFile(path, "{Groups\n1\nbroken line\n}\n");
    EXPECT_EQ(test::Allophones(*m.Get(), "#,N,T,R,A0,#"), "");
    ASSERT_EQ(messages.All().size(), 1u) << "shown whatever the debug verbosity";
    EXPECT_EQ(messages.All()[0].caption, "Error");
    EXPECT_EQ(messages.All()[0].text,
              "Syntax error in group definition:\nbroken line\n(" + path + ":3)");
    test::WriteFile(path, kExample);
    EXPECT_EQ(test::Allophones(*m.Get(), "#,N,T,R,A0,#"), "#,,T2,,,#");
    test::WriteFile(path, "{Groups\n1\nbroken line\n}\n");
    EXPECT_EQ(test::Allophones(*m.Get(), "#,N,T,R,A0,#"), "#,,T2,,,#") << "read once per object";
}

TEST(RuleFileLocation, BesideTheLibrary) {
    EXPECT_EQ(RuleFileBeside("/opt/v.1/lib/allomod-419-0.so"), "/opt/v.1/lib/allomod-419-0.cfg");
    EXPECT_EQ(RuleFileBeside("/opt/v.1/lib/module"), "/opt/v.1/lib/module.cfg");
}

}  // namespace
}  // namespace vox
