// The editor's side of the stress vocabulary: typed words, the tokens it
// appends and the merged list. (The file's reading is the lexical
// component's, tested with it.)
#include <gtest/gtest.h>

#include "platform/CodePage.h"
#include "stress-editor/Vocabulary.h"

namespace accentor {
namespace {

std::string W(const char* utf8) {
    return vox::Utf8ToCp1251(utf8);
}

TEST(TypedWord, IsLowerCasedWithItsStress) {
    auto entry = ParseTypedWord(W("КОРО+ВА"));
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->text, W("корова"));
    EXPECT_EQ(entry->stress, 3);
    EXPECT_EQ(ToToken(*entry), W("коро+ва"));

    entry = ParseTypedWord(W("молоко+"));
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->stress, 5);
    EXPECT_EQ(ToToken(*entry), W("молоко+"));

    entry = ParseTypedWord(W("Ё+ЛКА"));
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->text, W("ёлка"));

    entry = ParseTypedWord(W("ко+ро+ва"));  // the first "+" counts
    ASSERT_TRUE(entry);
    EXPECT_EQ(ToToken(*entry), W("ко+рова"));
}

TEST(TypedWord, PatternsCountTheStressAfterLeadingStars) {
    auto beginning = ParseTypedWord(W("эксклюзи+вн*"));
    ASSERT_TRUE(beginning);
    EXPECT_EQ(UserVocabulary::KindOf(beginning->text), UserVocabulary::Kind::Beginning);
    EXPECT_EQ(beginning->stress, 7);

    auto ending = ParseTypedWord(W("*ова+ть"));
    ASSERT_TRUE(ending);
    EXPECT_EQ(UserVocabulary::KindOf(ending->text), UserVocabulary::Kind::Ending);
    EXPECT_EQ(ending->stress, 2);
    // Drawn on its third letter, the "а" after the star.
    EXPECT_EQ(StressedCharPosition(*ending), 3u);
    EXPECT_EQ(ToToken(*ending), W("*ова+ть"));
}

TEST(TypedWord, BadInputIsRefused) {
    for (const char* bad :
         {"", "+", "корова", "кор+ова", "короВ+а", "ko+rova", "коро+ва мо", "*+ова"})
        EXPECT_FALSE(ParseTypedWord(W(bad))) << bad;
    // The appended token must stay shorter than 127 characters.
    std::string longWord(124, W("а")[0]);
    EXPECT_TRUE(ParseTypedWord(longWord + "+" + W("а")));
    EXPECT_FALSE(ParseTypedWord(longWord + W("а") + "+" + W("а")));
}

TEST(TypedWord, TokensReadBackAsTheSameEntry) {
    for (const char* typed : {"КОРО+ВА", "молоко+", "эксклюзи+вн*", "*ова+ть", "*тирова+н*"}) {
        auto entry = ParseTypedWord(W(typed));
        ASSERT_TRUE(entry) << typed;
        UserVocabulary v;
        EXPECT_TRUE(v.Apply(ToToken(*entry)));
        EXPECT_EQ(Find(v, entry->text), entry->stress) << typed;
    }
}

TEST(MergedList, IsOrderedByBytes) {
    UserVocabulary v;
    v.Parse(W("я+ма *ова+ть а+ист ба+нк* ё+ж zoo+"));
    std::vector<std::string> texts;
    for (const Entry& e : Merged(v)) texts.push_back(e.text);
    // "*" < "ё" (0xB8) < "а" (0xE0) < "я" (0xFF); "zoo+" has no Russian vowel.
    std::vector<std::string> expected = {W("*овать"), W("ёж"), W("аист"), W("банк*"), W("яма")};
    EXPECT_EQ(texts, expected);
}

}  // namespace
}  // namespace accentor
