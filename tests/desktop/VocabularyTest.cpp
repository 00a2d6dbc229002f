// The stress vocabulary's change log: kinds, stress positions, overrides.
#include <gtest/gtest.h>

#include "platform/CodePage.h"
#include "stress-editor/Vocabulary.h"

namespace accentor {
namespace {

std::string W(const char* utf8) {
    return vox::Utf8ToCp1251(utf8);
}

TEST(Vocabulary, KindFollowsTheStarsAtTheEnds) {
    EXPECT_EQ(KindOf(W("корова")), EntryKind::Word);
    EXPECT_EQ(KindOf("*"), EntryKind::Word);  // one character
    EXPECT_EQ(KindOf(W("*ать")), EntryKind::EndingPattern);
    EXPECT_EQ(KindOf(W("эксклюзивн*")), EntryKind::BeginningPattern);
    EXPECT_EQ(KindOf(W("*вн*")), EntryKind::InnerPattern);
    EXPECT_EQ(KindOf("**"), EntryKind::EndingPattern);  // too short to be inner
}

TEST(Vocabulary, TypedWordIsLowerCasedWithItsStress) {
    auto entry = ParseStressedToken(W("КОРО+ВА"));
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->text, W("корова"));
    EXPECT_EQ(entry->stress, 3);
    EXPECT_EQ(ToToken(*entry), W("коро+ва"));

    entry = ParseStressedToken(W("молоко+"));
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->stress, 5);
    EXPECT_EQ(ToToken(*entry), W("молоко+"));

    entry = ParseStressedToken(W("ЁЛ+КА"));
    EXPECT_FALSE(entry);  // stress after a consonant
    entry = ParseStressedToken(W("Ё+ЛКА"));
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->text, W("ёлка"));
}

TEST(Vocabulary, PatternsCountTheStressAfterLeadingStars) {
    auto beginning = ParseStressedToken(W("эксклюзи+вн*"));
    ASSERT_TRUE(beginning);
    EXPECT_EQ(KindOf(beginning->text), EntryKind::BeginningPattern);
    EXPECT_EQ(beginning->stress, 7);

    auto ending = ParseStressedToken(W("*ова+ть"));
    ASSERT_TRUE(ending);
    EXPECT_EQ(KindOf(ending->text), EntryKind::EndingPattern);
    EXPECT_EQ(ending->stress, 2);
    // Drawn on its third letter, the "а" after the star.
    EXPECT_EQ(StressedCharPosition(*ending), 3u);
    EXPECT_EQ(ending->text[3], W("а")[0]);
    EXPECT_EQ(ToToken(*ending), W("*ова+ть"));
}

TEST(Vocabulary, BadTokensAreRefused) {
    EXPECT_FALSE(ParseStressedToken(""));
    EXPECT_FALSE(ParseStressedToken("+"));
    EXPECT_FALSE(ParseStressedToken(W("корова")));         // no "+"
    EXPECT_FALSE(ParseStressedToken(W("кор+ова")));        // after a consonant
    EXPECT_FALSE(ParseStressedToken(W("коро+ва+")));       // two "+" in the file
    EXPECT_TRUE(ParseStressedToken(W("коро+ва+"), true));  // typed: the first counts
    EXPECT_FALSE(ParseStressedToken(W("ko+rova")));        // Latin vowel
    EXPECT_FALSE(ParseStressedToken(W("коро+ва мо")));     // would be two tokens
    EXPECT_FALSE(ParseStressedToken("*+" + W("ова")));     // star before the "+"
    // Tokens of 127 characters or more are ignored by the file's reader.
    std::string longWord(125, W("а")[0]);
    EXPECT_TRUE(ParseStressedToken(longWord + "+"));
    EXPECT_FALSE(ParseStressedToken(longWord + W("а") + "+"));
}

TEST(Vocabulary, LaterTokensOverrideEarlierOnes) {
    Vocabulary v;
    v.ApplyLog(W("коро+ва\nмолоко+\r\n  эксклюзи+вн*\tкорова+\n"));
    EXPECT_EQ(v.Size(), 3u);
    EXPECT_EQ(v.Find(W("корова")), 5);  // the second stress wins
    v.ApplyLog(W("молоко\n"));          // a token without "+" deletes
    EXPECT_FALSE(v.Find(W("молоко")));
    v.ApplyLog(W("ко+ро+ва\n") + std::string(130, 'x') + "+\n" + W("ко+рова") + "\n");
    EXPECT_EQ(v.Find(W("корова")), 1);  // only the single-"+" token counted
    EXPECT_EQ(v.Size(), 2u);
}

TEST(Vocabulary, MergedListIsOrderedByBytes) {
    Vocabulary v;
    v.ApplyLog(W("я+ма *ова+ть а+ист ба+нк* ё+ж zoo+"));
    std::vector<std::string> texts;
    for (const Entry& e : v.Merged()) texts.push_back(e.text);
    // "*" < Latin < "ё" (0xB8) < "а" (0xE0) < "я" (0xFF); "zoo+" has no Russian vowel.
    std::vector<std::string> expected = {W("*овать"), W("ёж"), W("аист"), W("банк*"), W("яма")};
    EXPECT_EQ(texts, expected);
}

TEST(Vocabulary, SetRefusesTheSameStressAndRemoveTakesTheFirstKind) {
    Vocabulary v;
    EXPECT_TRUE(v.Set({W("корова"), 3}));
    EXPECT_FALSE(v.Set({W("корова"), 3}));
    EXPECT_TRUE(v.Set({W("корова"), 1}));
    EXPECT_TRUE(v.Remove(W("корова")));
    EXPECT_FALSE(v.Remove(W("корова")));
}

}  // namespace
}  // namespace accentor
