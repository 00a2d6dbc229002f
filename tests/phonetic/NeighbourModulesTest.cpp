// Modules 419.1 and 419.2: allophones named after a neighbour, and their
// allophone-name hooks. Golden tables, one case per line.
#include <gtest/gtest.h>

#include "phonetic/module-419-1/Allomod4191.h"
#include "phonetic/module-419-2/Allomod4192.h"
#include "tests/phonetic/PhoneticTestSupport.h"

namespace vox {
namespace {

struct Golden {
    const char* input;
    const char* expected;
    const char* pins;  // the behaviour this line holds in place
};

// Calls a one-string operation and returns its result.
using Operation = HRESULT (IPhonetic::*)(const char*, char**);

void ExpectPhrases(IPhonetic& module, const std::vector<Golden>& table) {
    for (const Golden& line : table)
        EXPECT_EQ(test::Allophones(module, line.input), line.expected)
            << line.input << ": " << line.pins;
}

void ExpectNames(IPhonetic& module, Operation op, const std::vector<Golden>& table) {
    for (const Golden& line : table) {
        char* out = nullptr;
        ASSERT_EQ((module.*op)(line.input, &out), S_OK) << line.input;
        EXPECT_EQ(test::Take(out), line.expected) << line.input << ": " << line.pins;
    }
}

// clang-format off
// The same in both modules.
const std::vector<Golden> kSharedPhrases = {
    {"#,B,A0,#", "#,B-A0,A0-B,#", "consonant named with the vowel after it, vowel with the sound before"},
    {"#,B',A0,#", "#,B'-A0,A0-B',#", "a soft consonant keeps its apostrophe in the vowel's name"},
    {"#,I1,O0,#", "#,I1-#,O0-I,#", "a vowel before names it without stress digit"},
    {"#,A0,_,T,A1,#", "#,A0-#,_,T-A1,A1-T,#", "vowel after the phrase start; consonant before a vowel"},
    {"#,T,L,A0,#", "#,T-L,L-A0,A0-L,#", "T before L is a cluster"},
    {"#,S,T,A0,#", "#,S,T-A0,A0-T,#", "S before T is no cluster: bare name"},
    {"#,D,Z',A0,#", "#,D-Z',Z'-A0,A0-Z',#", "D before Z' is a cluster"},
    {"#,A0,T,#", "#,A0-#,T-#,#", "consonant before the phrase end"},
    {"#,K,O0,T,_,L,A0,#", "#,K-O0,O0-K,T-L,_,L-A0,A0-L,#", "T joined to L across the word break"},
    {"#,K,O0,T,_,M,A0,#", "#,K-O0,O0-K,T-_,_,M-A0,A0-M,#", "T is not joined to M"},
    {"#,A0,T',_,S,A0,#", "#,A0-#,T-S,_,S-A0,A0-S,#", "T' takes the hard prefix across the break"},
    {"#,A0,D,_,ZH,A0,#", "#,A0-#,D-ZH,_,ZH-A0,A0-ZH,#", "D joined to ZH across the break"},
    {"#,A0,D,_,T,A0,#", "#,A0-#,D-_,_,T-A0,A0-T,#", "D is not joined to T"},
    {"#,A0,B,_,M',A0,#", "#,A0-#,B-M',_,M'-A0,A0-M',#", "B joined to M' across the break"},
    {"#,A0,P,_,M,A0,#", "#,A0-#,P-M,_,M-A0,A0-M,#", "P joined to M across the break"},
    {"#,M,O1,L,O2,K,O0,#", "#,M-O1,O1-M,L-O2,O2-L,K-O0,O0-K,#", "unreduced O1 and O2"},
};

const std::vector<Golden> k4191Phrases = {
    {"#,T,A0,_,A0,#", "#,T-A0,A0-T,_,A0-#,#", "a vowel after a word break is named with #"},
};

const std::vector<Golden> k4192Phrases = {
    {"#,B',AE0,#", "#,B'-A0,AE0-1,#", "sequence after a soft consonant: class 1; B' takes A0"},
    {"#,A0,_,AE0,#", "#,A0-#,_,AE0-5,#", "sequence after a word break: class 5"},
    {"#,AE0,#", "#,AE0-5,#", "sequence after the phrase start: class 5"},
    {"#,K',IA0,#", "#,K'-I0,IA0-2,#", "soft velar: class 2"},
    {"#,T,IE0,#", "#,T-I0,IE0-3,#", "hard front consonant: class 3"},
    {"#,A0,B,UJ'2,#", "#,A0-#,B-U2,UJ'2-4,#", "labial: class 4; B takes the first letter and the digit"},
    {"#,G,OE0,#", "#,G-O0,OE0-5,#", "hard velar: class 5"},
    {"#,A1,AE0,#", "#,A1-#,AE0-A,#", "a vowel before a sequence is no class: named as usual"},
    {"#,T,A0,_,A0,#", "#,T-A0,A0-T,_,A0-A,#", "a vowel after a break is named with the sound before it"},
    {"#,AE0,_,A1,#", "#,AE0-5,_,A1-E,#", "a sequence before the break gives its last letter"},
    {"#,B,A0,#", "#,B-A0,A0-B,#", "plain vowels as in module 419.1"},
};

const std::vector<Golden> kToPhoneme = {
    {"A0-B'", "A0", "the text before the first -"},
    {"T-_", "T", "context _"},
    {"B", "B", "a bare consonant"},
    {"#", "#", "boundaries are their own"},
    {"_", "_", "boundaries are their own"},
};

const std::vector<Golden> kBasic = {
    {"E2-D'", "E0-D'", "a vowel's stress digit becomes 0"},
    {"A1-B", "A0-B", "a vowel's stress digit becomes 0"},
    {"D'-E2", "D'-E2", "a consonant's name stays"},
    {"B", "B", "a bare consonant stays"},
};

const std::vector<Golden> kSubstitutes = {
    {"A5-B", "A0-B", "secondary stress becomes full stress"},
    {"B-A5", "B-A0", "also in the consonant's context"},
    {"O1-T", "O0-T", "O1 becomes O0"},
    {"O2-K", "O0-K", "O2 becomes O0"},
    {"A1-T", "A1-#", "A1 falls back to the phrase-start context"},
    {"Y2-B", "Y2-T", "Y2 falls back to T"},
    {"I2-D", "I2-K'", "I2 falls back to K'"},
    {"E2-S", "E2-C", "E2 falls back to C"},
    {"U2-M", "U2-K", "U2 falls back to K"},
    {"B-A0", "B", "a consonant falls back to its bare name"},
};
// clang-format on

TEST(Module4191, PhonemesToAllophones) {
    ComPtr<IPhonetic> m = test::Adopt(new Allomod_419_1());
    ExpectPhrases(*m.Get(), kSharedPhrases);
    ExpectPhrases(*m.Get(), k4191Phrases);
}

TEST(Module4192, PhonemesToAllophones) {
    ComPtr<IPhonetic> m = test::Adopt(new Allomod_419_2());
    ExpectPhrases(*m.Get(), kSharedPhrases);
    ExpectPhrases(*m.Get(), k4192Phrases);
}

TEST(NeighbourModules, AllophoneNameHooks) {
    for (ComPtr<IPhonetic> m :
         {test::Adopt(new Allomod_419_1()), test::Adopt(new Allomod_419_2())}) {
        ExpectNames(*m.Get(), &IPhonetic::AllophoneToPhoneme, kToPhoneme);
        ExpectNames(*m.Get(), &IPhonetic::GetBasicAllophone, kBasic);
        ExpectNames(*m.Get(), &IPhonetic::GetSubstituteAllophone, kSubstitutes);
        char* out = nullptr;
        ASSERT_EQ(m->AllophonesToPhonemes("#,B-A0,A0-B,_,T-L,#", &out), S_OK);
        EXPECT_EQ(test::Take(out), "#,B,A0,_,T,#");
    }
}

TEST(Module4192, SequenceNamesInTheHooks) {
    ComPtr<IPhonetic> m = test::Adopt(new Allomod_419_2());
    ExpectNames(*m.Get(), &IPhonetic::AllophoneToPhoneme, {{"AE0-1", "AE0", "sequence phoneme"}});
    ExpectNames(*m.Get(), &IPhonetic::GetBasicAllophone,
                {{"AE2-1", "AE0-1", "the stress digit, not the class digit"}});
    ExpectNames(*m.Get(), &IPhonetic::GetSubstituteAllophone,
                {{"AE0-5", "AE0", "the class digit 5 is no secondary stress"}});
}

}  // namespace
}  // namespace vox
