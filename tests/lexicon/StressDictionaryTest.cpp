// The compiled stress dictionary: compiling a small festvox word list,
// lookups with "ё" folding, the model, and damaged files.
#include <gtest/gtest.h>

#include <fstream>

#include "lexicon/stress/DictionaryCompiler.h"
#include "lexicon/stress/EmbeddedModel.h"
#include "lexicon/stress/FestvoxSource.h"
#include "lexicon/stress/StressDictionary.h"
#include "lexicon/stress/StressLexicon.h"
#include "platform/CodePage.h"
#include "tests/support/CapturedMessages.h"
#include "tests/support/TempRegistry.h"

namespace {

using lexicon::StressLexicon;

std::string W(const std::string& utf8) {
    return vox::Utf8ToCp1251(utf8);
}
std::string U(const std::string& cp1251) {
    return vox::Cp1251ToUtf8(cp1251);
}

// Words and their other forms, so that the model has siblings and endings to learn.
constexpr const char* kSource =
    "MNCL\n"
    "(\"молоко\" n (3))\n"
    "(\"молока\" n (3))(\"молоком\" n (3))\n"
    "(\"корова\" n (2))\n(\"коровами\" n (2))\n(\"коровы\" n (2))\n"
    "(\"елка\" n (1) fix_yo)\n"
    "(\"ежик\" n (1) fix_yo)\n(\"ёжик\" n (1))\n"
    "(\"замок\" n (1))\n(\"замок\" n (2))\n"
    "(\"читать\" v (2))\n(\"писать\" v (2))\n(\"играть\" v (2))\n(\"думать\" v (1))\n"
    "(\"бвг\" n (1))\n"
    "(\"кот\" n (0))\n";

std::vector<uint8_t> Compile() {
    lexicon::SourceLexicon source = lexicon::ParseFestvoxLexicon(kSource, "test.scm");
    EXPECT_EQ(source.problems.size(), 1u);  // "бвг" has no vowel
    EXPECT_EQ(source.unstressed, 1u);
    return lexicon::CompileDictionary(lexicon::PrepareWords(source.words), "notice\n");
}

class Dictionary : public ::testing::Test {
  protected:
    void SetUp() override {
        path_ = dir_.File("ru-stress.vxs");
        bytes_ = Compile();
        WriteBytes(bytes_);
    }
    void WriteBytes(const std::vector<uint8_t>& bytes) {
        std::ofstream out(path_, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }
    std::string Stress(const StressLexicon& l, const std::string& word,
                       StressLexicon::Source* from = nullptr) {
        return U(l.Stress(W(word), from));
    }
    vox::test::TempDir dir_;
    std::string path_;
    std::vector<uint8_t> bytes_;
};

TEST_F(Dictionary, FindsWordsAndRestoresTheirYo) {
    StressLexicon l;
    ASSERT_TRUE(l.OpenDictionary(path_, nullptr));
    StressLexicon::Source from{};
    EXPECT_EQ(Stress(l, "молоко", &from), "молоко+");
    EXPECT_EQ(from, StressLexicon::Source::Dictionary);
    EXPECT_EQ(Stress(l, "коровами"), "коро+вами");
    // fix_yo and a written "ё": typed with "е" or "ё", read with "ё".
    EXPECT_EQ(Stress(l, "елка"), "ё+лка");
    EXPECT_EQ(Stress(l, "ёлка"), "ё+лка");
    EXPECT_EQ(Stress(l, "ежик"), "ё+жик");
    // A homograph keeps its first stress.
    EXPECT_EQ(Stress(l, "замок"), "за+мок");
}

TEST_F(Dictionary, ModelGuessesUnknownWordsFromSiblingsAndEndings) {
    StressLexicon l;
    ASSERT_TRUE(l.OpenDictionary(path_, nullptr));
    StressLexicon::Source from{};
    EXPECT_EQ(Stress(l, "коровам", &from), "коро+вам");  // another form of "корова"
    EXPECT_EQ(from, StressLexicon::Source::Model);
    EXPECT_EQ(Stress(l, "мечтать"), "мечта+ть");          // the ending "-ать"
    EXPECT_EQ(Stress(l, "сыр"), "сы+р");                  // one vowel
    EXPECT_EQ(Stress(l, "трёхэтажный"), "трё+хэтажный");  // a written "ё" is stressed
    EXPECT_EQ(Stress(l, "бвг", &from), "бвг");            // no vowel: unchanged
    EXPECT_EQ(from, StressLexicon::Source::None);
    EXPECT_EQ(Stress(l, ""), "");
}

TEST_F(Dictionary, KeepsItsNotice) {
    lexicon::StressDictionary d;
    ASSERT_TRUE(d.Open(path_, nullptr));
    EXPECT_EQ(d.Notice(), "notice\n");
    EXPECT_EQ(d.WordCount(), 13u);  // 16 entries less "бвг", "кот", a homograph, "ежик"/"ёжик"
}

TEST_F(Dictionary, EveryTruncationIsRefused) {
    for (size_t size = 0; size < bytes_.size(); size += 7) {
        std::vector<uint8_t> cut(bytes_.begin(), bytes_.begin() + ptrdiff_t(size));
        lexicon::StressDictionary d;
        std::string error;
        EXPECT_FALSE(d.Attach(cut, &error)) << size;
        EXPECT_NE(error.find("not a valid compiled stress dictionary"), std::string::npos);
    }
}

TEST_F(Dictionary, DamagedHeadersAreRefusedWithTheirReason) {
    struct Case {
        size_t at;
        uint8_t value;
        const char* reason;
    } cases[] = {
        {0, 'X', "header"},  {8, 9, "version 9"}, {12, 0xFF, "bytes"},  {23, 0x7F, "index"},
        {27, 0x7F, "words"}, {39, 0x7F, "model"}, {43, 0x7F, "notice"}, {35, 0x7F, "model"},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> bad = bytes_;
        bad[c.at] = c.value;
        lexicon::StressDictionary d;
        std::string error;
        EXPECT_FALSE(d.Attach(bad, &error)) << c.at;
        EXPECT_NE(error.find(c.reason), std::string::npos) << c.at << ": " << error;
    }
}

TEST_F(Dictionary, DamagedRecordsAreNotFoundNeverReadOutside) {
    // Garbage in the words and the model: lookups answer, whatever they say.
    std::vector<uint8_t> bad = bytes_;
    for (size_t i = 64 + 4 * 13; i < bad.size(); i += 3) bad[i] ^= 0x5A;
    lexicon::StressDictionary d;
    ASSERT_TRUE(d.Attach(bad, nullptr));
    std::string spelled;
    size_t stress = 0;
    for (const char* word : {"молоко", "корова", "мечтать", "я", "ааааааааааааааааааааааааааааа"}) {
        d.Find(W(word), spelled, stress);
        const size_t at = d.Predict(W(word));
        EXPECT_LT(at, W(word).size());
    }
}

TEST_F(Dictionary, MissingOrDamagedFileLeavesTheModelAndSaysSoOnce) {
    vox::test::CapturedMessages messages;
    WriteBytes(std::vector<uint8_t>(bytes_.begin(), bytes_.begin() + 100));
    StressLexicon l;
    std::string error;
    EXPECT_FALSE(l.OpenDictionary(path_, &error));
    EXPECT_NE(error.find("truncated"), std::string::npos) << error;
    EXPECT_FALSE(l.OpenDictionary(dir_.File("missing.vxs"), &error));
    EXPECT_FALSE(l.HasDictionary());
    ASSERT_EQ(messages.All().size(), 1u);
    EXPECT_NE(messages.All()[0].text.find("model only"), std::string::npos);
    // The model built into the program (learned from festvox-ru) still guesses.
    StressLexicon::Source from{};
    EXPECT_EQ(Stress(l, "корова", &from), "коро+ва");
    EXPECT_EQ(from, StressLexicon::Source::Model);
    if (lexicon::EmbeddedModel().size > 0) {  // festvox-ru was there at build time
        EXPECT_EQ(Stress(l, "программирование"), "программи+рование");
    }
    EXPECT_EQ(Stress(l, "ёлка"), "ё+лка");
}

TEST(DictionaryPath, FollowsTheEnvironment) {
    setenv("VOXAMEN_STRESS_DICTIONARY", "/x/y.vxs", 1);
    EXPECT_EQ(lexicon::DefaultDictionaryPath(), "/x/y.vxs");
    unsetenv("VOXAMEN_STRESS_DICTIONARY");
    setenv("XDG_DATA_HOME", "/data", 1);
    EXPECT_EQ(lexicon::DefaultDictionaryPath(), "/data/voxamen/lexicon/ru-stress.vxs");
    unsetenv("XDG_DATA_HOME");
}

}  // namespace
