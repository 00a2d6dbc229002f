#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <random>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "phonetic/LetterToPhoneme.h"
#include "platform/CodePage.h"
#include "platform/Text.h"

namespace vox {
namespace {

struct Golden {
    const char* text;      // UTF-8; converted to Windows-1251 for the call
    const char* phonemes;  // expected phrase, "" for no phrase
    const char* pins;      // the behaviour this line holds in place
};

std::string Convert(std::string_view utf8, bool zhClusterRule = false) {
    return LettersToPhonemes(Utf8ToCp1251(utf8), {zhClusterRule});
}

void ExpectGolden(const std::vector<Golden>& table, bool zhClusterRule) {
    for (const Golden& line : table) {
        EXPECT_EQ(Convert(line.text, zhClusterRule), line.phonemes)
            << "«" << line.text << "»: " << line.pins;
    }
}

// clang-format off
const std::vector<Golden> kStressAndWords = {
    {"мо+ре", "#,M,O0,R',E2,#", "stressed vowel 0, later vowel 2, р softened by е"},
    {"до+м", "#,D,O0,M,#", "one stressed syllable"},
    {"хлеб", "#,X,L',E1,P,#", "no mark: digit 1; final б devoiced"},
    {"молоко", "#,M,A1,L,A1,K,A1,#", "no mark: every unstressed о is A1"},
    {"МО+РЕ", "#,M,O0,R',E2,#", "upper case is lower-cased by the fixed table"},
    {"мо-локо+", "#,M,O5,L,A1,K,O0,#", "'-' gives 5 and keeps O; '+' later still counts"},
    {"мо-ре", "#,M,O5,R',E1,#", "'-' does not make the rest of the word posttonic"},
    {"мо+ло+ко", "", "two '+' in one word"},
    {"м-оре", "", "'-' after a consonant"},
    {"+мо", "", "'+' as the first character"},
    {"мо+-ре", "", "'-' after '+' follows no vowel"},
    {"до+м до+м", "#,D,O0,M,_,D,O0,M,#", "a blank starts a new word"},
    {"до+м,до+м", "#,D,O0,M,_,D,O0,M,#", "punctuation also starts a new word"},
    {"до+м\nдо+м", "#,D,O0,M,_,D,O0,M,#", "a line break also starts a new word"},
    {"до+м, мо+ре", "#,D,O0,M,_,M,O0,R',E2,#", "blank and comma give one '_'"},
    {" , до+м 2 ", "#,D,O0,M,#", "no '_' next to '#'"},
    {"", "", "empty text"},
    {"  ,. ", "", "only word breaks: no phrase"},
    {"ъь", "", "only signs: no phrase"},
};

const std::vector<Golden> kVowels = {
    {"я+ма", "#,J',A0,M,A2,#", "я at a word start is J',A"},
    {"моё+", "#,M,A1,J',O0,#", "ё after a vowel is J',O"},
    {"да,ё+ж", "#,D,A1,_,J',O0,SH,#", "ё after punctuation is at a word start"},
    {"соловьи+", "#,S,A1,L,A1,V',J',I0,#", "и after ь is J',I"},
    {"жи+ть", "#,ZH,Y0,T',#", "и after ж is Y; ж has no soft form"},
    {"ци+рк", "#,C,Y0,R,K,#", "и after ц is Y"},
    {"объи+грывать", "#,A1,B,Y0,G,R,Y2,V,A2,T',#", "и after ъ is Y; word-initial о reduced"},
    {"берёза", "#,B',E1,R',A1,Z,A1,#", "unstressed ё after a consonant reduces to A"},
    {"ёлка", "#,J',O1,L,K,A1,#", "J',O is not reduced (O1 exists in 419.1 to 419.3)"},
    {"бульо+н", "#,B,U1,L',J',O0,N,#", "о after ь reads like ё"},
    {"бульо-н", "#,B,U1,L',J',O5,N,#", "о after ь with secondary stress keeps its digit"},
};

const std::vector<Golden> kConsonants = {
    {"ми+р", "#,M',I0,R,#", "sonorant softened by и, hard at the end"},
    {"ба+нтик", "#,B,A0,N',T',I2,K,#", "н softened before т and a softening letter"},
    {"ка+сть", "#,K,A0,S',T',#", "с softened before т and ь"},
    {"ду+б сто+ит", "#,D,U0,P,_,S,T,O0,I2,T,#", "devoiced at the end of a word, not only of the text"},
    {"сде+лать", "#,Z,D',E0,L,A2,T',#", "voiced before a voiced obstruent"},
    {"ло+дка", "#,L,O0,T,K,A2,#", "devoiced before a voiceless consonant"},
    {"кро+вь", "#,K,R,O0,F',#", "ь at the end: voiceless soft"},
    {"про+сьба", "#,P,R,O0,Z',B,A2,#", "ь before a voiced obstruent: voiced soft"},
    {"ро+жь", "#,R,O0,SH,#", "жь at the end is SH"},
    {"мя+гкий", "#,M',A0,X,K',I2,J',#", "г before к is X"},
    {"счё+т", "#,SH',O0,T,#", "сч is one SH'; ё after ч is O"},
    {"мужчи+на", "#,M,U1,SH',I0,N,A2,#", "жч is one SH'"},
    {"че+стный", "#,CH',E0,S,N,Y2,J',#", "т silent between с and н"},
    {"по+здно", "#,P,O0,Z,N,A2,#", "д silent between з and н"},
};

const std::vector<Golden> kClusters = {
    {"подъе+зд", "#,P,A1,D,J',E0,S,T,#", "ъ hard before е; final зд devoiced"},
    {"пое+здка", "#,P,A1,J',E0,S,T,K,A2,#", "Z before a voiceless consonant is S"},
    {"гво+здь", "#,G,V,O0,S,T',#", "Z before a devoiced soft consonant is S"},
    {"здра+вствуй", "#,Z,D,R,A0,F,S,T,V,U2,J',#", "Z before a voiced cluster stays voiced"},
    {"органи+зм", "#,A1,R,G,A1,N',I0,Z,M,#", "Z before a final sonorant stays voiced"},
    {"учи+ться", "#,U1,CH',I0,T,C,A2,#", "ться: T',S' becomes T,C"},
    {"съе+л", "#,S',J',E0,L,#", "S,J' becomes S',J'"},
    {"жё+стче", "#,ZH,O0,SH',E2,#", "S,T,CH' becomes SH'"},
    {"изжо+га", "#,I1,ZH,ZH,O0,G,A2,#", "Z,ZH becomes ZH,ZH"},
    {"сши+ть", "#,SH,SH,Y0,T',#", "S,SH becomes SH,SH"},
    {"ко+нчик", "#,K,O0,N',CH',I2,K,#", "N,CH' becomes N',CH'"},
    {"подде+ть", "#,P,A1,D',D',E0,T',#", "D,D' becomes D',D'"},
    {"колле+кция", "#,K,A1,L',L',E0,K,C,Y2,J',A2,#", "L,L' becomes L',L'; и after ц is Y"},
    {"лъле", "#,L,L',E1,#", "лъл keeps L,L'"},
    {"до+ждь", "#,D,O0,ZH,T',#", "ZH keeps its voice without the module rule"},
};

const std::vector<Golden> kZhClusterRule = {
    {"до+ждь", "#,D,O0,SH,T',#", "ZH before a voiceless consonant is SH"},
    {"дро+жжи", "#,D,R,O0,ZH,ZH,Y2,#", "ZH before a voiced consonant stays"},
    {"подъе+зд", "#,P,A1,D,J',E0,S,T,#", "the Z rule still applies"},
    {"ви+зжг", "#,V',I0,SH,SH,K,#", "the loss of voice spreads back through ZH,ZH"},
};
// clang-format on

TEST(LetterToPhoneme, StressMarksAndWordBreaks) {
    ExpectGolden(kStressAndWords, false);
}
TEST(LetterToPhoneme, Vowels) {
    ExpectGolden(kVowels, false);
}
TEST(LetterToPhoneme, Consonants) {
    ExpectGolden(kConsonants, false);
}
TEST(LetterToPhoneme, ClusterRewrites) {
    ExpectGolden(kClusters, false);
}
TEST(LetterToPhoneme, ZhClusterRuleOfLaterModules) {
    ExpectGolden(kZhClusterRule, true);
}

// ---- properties over generated text ----

// The 60 phonemes of module 419.0 and the "O1" and "O2" of the later modules.
const std::set<std::string> kInventory = {
    "#",  "_",  "A0", "A1",  "A2", "A5", "B",  "B'", "C",  "CH'", "D",  "D'", "E0",
    "E1", "E2", "E5", "F",   "F'", "G",  "G'", "I0", "I1", "I2",  "I5", "J'", "K",
    "K'", "L",  "L'", "M",   "M'", "N",  "N'", "O0", "O5", "P",   "P'", "R",  "R'",
    "S",  "S'", "SH", "SH'", "T",  "T'", "U0", "U1", "U2", "U5",  "V",  "V'", "X",
    "X'", "Y0", "Y1", "Y2",  "Y5", "Z",  "Z'", "ZH", "O1", "O2",
};

// Empty, or a phrase: "#" at both ends, no "#" or "_" next to another, known names.
::testing::AssertionResult IsPhraseOrEmpty(const std::string& phonemes) {
    if (phonemes.empty()) return ::testing::AssertionSuccess();
    const std::vector<std::string> items = SplitList(phonemes);
    if (JoinList(items) != phonemes)
        return ::testing::AssertionFailure() << "empty item in " << phonemes;
    if (items.size() < 3 || items.front() != "#" || items.back() != "#") {
        return ::testing::AssertionFailure() << "not framed by '#': " << phonemes;
    }
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (!kInventory.count(items[i]))
            return ::testing::AssertionFailure() << "unknown " << items[i];
        const bool boundary = items[i] == "#" || items[i] == "_";
        if (i > 0 && boundary && (items[i - 1] == "#" || items[i - 1] == "_")) {
            return ::testing::AssertionFailure() << "adjacent boundaries in " << phonemes;
        }
        if (items[i] == "#" && i != 0 && i + 1 != items.size()) {
            return ::testing::AssertionFailure() << "'#' inside " << phonemes;
        }
    }
    return ::testing::AssertionSuccess();
}

const std::string kLowerLetters = Utf8ToCp1251("абвгдеёжзийклмнопрстуфхцчшщъыьэюя");
const std::string kVowelLetters = Utf8ToCp1251("аоуэыияёюе");

TEST(LetterToPhoneme, RandomBytesGivePhraseOrNothing) {
    std::mt19937 random(1251);
    const std::string upper = ToUpper1251(kLowerLetters);
    const std::string common = kLowerLetters + upper + "+-  ,.";
    std::uniform_int_distribution<int> length(0, 40), byte(0, 255), pick(0, 9);
    for (int round = 0; round < 5000; ++round) {
        std::string text;
        for (int n = length(random); n > 0; --n) {
            text += pick(random) == 0 ? static_cast<char>(byte(random))
                                      : common[byte(random) % common.size()];
        }
        const std::string phonemes = LettersToPhonemes(text, {round % 2 == 0});
        ASSERT_TRUE(IsPhraseOrEmpty(phonemes)) << "input " << Cp1251ToUtf8(text);
    }
}

// Words of random letters, each with a vowel and at most one "+" after a vowel.
std::string WellMarkedText(std::mt19937& random, int words, int* vowels) {
    std::uniform_int_distribution<std::size_t> letter(0, kLowerLetters.size() - 1);
    std::uniform_int_distribution<int> length(1, 8), chance(0, 3);
    std::string text;
    for (int w = 0; w < words; ++w) {
        if (w > 0) text += chance(random) == 0 ? ", " : " ";
        bool stressed = false;
        text += kVowelLetters[letter(random) % kVowelLetters.size()];
        ++*vowels;
        for (int n = length(random); n > 0; --n) {
            const char c = kLowerLetters[letter(random)];
            text += c;
            if (kVowelLetters.find(c) == std::string::npos) continue;
            ++*vowels;
            if (!stressed && chance(random) == 0) {
                text += '+';
                stressed = true;
            } else if (chance(random) == 0) {
                text += '-';
            }
        }
    }
    return text;
}

// Every vowel letter gives exactly one vowel phoneme and every word one run.
TEST(LetterToPhoneme, WellMarkedTextKeepsVowelsAndWords) {
    std::mt19937 random(419);
    for (int round = 0; round < 2000; ++round) {
        int vowels = 0;
        const int words = 1 + round % 5;
        const std::string text = WellMarkedText(random, words, &vowels);
        const std::string phonemes = LettersToPhonemes(text, {});
        ASSERT_TRUE(IsPhraseOrEmpty(phonemes));
        ASSERT_FALSE(phonemes.empty()) << Cp1251ToUtf8(text);
        const std::vector<std::string> items = SplitList(phonemes);
        const auto isVowel = [](const std::string& p) { return std::isdigit(p.back()) != 0; };
        EXPECT_EQ(std::count_if(items.begin(), items.end(), isVowel), vowels) << Cp1251ToUtf8(text);
        EXPECT_EQ(std::count(items.begin(), items.end(), "_"), words - 1) << Cp1251ToUtf8(text);
    }
}

TEST(LetterToPhoneme, VeryLongTextConverts) {
    std::mt19937 random(7);
    int vowels = 0;
    const std::string text = WellMarkedText(random, 100000, &vowels);
    const std::string phonemes = LettersToPhonemes(text, {});
    EXPECT_TRUE(IsPhraseOrEmpty(phonemes));
    EXPECT_FALSE(phonemes.empty());
    EXPECT_EQ(LettersToPhonemes(std::string(1 << 20, ','), {}), "");
}

}  // namespace
}  // namespace vox
