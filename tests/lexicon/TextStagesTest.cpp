// The analysis stages one by one: tokens, sentences and syntagma types,
// words (abbreviations, initialisms, Latin, hyphens), clitics, the
// pronunciation fixes and the letters handed to the phonetic module.
#include <gtest/gtest.h>

#include "lexicon/TextAnalysis.h"
#include "lexicon/Transcriber.h"
#include "lexicon/text/Clitics.h"
#include "lexicon/text/Letters.h"
#include "lexicon/text/Pronunciation.h"
#include "lexicon/text/Sentences.h"
#include "lexicon/text/Tokenizer.h"
#include "platform/CodePage.h"

namespace lexicon {
namespace {

using vox::Cp1251ToUtf8;
using vox::Utf8ToCp1251;

// "TYPE<TAB>words" per syntagma, as `voxamen lexicon analyse` prints them.
std::vector<std::string> Lines(const std::string& utf8, bool stress = false,
                               Transcriber* transcriber = nullptr) {
    static const StressLexicon lexicon;
    TextAnalysis analysis;
    analysis.SetText(Utf8ToCp1251(utf8), nullptr, 0);
    std::vector<std::string> out;
    for (int32_t s = 0; s < analysis.SentenceCount(); ++s)
        for (const AnalysedSyntagma& syntagma : analysis.Words(s, lexicon, transcriber, stress)) {
            std::string line = syntagma.type + "\t";
            for (size_t i = 0; i < syntagma.words.size(); ++i)
                line += (i ? " " : "") + Cp1251ToUtf8(syntagma.words[i].shown) +
                        (transcriber ? "=" + syntagma.words[i].transcription : "");
            out.push_back(line);
        }
    return out;
}

TEST(Tokenizer, CoversTheTextWithWordsNumbersMarksAndBlanks) {
    const std::string text = Utf8ToCp1251("Кто-то, 12 мо+ре!\n\nC++");
    const std::vector<Token> tokens = Tokenize(text);
    int64_t at = 0;
    for (const Token& t : tokens) {
        EXPECT_EQ(t.pos, at);
        at += t.len;
    }
    EXPECT_EQ(at, static_cast<int64_t>(text.size()));
    EXPECT_EQ(Cp1251ToUtf8(tokens[0].Text(text)), "Кто-то");
    EXPECT_EQ(tokens[3].kind, TokenKind::Number);
    EXPECT_EQ(Cp1251ToUtf8(tokens[5].Text(text)), "мо+ре");  // the stress mark stays inside
    EXPECT_EQ(tokens[7].newlines, 2);
    // A word longer than the limit is cut, never unbounded.
    EXPECT_EQ(Tokenize(std::string(1000, 'a')).size(),
              (1000 + kMaxWordLength - 1) / kMaxWordLength);
}

TEST(Sentences, TypesFollowTheOneTable) {
    EXPECT_EQ(Lines("Он пришёл, сел; ждал: тишина — и (вдруг) звонок."),
              (std::vector<std::string>{"(,)|(,)\tон пришёл", "(;)|(;)\tсел", "(:)|(:)\tждал",
                                        "(-)|(-)\tтишина", "(())|(())\tи", "(())|(())\tвдруг",
                                        "(.)|(.)\tзвонок"}));
    EXPECT_EQ(Lines("Ты придёшь?")[0], "(?)|(?.)\tты придёшь");
    EXPECT_EQ(Lines("Когда ты придёшь?")[0], "(?.)|(?.)\tкогда ты придёшь");
    EXPECT_EQ(Lines("Ура!")[0], "(!)|(!.)\tура");
    EXPECT_EQ(Lines("Ну что ж…")[0], "(..)|(..)\tну что ж");
    EXPECT_EQ(Lines("Без точки в конце")[0], "(.)|(.)\tбез точки в конце");
}

TEST(Sentences, AbbreviationsInitialsAndNumbersDoNotEndASentence) {
    EXPECT_EQ(Lines("А. С. Пушкин родился в 1799 г. в Москве.").size(), 1u);
    EXPECT_EQ(Lines("Стоит 2.5 и т.д. и т.п. всё.").size(), 1u);
    EXPECT_EQ(Lines("Это сайт example.com. Второе.").size(), 2u);
    EXPECT_EQ(Lines("Раз\n\nДва").size(), 2u);
}

TEST(Sentences, LongRunsAreSplitAtWordBoundaries) {
    std::string text;
    for (int i = 0; i < 1000; ++i) text += "слово ";
    const std::string cp = Utf8ToCp1251(text);
    const std::vector<Token> tokens = Tokenize(cp);
    const std::vector<SentenceSpan> sentences =
        SplitSentences(cp, tokens, [&](size_t i) { return tokens[i].kind == TokenKind::Word; });
    size_t syntagmas = 0;
    for (const SentenceSpan& s : sentences) {
        EXPECT_LE(s.syntagmas.size(), static_cast<size_t>(kMaxSentenceSyntagmas));
        for (const SyntagmaSpan& sp : s.syntagmas) {
            int words = 0;
            for (uint32_t i = sp.begin; i < sp.end; ++i) words += tokens[i].kind == TokenKind::Word;
            EXPECT_LE(words, kMaxSyntagmaTokens);
            ++syntagmas;
        }
    }
    EXPECT_EQ(syntagmas, (1000 + kMaxSyntagmaTokens - 1) / kMaxSyntagmaTokens);
}

TEST(Words, AbbreviationsInitialismsLatinAndSymbols) {
    EXPECT_EQ(Lines("США и МГУ, МИД и РФ.", true),
              (std::vector<std::string>{"(,)|(,)\tсэ-шэ-а+ и эм-гэ-у+", "(.)|(.)\tми+д и эр-э+ф"}));
    EXPECT_EQ(Lines("Скачай Linux с kernel.org")[0], "(.)|(.)\tскачай линукс с кернел точка орг");
    EXPECT_EQ(Lines("BBC и C++")[0], "(.)|(.)\tби-би-си и си плюс плюс");
    EXPECT_EQ(Lines("пиши на a@b.ru")[0], "(.)|(.)\tпиши на эй собака би точка ру");
    // Emoji and signs without a reading are skipped, their neighbours kept.
    EXPECT_EQ(Lines("Привет \x01 \x7F мир")[0], "(.)|(.)\tпривет мир");
}

TEST(Words, HyphensMakeOneWordAndADashIsAPause) {
    EXPECT_EQ(Lines("кто-то по-русски кофе-брейк из-за дома", true)[0],
              "(.)|(.)\tкто+-то по-ру+сски ко+фе-бре+йк из-за до+ма");
    EXPECT_EQ(Lines("Он - врач"), (std::vector<std::string>{"(-)|(-)\tон", "(.)|(.)\tврач"}));
}

TEST(Clitics, JoinTheirWordAndCarryNoStress) {
    EXPECT_EQ(Lines("в этом доме и не был бы", true)[0], "(.)|(.)\tв э+том до+ме и не+ был бы");
    std::vector<SpokenWord> words(2);
    words[0].text = Utf8ToCp1251("в");
    words[1].text = Utf8ToCp1251("и+гре");
    MarkClitics(words);
    EXPECT_TRUE(words[0].proclitic);
    // A hard sign keeps "и" after the preposition as "ы": "в игре" is [вы]гре.
    EXPECT_EQ(Cp1251ToUtf8(JoinClitics(words)[0].letters), "въи+гре");
}

TEST(Pronunciation, FixesWhatTheLetterRulesDoNotKnow) {
    auto fix = [](const char* w) { return Cp1251ToUtf8(FixPronunciation(Utf8ToCp1251(w))); };
    EXPECT_EQ(fix("здра+вствуйте"), "здра+ствуйте");
    EXPECT_EQ(fix("со+лнце"), "со+нце");
    EXPECT_EQ(fix("се+рдце"), "се+рце");
    EXPECT_EQ(fix("чу+вство"), "чу+ство");
    EXPECT_EQ(fix("счастли+вый"), "счасли+вый");
    EXPECT_EQ(fix("по+здно"), "по+зно");
    EXPECT_EQ(fix("мо+ется"), "мо+еца");
    EXPECT_EQ(fix("смея+ться"), "смея+ца");
    EXPECT_EQ(fix("кра+сного"), "кра+сново");
    EXPECT_EQ(fix("его+"), "ево+");
    EXPECT_EQ(fix("мно+го"), "мно+го");
    EXPECT_EQ(fix("что+"), "што+");
    EXPECT_EQ(fix("что+-то"), "што+-то");
    EXPECT_EQ(fix("коне+чно"), "коне+шно");
    EXPECT_EQ(fix("ску+чно"), "ску+шно");
}

TEST(Transcription, EveryWordThroughTheLetterRulesWithVoicingAcrossJoins) {
    Transcriber rules;
    EXPECT_EQ(
        Lines("В э+том до+ме. Из до+ма. В го+роде. С ва+ми. Ё+лка трёхэта+жная.", true, &rules),
        (std::vector<std::string>{
            "(.)|(.)\tв э+том=V,E0,T,A2,M до+ме=D,O0,M',E2", "(.)|(.)\tиз до+ма=I1,Z,D,O0,M,A2",
            "(.)|(.)\tв го+роде=V,G,O0,R,A2,D',E2", "(.)|(.)\tс ва+ми=S,V,A0,M',I2",
            "(.)|(.)\tё+лка=J',O0,L,K,A2 трёхэта+жная=T,R',O5,X,E1,T,A0,ZH,N,A2,J',A2"}));
}

TEST(Letters, RomanNumeralsAndSpelling) {
    EXPECT_EQ(RomanValue("XXI"), 21);
    EXPECT_EQ(RomanValue("IIII"), 0);
    EXPECT_EQ(RomanValue("MCMXCIX"), 1999);
    EXPECT_EQ(Cp1251ToUtf8(Spell(Utf8ToCp1251("ФСБ"))), "эф-эс-бэ+");
    EXPECT_TRUE(SpellInitialism(Utf8ToCp1251("США")));
    EXPECT_FALSE(SpellInitialism(Utf8ToCp1251("НАТО")));
}

TEST(Letters, InitialismsSpelledOrSaidAsRussiansSayThem) {
    auto read = [](const char* w) {
        const std::string cp = Utf8ToCp1251(w);
        return SpellInitialism(cp) ? Cp1251ToUtf8(ReadInitialism(cp)) : std::string("word");
    };
    EXPECT_EQ(read("США"), "сэ-шэ-а+");
    EXPECT_EQ(read("МГУ"), "эм-гэ-у+");
    EXPECT_EQ(read("ФСБ"), "эф-эс-бэ+");
    EXPECT_EQ(read("РФ"), "эр-э+ф");
    EXPECT_EQ(read("СССР"), "эс-эс-эс-э+р");
    EXPECT_EQ(read("ВВП"), "вэ-вэ-пэ+");
    for (const char* word : {"МИД", "ВУЗ", "ГОСТ", "НАТО", "МХАТ", "ТАСС", "ЗАГС", "СПИД"})
        EXPECT_EQ(read(word), "word") << word;
}

TEST(Letters, LatinWordsInARussianReading) {
    auto read = [](const char* w) { return Cp1251ToUtf8(ReadLatin(w)); };
    // A silent final or compound-joining "e" gives the vowel before it its name.
    EXPECT_EQ(read("firefox"), "файрфокс");
    EXPECT_EQ(read("online"), "онлайн");
    EXPECT_EQ(read("game"), "гейм");
    EXPECT_EQ(read("home"), "хоум");
    EXPECT_EQ(read("timeline"), "таймлайн");
    EXPECT_EQ(read("space"), "спейс");
    // Not in an unstressed later syllable, nor after a vowel pair.
    EXPECT_EQ(read("office"), "офис");
    EXPECT_EQ(read("develop"), "девелоп");
    // Digraphs.
    EXPECT_EQ(read("photo"), "фото");
    EXPECT_EQ(read("shell"), "шел");
    EXPECT_EQ(read("chat"), "чат");
    EXPECT_EQ(read("green"), "грин");
    EXPECT_EQ(read("book"), "бук");
    EXPECT_EQ(read("box"), "бокс");
    EXPECT_EQ(read("quest"), "квест");
    EXPECT_EQ(read("thread"), "трид");
    // Nothing to pronounce: spelled, never dropped.
    EXPECT_EQ(read("HTTP"), "эйч-ти-ти-пи+");
}

TEST(Analysis, BadInputGivesWellFormedWords) {
    // A 10,000-digit number is read in groups, in syntagmas of bounded size.
    const std::vector<std::string> lines = Lines(std::string(10000, '7'));
    EXPECT_GT(lines.size(), 100u);
    // Unbalanced quotes and brackets lose no word.
    EXPECT_EQ(Lines("«Привет (мир")[0], "(())|(())\tпривет");
    EXPECT_EQ(Lines("«Привет (мир")[1], "(.)|(.)\tмир");
    // A megabyte without punctuation becomes bounded sentences of bounded syntagmas.
    std::string mega;
    while (mega.size() < (1u << 20)) mega += Utf8ToCp1251("слово ");
    TextAnalysis big;
    big.SetText(mega, nullptr, 0);
    ASSERT_GT(big.SentenceCount(), 500);
    static const StressLexicon lexicon;
    const std::vector<AnalysedSyntagma> last = big.Words(big.SentenceCount() - 1, lexicon, nullptr);
    ASSERT_FALSE(last.empty());
    EXPECT_LE(last[0].words.size(), static_cast<size_t>(kMaxSyntagmaTokens));
    // A NUL byte ends the text.
    EXPECT_EQ(Lines(std::string("Раз\0Два", 7)).size(), 1u);
}

}  // namespace
}  // namespace lexicon
