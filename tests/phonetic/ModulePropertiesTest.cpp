// What holds for every module through IPhonetic: letters to allophones,
// one allophone per phoneme of any valid phrase (module 419.3 with a
// generated unit inventory), and fuzzed letters giving a valid phrase or "".
#include <gtest/gtest.h>

#include <random>

#include "phonetic/module-419-0/Allomod4190.h"
#include "phonetic/module-419-1/Allomod4191.h"
#include "phonetic/module-419-2/Allomod4192.h"
#include "phonetic/module-419-3/Allomod4193.h"
#include "platform/CodePage.h"
#include "platform/Text.h"
#include "support/CapturedMessages.h"
#include "tests/phonetic/PhoneticTestSupport.h"

namespace vox {
namespace {

const char* const kConfigFile = VOXAMEN_SOURCE_DIR "/phonetic/module-419-3/allomod-419-3.cfg";

std::vector<ComPtr<IPhonetic>> AllModules() {
    return {test::Adopt(new Allomod_419_0(test::kShippedRuleFile)),
            test::Adopt(new Allomod_419_1()), test::Adopt(new Allomod_419_2()),
            test::Adopt(new Allomod_419_3(kConfigFile))};
}

struct Letters {
    std::string allophones;
    std::string phonemes;
};

Letters LettersToAllophones(IPhonetic& module, std::string_view utf8) {
    char* allophones = nullptr;
    char* phonemes = nullptr;
    EXPECT_EQ(module.LettersToAllophones(Utf8ToCp1251(utf8).c_str(), &allophones, &phonemes), S_OK);
    return {test::Take(allophones), test::Take(phonemes)};
}

TEST(ModuleLetters, LettersToAllophonesOfEachModule) {
    const std::vector<ComPtr<IPhonetic>> modules = AllModules();
    // clang-format off
    const char* const moRe[] = {
        "#,M1,O012,R'2,E220,#",                    // 419.0: the shipped rule file
        "#,M-O0,O0-M,R'-E2,E2-R',#",               // 419.1
        "#,M-O0,O0-M,R'-E2,E2-R',#",               // 419.2
        "#,M-O0.1,M-O0.2,R'-E2.1,R'-E2.2,#",       // 419.3 without units: pairs
    };
    // clang-format on
    for (size_t i = 0; i < modules.size(); ++i) {
        const Letters result = LettersToAllophones(*modules[i].Get(), "мо+ре");
        EXPECT_EQ(result.phonemes, "#,M,O0,R',E2,#") << i;
        EXPECT_EQ(result.allophones, moRe[i]) << i;
        EXPECT_EQ(LettersToAllophones(*modules[i].Get(), "+").allophones, "") << "misplaced stress";
    }
    EXPECT_EQ(LettersToAllophones(*modules[1].Get(), "ви+зжг").allophones,
              "#,V'-I0,I0-V',SH,SH,K-#,#")
        << "419.1-419.3 devoice ZH before a voiceless consonant, through the whole run";
    EXPECT_EQ(LettersToAllophones(*modules[0].Get(), "до+ждь").phonemes, "#,D,O0,ZH,T',#");
    EXPECT_EQ(LettersToAllophones(*modules[0].Get(), "ёлка").phonemes, "#,J',A1,L,K,A1,#")
        << "419.0 has no O1: unstressed ё is reduced";
    EXPECT_EQ(LettersToAllophones(*modules[3].Get(), "ёлка").phonemes, "#,J',O1,L,K,A1,#");
}

// «бульо-н»: "о" after "ь" with a secondary stress keeps its digit 5, a
// phoneme of every inventory.
TEST(ModuleLetters, SecondaryStressAfterSoftSignIsInEveryInventory) {
    for (const ComPtr<IPhonetic>& m : AllModules()) {
        const Letters result = LettersToAllophones(*m.Get(), "бульо-н");
        EXPECT_EQ(result.phonemes, "#,B,U1,L',J',O5,N,#");
        EXPECT_EQ(test::Allophones(*m.Get(), result.phonemes).rfind("failed", 0),
                  std::string::npos);
    }
}

// The real phonemes of a module (all but "#" and "_").
std::vector<std::string> Sounds(IPhonetic& module) {
    char* list = nullptr;
    module.EnumPhonemes(&list);
    std::vector<std::string> sounds = SplitList(test::Take(list));
    std::erase_if(sounds, [](const std::string& s) { return s == "#" || s == "_"; });
    return sounds;
}

std::vector<std::string> RandomPhrase(const std::vector<std::string>& sounds,
                                      std::mt19937& random) {
    std::uniform_int_distribution<size_t> words(1, 5), length(1, 8), pick(0, sounds.size() - 1);
    std::vector<std::string> phrase{"#"};
    for (size_t w = words(random); w > 0; --w) {
        for (size_t k = length(random); k > 0; --k) phrase.push_back(sounds[pick(random)]);
        phrase.push_back(w > 1 ? "_" : "#");
    }
    return phrase;
}

// Units cut from phrases like the ones covered, some with groups, some
// missing a part (and so not taken).
std::string RandomUnits(const std::vector<std::string>& sounds, std::mt19937& random) {
    const char* groups[] = {"", "(Lab)", "(Vowel)", "(Pause)", "(Nope)"};
    std::vector<std::string> names;
    for (int u = 0; u < 300; ++u) {
        const std::vector<std::string> phrase = RandomPhrase(sounds, random);
        const size_t start = random() % phrase.size();
        const size_t length = 1 + random() % std::min<size_t>(4, phrase.size() - start);
        std::string base = groups[random() % 5];
        for (size_t k = 0; k < length; ++k) base += (k ? "-" : "") + phrase[start + k];
        if (random() % 3 == 0) base += groups[random() % 5];
        for (size_t k = 1; k <= length; ++k)
            if (random() % 10 != 0) names.push_back(base + "." + std::to_string(k));
    }
    return JoinList(names);
}

TEST(ModuleProperties, OneAllophonePerPhonemeOfEveryValidPhrase) {
    test::CapturedMessages quiet;
    std::mt19937 random(419);
    for (const ComPtr<IPhonetic>& m : AllModules()) {
        const std::vector<std::string> sounds = Sounds(*m.Get());
        for (int round = 0; round < 300; ++round) {
            if (round % 50 == 0) m->SetAllophones(RandomUnits(sounds, random).c_str());
            const std::vector<std::string> phrase = RandomPhrase(sounds, random);
            const std::string text = JoinList(phrase);
            char* out = nullptr;
            ASSERT_EQ(m->PhonemesToAllophones(text.c_str(), &out), S_OK) << text;
            const std::vector<std::string> allophones = SplitList(test::Take(out));
            ASSERT_EQ(allophones.size(), phrase.size()) << text;
            for (size_t i = 0; i < phrase.size(); ++i) {
                // "T'" joined to the next word shares the hard "T"'s unit ("T-L").
                if (phrase[i] == "T'" && allophones[i].rfind("T-", 0) == 0) continue;
                char* phoneme = nullptr;
                m->AllophoneToPhoneme(allophones[i].c_str(), &phoneme);
                EXPECT_EQ(test::Take(phoneme), phrase[i]) << allophones[i] << " in " << text;
            }
        }
    }
}

TEST(ModuleProperties, FuzzedLettersGiveAValidPhraseOrNothing) {
    test::CapturedMessages quiet;
    std::mt19937 random(1251);
    const std::string marks = "++--  ";
    for (const ComPtr<IPhonetic>& m : AllModules()) {
        for (int round = 0; round < 2000; ++round) {
            std::string text;
            for (size_t k = random() % 30; k > 0; --k) {
                const char byte = random() % 4 == 0 ? marks[random() % marks.size()]
                                                    : static_cast<char>(1 + random() % 255);
                text += byte;
            }
            char* phonemes = nullptr;
            ASSERT_EQ(m->LettersToPhonemes(text.c_str(), &phonemes), S_OK);
            const std::string phrase = test::Take(phonemes);
            if (phrase.empty()) continue;
            char* allophones = nullptr;
            ASSERT_EQ(m->PhonemesToAllophones(phrase.c_str(), &allophones), S_OK)
                << Cp1251ToUtf8(text) << " gave " << phrase;
            EXPECT_EQ(SplitList(test::Take(allophones)).size(), SplitList(phrase).size());
        }
    }
}

}  // namespace
}  // namespace vox
