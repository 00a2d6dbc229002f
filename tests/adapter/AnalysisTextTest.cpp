// The analysis text: fragments at their source offsets, and the attributes
// of pronunciations, spelled spans, stress and punctuation tags.
#include <gtest/gtest.h>

#include "adapter/AnalysisText.h"
#include "adapter/fakes/FragmentBuilder.h"

namespace vox {
namespace {

using test::FragmentBuilder;

std::vector<std::string> Names(const AnalysisText& a) {
    std::vector<std::string> out;
    for (const TextAttribute& t : a.attributes)
        out.push_back(t.name + "@" + std::to_string(t.position) + "+" + std::to_string(t.length));
    return out;
}

TEST(AnalysisText, FragmentsStandAtTheirSourceOffsetsInCp1251) {
    FragmentBuilder b;
    b.Speak(u"Hello", 0);
    b.Speak(u"мир", 10);
    const AnalysisText a = BuildAnalysisText(b.Head(), 0, nullptr);
    EXPECT_EQ(a.text, "Hello     \xEC\xE8\xF0");
    EXPECT_TRUE(a.attributes.empty());
}

TEST(AnalysisText, PronounceLeavesSpacesAndAddsPhonesFromTheConverter) {
    FragmentBuilder b;
    b.Speak(u"Say", 0);
    SPVTEXTFRAG& pron = b.Add(SPVA_Pronounce, u"word", 20);
    pron.State.pPhoneIds = b.Keep(u"\x01\x02\x03");
    auto phones = [](const SPPHONEID* ids) -> std::optional<std::u16string> {
        EXPECT_EQ(ids[0], 1);
        return u"a b c";
    };
    const AnalysisText a = BuildAnalysisText(b.Head(), 0, phones);
    EXPECT_EQ(a.text, "Say" + std::string(28, ' '));  // up to 20 + 4 + "</PRON>"
    EXPECT_EQ(Names(a), (std::vector<std::string>{"Pron=a,b,c@20+4"}));
}

TEST(AnalysisText, SelfClosedPronounceFillsToTheNextFragment) {
    FragmentBuilder b;
    b.Add(SPVA_Pronounce, u"", 0).State.pPhoneIds = b.Keep(u"\x01");
    b.Speak(u"x", 12);
    const AnalysisText a = BuildAnalysisText(b.Head(), 0, nullptr);
    EXPECT_EQ(a.text, std::string(12, ' ') + "x");
    EXPECT_TRUE(a.attributes.empty());  // no converter: no "Pron=" attribute
}

TEST(AnalysisText, StressAndPuncTagsBecomeSpansAndSpaces) {
    FragmentBuilder b;
    b.Speak(u"ab", 0);
    b.Add(SPVA_ParseUnknownTag, u"<STRESS>", 5);
    b.Speak(u"word", 13);
    b.Add(SPVA_ParseUnknownTag, u"</STRESS>", 17);
    b.Add(SPVA_ParseUnknownTag, u"<stress>", 26);  // case matters: nothing
    b.Add(SPVA_ParseUnknownTag, u"<PUNC>", 34);
    b.Speak(u"!", 40);
    const AnalysisText a = BuildAnalysisText(b.Head(), SPF_NLP_SPEAK_PUNC, nullptr);
    // The tags are appended as spaces without filling to their offset first.
    EXPECT_EQ(a.text, "ab" + std::string(8, ' ') + "   word" + std::string(9, ' ') +
                          std::string(6, ' ') + std::string(8, ' ') + "!");
    EXPECT_EQ(Names(a), (std::vector<std::string>{"Stress@5+12", "Punc@34+41", "Punc@0+41"}));
}

TEST(AnalysisText, ClosingTagWithoutOpeningChangesNothing) {
    FragmentBuilder b;
    b.Add(SPVA_ParseUnknownTag, u"</PUNC>", 0);
    b.Add(SPVA_ParseUnknownTag, u"<ABOUT/>", 7);
    const AnalysisText a = BuildAnalysisText(b.Head(), 0, nullptr);
    EXPECT_EQ(Names(a), (std::vector<std::string>{"About@7+0"}));
    EXPECT_EQ(a.text.size(), 15u);
}

TEST(AnalysisText, SilencesAndBookmarksAloneGiveAnEmptyText) {
    FragmentBuilder b;
    b.Silence(500, 0);
    b.Add(SPVA_Bookmark, u"42", 3);
    const AnalysisText a = BuildAnalysisText(b.Head(), SPF_NLP_SPEAK_PUNC, nullptr);
    EXPECT_EQ(a.text, "");
    EXPECT_EQ(Names(a), (std::vector<std::string>{"Punc@0+0"}));
}

TEST(AnalysisText, SpellAndContextAttributesCoverTheFragment) {
    FragmentBuilder b;
    b.Add(SPVA_SpellOut, u"ABC", 2);
    SPVTEXTFRAG& date = b.Speak(u"1.2.2003", 6);
    date.State.Context.pCategory = b.Keep(u"date");
    const AnalysisText a = BuildAnalysisText(b.Head(), 0, nullptr);
    EXPECT_EQ(a.text, "  ABC 1.2.2003");
    EXPECT_EQ(Names(a), (std::vector<std::string>{"Spell@2+3", "Context=date@6+8"}));
}

}  // namespace
}  // namespace vox

namespace vox {
namespace {

TEST(AnalysisText, AZeroCharacterDoesNotCutTheText) {
    test::FragmentBuilder b;
    b.Speak(std::u16string(u"раз\0два", 7), 0);
    const AnalysisText a = BuildAnalysisText(b.Head(), 0, nullptr);
    EXPECT_EQ(a.text, "\xF0\xE0\xE7 \xE4\xE2\xE0");
}

}  // namespace
}  // namespace vox
