// The text side of the builder: label, prompt, dictionary and phone-map
// readers (with their file:line messages), stress placement and alignment.
#include <gtest/gtest.h>

#include "platform/CodePage.h"
#include "tools/voicebuild/Aligner.h"
#include "tools/voicebuild/LabelReader.h"
#include "tools/voicebuild/PhoneMap.h"
#include "tools/voicebuild/PromptReader.h"
#include "tools/voicebuild/StressDictionary.h"
#include "tools/voicebuild/StressPlacement.h"

namespace vox::voicebuild {
namespace {

TEST(LabelReaderTest, ReadsEndTimesAfterTheHeader) {
    std::string error;
    auto labels =
        ParseLabels("signal ru_0001\nnfields 1\n#\n0.342 125 pau\n0.392 125 k\n\n0.422 125 ay\n",
                    "lab/x.lab", error);
    ASSERT_TRUE(labels) << error;
    ASSERT_EQ(labels->size(), 3u);
    EXPECT_EQ((*labels)[0].start, 0.0);
    EXPECT_EQ((*labels)[1].phone, "k");
    EXPECT_DOUBLE_EQ((*labels)[1].start, 0.342);
    EXPECT_DOUBLE_EQ((*labels)[2].end, 0.422);
    EXPECT_EQ((*labels)[2].line, 7);
}

TEST(LabelReaderTest, NamesFileAndLineOfEveryDefect) {
    const std::pair<const char*, const char*> cases[] = {
        {"0.1 125 pau\n", "lab/x.lab:1: no \"#\" line ends the header"},
        {"#\n0.1 125 pau\nabc 125 k\n", "lab/x.lab:3: bad end time \"abc\""},
        {"#\n0.2 125 pau\n0.1 125 k\n",
         "lab/x.lab:3: end time 0.1 is before the previous phone's end"},
        {"#\n0.2 pau\n", "lab/x.lab:2: expected \"END_TIME COLOUR PHONE\", found \"0.2 pau\""},
        {"#\n", "lab/x.lab:1: no phones"},
        {"#\n-1 125 pau\n", "lab/x.lab:2: bad end time \"-1\""},
    };
    for (const auto& [text, message] : cases) {
        std::string error;
        EXPECT_FALSE(ParseLabels(text, "lab/x.lab", error)) << text;
        EXPECT_EQ(error, message);
    }
    std::string error;
    EXPECT_FALSE(ReadLabels("/nonexistent/x.lab", error));
    EXPECT_EQ(error, "/nonexistent/x.lab: cannot be read");
}

TEST(PromptReaderTest, ReadsPromptsAndSkipsBadLinesWithTheirLine) {
    std::vector<std::string> problems;
    auto prompts = ParsePrompts(
        "( ru_0001 \"Она сказала: \\\"да\\\".\" )\n"
        "( ru_0002 \"без скобки\"\n"
        "\n"
        "( ru_0003 \"ещё\" )\n"
        "( ru_0001 \"снова\" )\n"
        "ru_0004 \"x\"\n",
        "etc/txt.done.data", problems);
    ASSERT_EQ(prompts.size(), 2u);
    EXPECT_EQ(prompts[0].id, "ru_0001");
    EXPECT_EQ(prompts[0].text, "Она сказала: \"да\".");
    EXPECT_EQ(prompts[1].id, "ru_0003");
    EXPECT_EQ(prompts[1].line, 4);
    ASSERT_EQ(problems.size(), 3u);
    EXPECT_EQ(problems[0], "etc/txt.done.data:2: expected \")\" after the text of \"ru_0002\"");
    EXPECT_EQ(problems[1], "etc/txt.done.data:5: utterance \"ru_0001\" listed twice");
    EXPECT_EQ(problems[2], "etc/txt.done.data:6: expected ( ID \"text\" )");
}

TEST(StressDictionaryTest, ReadsEntriesKeepsTheFirstReadingAndReportsBadOnes) {
    std::vector<std::string> problems;
    StressDictionary d = StressDictionary::Parse(
        "MNCL\n"
        "(\"берег\" n (1))\n"
        "(\"берег\" v (2))\n"
        "(\"лишь\" aux (1))(\"ююбой\" n (2))\n"
        "(\"аксенов\" surname (2) fix_yo)\n"
        "(\"плохо\" adv (x))\n"
        "(\"а\" cc (0))\n",
        "dict.scm", problems);
    EXPECT_EQ(d.Size(), 5u);
    ASSERT_NE(d.Find(Utf8ToCp1251("берег")), nullptr);
    EXPECT_EQ(d.Find(Utf8ToCp1251("берег"))->vowel, 1);
    EXPECT_NE(d.Find(Utf8ToCp1251("ююбой")), nullptr) << "two entries on one line";
    EXPECT_TRUE(d.Find(Utf8ToCp1251("аксенов"))->yo);
    EXPECT_EQ(d.Find(Utf8ToCp1251("а"))->vowel, 0);
    EXPECT_EQ(d.Find(Utf8ToCp1251("плохо")), nullptr);
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0], "dict.scm:6: bad stress number of \"плохо\"");
}

