// The user's stress vocabulary: the change-log file, its three pattern
// kinds, hostile files, and its place before the dictionary.
#include <gtest/gtest.h>
#include <unistd.h>

#include <fcntl.h>
#include <fstream>

#include "lexicon/stress/StressLexicon.h"
#include "lexicon/stress/UserVocabulary.h"
#include "platform/CodePage.h"
#include "platform/Registry.h"
#include "tests/support/TempRegistry.h"

namespace {

using lexicon::UserVocabulary;
using Kind = UserVocabulary::Kind;

std::string W(const std::string& utf8) {
    return vox::Utf8ToCp1251(utf8);
}
std::string U(const std::string& cp1251) {
    return vox::Cp1251ToUtf8(cp1251);
}

std::string Match(const UserVocabulary& v, const std::string& word) {
    std::string out;
    return v.Match(W(word), out) ? U(out) : "-";
}

int IndexOf(const UserVocabulary& v, Kind kind, const std::string& text) {
    auto it = v.Entries(kind).find(W(text));
    return it == v.Entries(kind).end() ? -1 : it->second;
}

TEST(UserVocabulary, TokensSetAndDeleteEntriesOfTheirKind) {
    UserVocabulary v;
    v.Parse(W("КОРО+ВА\nмолоко+\r\nэксклюзи+вн*\t*ова+ть *тирова+н* **ы+вать"));
    EXPECT_EQ(IndexOf(v, Kind::Word, "корова"), 3);
    EXPECT_EQ(IndexOf(v, Kind::Word, "молоко"), 5);
    EXPECT_EQ(IndexOf(v, Kind::Beginning, "эксклюзивн*"), 7);
    EXPECT_EQ(IndexOf(v, Kind::Ending, "*овать"), 2);  // counted after the "*"
    EXPECT_EQ(IndexOf(v, Kind::Inner, "*тирован*"), 5);
    EXPECT_EQ(IndexOf(v, Kind::Ending, "**ывать"), 0);
    EXPECT_EQ(v.Size(), 6u);

    // Ignored: "+" after a consonant or first, two "+", an empty text.
    for (const char* bad : {"кор+ова", "+корова", "ко+ро+ва", "м+", "+", "*+", "12+"})
        EXPECT_FALSE(v.Apply(W(bad))) << bad;
    EXPECT_EQ(v.Size(), 6u);

    // A later stress overrides; a token without "+" deletes.
    v.Parse(W("коро+ва ко+рова\nмолоко+ молоко МОЛОКО"));
    EXPECT_EQ(IndexOf(v, Kind::Word, "корова"), 1);
    EXPECT_EQ(IndexOf(v, Kind::Word, "молоко"), -1);
    EXPECT_EQ(UserVocabulary::KindOf("*"), Kind::Word);
    EXPECT_EQ(UserVocabulary::KindOf("**"), Kind::Ending);
}

TEST(UserVocabulary, TokensOf127BytesOrMoreAreIgnored) {
    const std::string a125(125, '\xE0');  // "а" × 125
    UserVocabulary v;
    v.Parse(a125 + "+ " + a125 + "а+ " + a125 + "аа+");  // 126, 127, 128 bytes
    EXPECT_EQ(v.Size(), 1u);
    EXPECT_EQ(v.Entries(Kind::Word).begin()->first.size(), 125u);
}

TEST(UserVocabulary, PatternsMatchAsDocumented) {
    UserVocabulary v;
    v.Parse(W("*ова+ть *рова+ть эксклюзи+вн* *тирова+н* пе+чень кото+р*"));
    EXPECT_EQ(Match(v, "печень"), "пе+чень");
    EXPECT_EQ(Match(v, "печенье"), "-");  // a word entry is the whole word
    EXPECT_EQ(Match(v, "пробовать"), "пробова+ть");
    EXPECT_EQ(Match(v, "формировать"), "формирова+ть");  // the longest ending
    EXPECT_EQ(Match(v, "овать"), "ова+ть");              // "*" stands for no letters too
    EXPECT_EQ(Match(v, "эксклюзивный"), "эксклюзи+вный");
    EXPECT_EQ(Match(v, "отфильтированный"), "отфильтирова+нный");
    EXPECT_EQ(Match(v, "котором"), "кото+ром");
    EXPECT_EQ(Match(v, "молоко"), "-");
    // "ё" is read as "е", and the entry's "ё" comes back.
    v.Parse(W("вёдра+ *ёнка+"));
    EXPECT_EQ(Match(v, "ведра"), "вёдра+");
    EXPECT_EQ(Match(v, "поросенка"), "поросёнка+");
}

TEST(UserVocabulary, HostileFilesAreReadSafely) {
    vox::test::TempDir dir;
    UserVocabulary v;
    std::string error;
    EXPECT_TRUE(v.Load(dir.File("missing.txt"), &error));  // no file: no entries
    EXPECT_EQ(v.Size(), 0u);

    // Binary junk, NUL bytes, and a last line without its end.
    std::string junk;
    for (int i = 0; i < 70000; ++i) junk += static_cast<char>((i * 7919) & 0xFF);
    vox::test::WriteFile(dir.File("junk.txt"), junk + "\n" + W("коро+ва\nмолоко+"));
    EXPECT_TRUE(v.Load(dir.File("junk.txt"), &error));
    EXPECT_EQ(IndexOf(v, Kind::Word, "корова"), 3);
    EXPECT_EQ(IndexOf(v, Kind::Word, "молоко"), 5);

    // A 1 GB file (sparse: no disk used) is read up to the cap.
    const std::string big = dir.File("big.txt");
    vox::test::WriteFile(big, W("коро+ва "));
    ASSERT_EQ(truncate(big.c_str(), 1LL << 30), 0);
    error.clear();
    EXPECT_TRUE(v.Load(big, &error));
    EXPECT_NE(error.find("only that much"), std::string::npos) << error;
    EXPECT_EQ(IndexOf(v, Kind::Word, "корова"), 3);

    // A folder is not a vocabulary.
    EXPECT_FALSE(v.Load(dir.Path(), &error));
    EXPECT_EQ(v.Size(), 0u);
}

TEST(UserVocabulary, OverridesTheLexiconAndReloadsEdits) {
    vox::test::TempDir dir;
    const std::string file = dir.File("accentor.txt");
    vox::test::WriteFile(file, W("молоко+\n*и+ть\n"));
    lexicon::StressLexicon l;
    ASSERT_TRUE(l.LoadUserVocabulary(file, nullptr));
    lexicon::StressLexicon::Source from{};
    EXPECT_EQ(U(l.Stress(W("молоко"), &from)), "молоко+");
    EXPECT_EQ(from, lexicon::StressLexicon::Source::User);
    EXPECT_EQ(U(l.Stress(W("ходить"))), "ходи+ть");

    std::ofstream(file, std::ios::app) << W("мо+локо\n*ить\n");  // as the editor appends
    ASSERT_TRUE(l.LoadUserVocabulary(file, nullptr));
    EXPECT_EQ(U(l.Stress(W("молоко"))), "мо+локо");
    l.Stress(W("ходить"), &from);
    EXPECT_EQ(from, lexicon::StressLexicon::Source::Model);  // the pattern is gone
}

TEST(UserVocabulary, ThePathComesFromTheRegistry) {
    vox::test::TempRegistry registry;
    EXPECT_EQ(lexicon::UserVocabularyPathFromRegistry(), "");
    vox::reg::Key key;
    ASSERT_EQ(vox::reg::Key::Create(vox::reg::Root::LocalMachine,
                                    "Software\\Vostrelin\\Glossor Module\\419", key),
              vox::reg::Status::Ok);
    ASSERT_EQ(key.SetText("AccentorBase", "/home/u/accentor.txt"), vox::reg::Status::Ok);
    EXPECT_EQ(lexicon::UserVocabularyPathFromRegistry(), "/home/u/accentor.txt");
}

}  // namespace
