// Fragments from plain text, SAPI XML and SSML: actions, states, and source
// offsets that point at the text as written, markup included.
#include <gtest/gtest.h>

#include "platform/Utf16.h"
#include "speech/PhoneNames.h"
#include "speech/XmlFragments.h"

namespace vox::speech {
namespace {

struct Frag {
    SPVACTIONS action;
    std::string text;
    uint32_t offset;
};

std::vector<Frag> All(const FragmentList& list) {
    std::vector<Frag> out;
    for (const SPVTEXTFRAG* f = list.Head(); f != nullptr; f = f->pNext)
        out.push_back(
            {f->State.eAction, Utf16ToUtf8({f->pTextStart, f->ulTextLen}), f->ulTextSrcOffset});
    return out;
}

const SPVTEXTFRAG* Nth(const FragmentList& list, int n) {
    const SPVTEXTFRAG* f = list.Head();
    while (n-- > 0 && f != nullptr) f = f->pNext;
    return f;
}

TEST(PlainText, ParagraphsKeepTheirOffsetsInCharacters) {
    const std::string input = "Один.\n\nДва\nтри.\n  \n\nЧетыре\n\n \n";
    const std::vector<Paragraph> p = SplitParagraphs(input);
    ASSERT_EQ(p.size(), 3u);
    EXPECT_EQ(p[1].baseCharacters, 7u);
    EXPECT_EQ(p[1].text, "Два\nтри.\n  \n");
    for (const Paragraph& each : p) {  // each stands where it stood
        const std::u16string text = Utf8ToUtf16(each.text);
        EXPECT_EQ(Utf8ToUtf16(input).substr(each.baseCharacters, text.size()), text);
    }
    const FragmentList list = FragmentsFromText("мир 😀 мир", 5);
    EXPECT_EQ(list.CharacterIndex(7), 5u + 6u);  // after the emoji (two UTF-16 units)
}

TEST(SapiXml, TagsChangeStateAndUnknownTagsPassAsWritten) {
    FragmentList list;
    std::string error;
    const std::string text =
        "Раз <silence msec=\"250\"/><rate absspeed=\"5\">два</rate> <STRESS>три</STRESS>"
        "<bookmark mark=\"42\"/><pron sym=\"M A0\">ма</pron><emph>эх</emph><ABOUT/>";
    ASSERT_TRUE(FragmentsFromSapiXml(text, DefaultState(), list, error)) << error;
    const std::vector<Frag> f = All(list);
    ASSERT_EQ(f.size(), 10u);
    EXPECT_EQ(f[0].text, "Раз ");
    EXPECT_EQ(f[1].action, SPVA_Silence);
    EXPECT_EQ(Nth(list, 1)->State.SilenceMSecs, 250u);
    EXPECT_EQ(f[2].text, "два");
    EXPECT_EQ(Nth(list, 2)->State.RateAdj, 5);
    EXPECT_EQ(f[3].action, SPVA_ParseUnknownTag);
    EXPECT_EQ(f[3].text, "<STRESS>");
    EXPECT_EQ(f[5].text, "</STRESS>");
    EXPECT_EQ(f[6].action, SPVA_Bookmark);
    EXPECT_EQ(f[6].text, "42");
    EXPECT_EQ(f[7].action, SPVA_Pronounce);
    EXPECT_EQ(f[7].text, "ма");
    EXPECT_EQ(Nth(list, 7)->State.pPhoneIds[0], PhoneId419("M"));
    EXPECT_EQ(Nth(list, 7)->State.pPhoneIds[1], PhoneId419("A0"));
    EXPECT_EQ(Nth(list, 8)->State.EmphAdj, 1);
    EXPECT_EQ(f[9].text, "<ABOUT/>");
    // Text and tags stand at their offsets in the input.
    const std::u16string source = Utf8ToUtf16(text);
    for (int i : {0, 2, 3, 4, 5, 7, 8, 9})
        EXPECT_EQ(Utf16ToUtf8(source.substr(f[i].offset, Utf8ToUtf16(f[i].text).size())), f[i].text)
            << i;
    EXPECT_EQ(f[1].offset, 4u);  // the silence tag's position
}

TEST(Ssml, ElementsBecomeFragmentsWithTheirStates) {
    FragmentList list;
    std::string error;
    const std::string text =
        "<speak version=\"1.1\"><p><s>Он <break time=\"1.5s\"/>"
        "<prosody rate=\"fast\" pitch=\"+20%\" volume=\"50\">пришёл</prosody>"
        "<mark name=\"x\"/> в <say-as interpret-as=\"date\">1.2.2003</say-as>"
        "<say-as interpret-as=\"characters\">ФСБ</say-as><sub alias=\"доктор\">д-р</sub>"
        "<phoneme ph=\"D A0\">да</phoneme><unknown>ещё &amp; так</unknown></s></p></speak>";
    ASSERT_TRUE(FragmentsFromSsml(text, DefaultState(), list, error)) << error;
    const std::vector<Frag> f = All(list);
    ASSERT_EQ(f.size(), 10u);
    EXPECT_EQ(Nth(list, 1)->State.SilenceMSecs, 1500u);
    EXPECT_EQ(f[2].text, "пришёл");
    EXPECT_EQ(Nth(list, 2)->State.RateAdj, 4);
    EXPECT_EQ(Nth(list, 2)->State.PitchAdj.MiddleAdj, 2);
    EXPECT_EQ(Nth(list, 2)->State.Volume, 50u);
    EXPECT_EQ(f[3].action, SPVA_Bookmark);
    EXPECT_EQ(Utf16ToUtf8(Nth(list, 5)->State.Context.pCategory), "date");
    EXPECT_EQ(f[6].action, SPVA_SpellOut);
    EXPECT_EQ(f[7].text, "доктор");
    EXPECT_EQ(f[8].action, SPVA_Pronounce);
    EXPECT_EQ(f[9].text, "ещё & так");  // decoded text, placed where it stood
    // Offsets are characters of the input, markup included.
    EXPECT_EQ(Utf8ToUtf16(text).substr(f[2].offset, 6), u"пришёл");
}

TEST(Markup, MalformedInputIsReportedWithLineAndColumn) {
    FragmentList list;
    std::string error;
    EXPECT_FALSE(FragmentsFromSsml("<speak>\nа <b>б</speak>", DefaultState(), list, error));
    EXPECT_EQ(error.substr(0, 4), "2:9:");
    EXPECT_FALSE(FragmentsFromSsml("<voice>x</voice>", DefaultState(), list, error));
    EXPECT_FALSE(FragmentsFromSapiXml("a <b c=d/>", DefaultState(), list, error));
    EXPECT_EQ(error.substr(0, 4), "1:8:") << error;  // at the unquoted value
}

TEST(Markup, DeepNestingIsRefusedNotOverflowed) {
    std::string text = "<speak>";
    for (int i = 0; i < 5000; ++i) text += "<p>";
    for (int i = 0; i < 5000; ++i) text += "</p>";
    text += "</speak>";
    FragmentList list;
    std::string error;
    EXPECT_FALSE(FragmentsFromSsml(text, DefaultState(), list, error));
    EXPECT_NE(error.find("nested"), std::string::npos);
}

}  // namespace
}  // namespace vox::speech