std::vector<std::string> Words(const StressPlacementResult& r) {
    std::vector<std::string> out;
    for (const StressedWord& w : r.words) out.push_back(Cp1251ToUtf8(w.text));
    return out;
}

TEST(StressPlacementTest, PromptMarksThenDictionaryThenYoThenNone) {
    std::vector<std::string> problems;
    StressDictionary d = StressDictionary::Parse(
        "(\"молоко\" n (3))\n(\"аксенов\" surname (2) fix_yo)\n(\"на\" prp (0))\n", "d", problems);
    StressPlacementResult r = PlaceStress("Вол+ос, +Окна на молоко; Аксенов ёлка хлеб", &d);
    EXPECT_EQ(Words(r), (std::vector<std::string>{"воло+с", "о+кна", "на", "молоко+", "аксё+нов",
                                                  "ё+лка", "хлеб"}));
    EXPECT_EQ(r.words[0].source, StressSource::Prompt);
    EXPECT_EQ(r.words[2].source, StressSource::None) << "0 in the dictionary: unstressed";
    EXPECT_EQ(r.words[3].source, StressSource::Dictionary);
    EXPECT_EQ(r.words[5].source, StressSource::Yo);
    EXPECT_EQ(r.words[6].source, StressSource::None);
    EXPECT_TRUE(r.problems.empty());
}

TEST(StressPlacementTest, PhraseBreaksComeFromPunctuationNotFromHyphens) {
    StressPlacementResult r = PlaceStress("серо-карие глаза, - и так", nullptr);
    EXPECT_EQ(Words(r), (std::vector<std::string>{"серо", "карие", "глаза", "и", "так"}));
    std::vector<bool> breaks;
    for (const StressedWord& w : r.words) breaks.push_back(w.phraseBreakBefore);
    EXPECT_EQ(breaks, (std::vector<bool>{false, false, false, true, false}));
}

TEST(StressPlacementTest, MisplacedMarksAreReportedAndDropped) {
    StressPlacementResult r = PlaceStress("х+а+ос с+толом мо+", nullptr);
    EXPECT_EQ(Words(r), (std::vector<std::string>{"ха+ос", "столом", "мо"}));
    EXPECT_EQ(r.problems.size(), 3u);
    StressPlacementResult after = PlaceStress("мо+ре +ок", nullptr, PromptMarks::AfterVowel);
    EXPECT_EQ(Words(after), (std::vector<std::string>{"мо+ре", "ок"}));
    EXPECT_EQ(after.problems.size(), 1u);
}

TEST(PhoneMapTest, ReportsTheLineOfABadEntry) {
    const std::pair<const char*, const char*> cases[] = {
        {"pau pause\naa vowel A\n",
         "map:2: unknown kind \"vowel\" (pause, stressed, unstressed or consonant)"},
        {"p consonant P B\n", "map:1: a consonant takes one consonant phoneme (like P or SH')"},
        {"a unstressed A Q\n", "map:1: a vowel takes one or more of the letters A E I O U Y"},
        {"pau pause\npau pause\n", "map:2: phone \"pau\" mapped twice"},
        {"pau pause #\n# nothing\n\nx\n", "map:4: expected \"PHONE KIND [PHONEMES…]\""},
        {"# only comments\n", "map: no phones mapped"},
    };
    for (const auto& [text, message] : cases) {
        std::string error;
        EXPECT_FALSE(PhoneMap::Parse(text, "map", error)) << text;
        EXPECT_EQ(error, message);
    }
}

TEST(PhoneMapTest, TheFestvoxMapCoversTheCorpusPhoneSet) {
    std::string error;
    auto map =
        PhoneMap::Load(std::string(VOXAMEN_SOURCE_DIR) + "/voices/ru-nsh/phone-map.txt", error);
    ASSERT_TRUE(map) << error;
    EXPECT_EQ(map->Size(), 51u);
    EXPECT_EQ(map->Find("pau")->kind, PhoneKind::Pause);
    EXPECT_EQ(map->Find("ii")->phonemes, (std::vector<std::string>{"I", "Y"}));
    // "ae" follows soft consonants (the phone set's own comment swaps it with "ay").
    EXPECT_EQ(map->Find("ae")->phonemes, (std::vector<std::string>{"E", "I", "A"}));
    EXPECT_EQ(map->Find("ae")->kind, PhoneKind::UnstressedVowel);
    EXPECT_EQ(map->Find("sch")->phonemes, (std::vector<std::string>{"SH'"}));
    EXPECT_EQ(map->Find("h")->phonemes, (std::vector<std::string>{"X"}));
}

class AlignerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string error;
        map_ = PhoneMap::Parse(
            "pau pause\naa stressed A\na unstressed A\nay unstressed A Y E\nn consonant N\nnn "
            "consonant N'\n"
            "t consonant T\nd consonant D\nv consonant V\ns consonant S\n",
            "map", error);
        ASSERT_TRUE(map_) << error;
    }
    std::vector<LabelSegment> Labels(const std::vector<std::string>& phones) {
        std::vector<LabelSegment> out;
        for (size_t i = 0; i < phones.size(); ++i)
            out.push_back({phones[i], i * 0.1, (i + 1) * 0.1, int(i + 2)});
        return out;
    }
    std::optional<PhoneMap> map_;
};

TEST_F(AlignerTest, MatchesPhonemesToSegmentsAcrossFamiliesAndReductions) {
    std::string error;
    // "да вот" spoken with a pause, the final т voiced in the labels.
    auto a = Align({"#", "D", "A1", "_", "V", "O0", "T", "#"},
                   Labels({"pau", "d", "ay", "pau", "v", "aa", "d", "pau"}), *map_, "x.lab", error);
    ASSERT_TRUE(a) << error;
    EXPECT_EQ(a->segmentOf, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7}));
    EXPECT_FLOAT_EQ(a->costOf[6], 0.3f) << "T for d: one family";
    EXPECT_FLOAT_EQ(a->costOf[5], 0.2f) << "O0 for aa: another vowel letter";
    EXPECT_LT(a->CostPerPhone(), 0.2);
}

TEST_F(AlignerTest, LeavesPhonemesWithoutSegmentsAndPausesOnlyAtBoundaries) {
    std::string error;
    // A geminate the labels collapsed, and a word boundary without a pause.
    auto a = Align({"#", "N'", "N'", "A0", "_", "T", "A1", "#"},
                   Labels({"pau", "nn", "aa", "t", "a", "pau"}), *map_, "x.lab", error);
    ASSERT_TRUE(a) << error;
    EXPECT_EQ(std::count(a->segmentOf.begin(), a->segmentOf.end(), -1), 2)
        << "one N' and the \"_\"";
    EXPECT_EQ(a->segmentOf[3], 2);
    EXPECT_EQ(a->segmentOf[4], -1);
    EXPECT_EQ(a->segmentOf[7], 5);
    // A pause inside a word is no phoneme's segment.
    auto b = Align({"#", "T", "A0", "T", "#"}, Labels({"pau", "t", "aa", "pau", "t", "pau"}), *map_,
                   "x.lab", error);
    ASSERT_TRUE(b);
    EXPECT_EQ(b->segmentOf, (std::vector<int>{0, 1, 2, 4, 5}));
}

TEST_F(AlignerTest, AnUnmappedPhoneIsAnErrorAtItsLabelLine) {
    std::string error;
    EXPECT_FALSE(Align({"#", "A0", "#"}, Labels({"pau", "oo", "pau"}), *map_, "lab/u.lab", error));
    EXPECT_EQ(error, "lab/u.lab:3: phone \"oo\" is not in the phone map");
}

}  // namespace
}  // namespace vox::voicebuild
