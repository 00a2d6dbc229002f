// IPhonetic of the shared module object, through module 419.0 and the
// tables of modules 419.1 to 419.3 (all created in-process).
#include <gtest/gtest.h>

#include "phonetic/module-419-0/Allomod4190.h"
#include "phonetic/module-419-0/Tables4190.h"
#include "phonetic/module-419-1/Allomod4191.h"
#include "phonetic/module-419-2/Allomod4192.h"
#include "phonetic/module-419-3/Allomod4193.h"
#include "support/CapturedMessages.h"
#include "tests/phonetic/PhoneticTestSupport.h"

namespace vox {
namespace {

using test::Take;

class Module4190 : public ::testing::Test {
  protected:
    ComPtr<IPhonetic> m = test::Adopt(new Allomod_419_0(test::kShippedRuleFile));
};

TEST_F(Module4190, PhraseValidation) {
    EXPECT_EQ(test::Allophones(*m.Get(), "#,A0,#"), "#,A000,#");
    EXPECT_EQ(test::Allophones(*m.Get(), ",,#,,A0,#,"), "#,A000,#") << "empty items vanish";
    for (const char* bad :
         {"#,A0", "#,_,A0,#", "#,A0,_,#", "_,A0,#", "#,A0,_", "#,A0,Q,#", "", "#,_", "#,#"}) {
        char* out = reinterpret_cast<char*>(1);
        EXPECT_EQ(m->PhonemesToAllophones(bad, &out), E_INVALIDARG) << bad;
        EXPECT_EQ(out, reinterpret_cast<char*>(1)) << "untouched on failure";
        uint64_t* sds = nullptr;
        int32_t num = 77;
        EXPECT_EQ(m->GetSoundDescriptions(bad, &sds, &num), E_INVALIDARG) << bad;
        EXPECT_EQ(num, 77) << "Num keeps the caller's value";
    }
}

TEST_F(Module4190, UnknownPhonemesAreReportedOnlyWhenDebugging) {
    test::CapturedMessages messages;
    uint64_t sd = 1;
    EXPECT_EQ(m->GetSoundDescription("Q", &sd), S_OK);
    EXPECT_EQ(sd, 0u);
    char* out = nullptr;
    EXPECT_EQ(m->PhonemesToAllophones("#,Q,#", &out), E_INVALIDARG);
    EXPECT_TRUE(messages.All().empty());
    m->SetDebugVerbosity(1);
    EXPECT_EQ(m->PhonemesToAllophones("#,A0,Q,#", &out), E_INVALIDARG);
    ASSERT_EQ(messages.All().size(), 1u);
    EXPECT_EQ(messages.All()[0].caption, "Phonetic Module");
    EXPECT_EQ(messages.All()[0].text, "Unknown phoneme Q in GetSD");
}

TEST_F(Module4190, TableLookups) {
    uint64_t sd = 0;
    EXPECT_EQ(m->GetSoundDescription("A0", &sd), S_OK);
    EXPECT_EQ(sd, 0x100000000000002Eu) << "no positional bits";
    int32_t code = -1;
    m->GetPhonemeCode("O1", &code);
    EXPECT_EQ(code, 0);
    m->GetVisemeCode("SH'", &code);
    EXPECT_EQ(code, 16);
    char* name = nullptr;
    for (int32_t none : {0, 61, -1}) {
        ASSERT_EQ(m->GetPhonemeByCode(none, &name), S_OK);
        EXPECT_EQ(Take(name), "") << none;
    }
    m->GetPhonemeByCode(24, &name);
    EXPECT_EQ(Take(name), "J'");
}

TEST_F(Module4190, EveryCodeFollowsTheByteOrderOfNames) {
    char* list = nullptr;
    ASSERT_EQ(m->EnumPhonemes(&list), S_OK);
    const std::string names = Take(list);
    EXPECT_EQ(
        names,
        "#,A0,A1,A2,A5,B,B',C,CH',D,D',E0,E1,E2,E5,F,F',G,G',I0,I1,I2,I5,J',K,K',L,L',M,M',N,N',"
        "O0,O5,P,P',R,R',S,S',SH,SH',T,T',U0,U1,U2,U5,V,V',X,X',Y0,Y1,Y2,Y5,Z,Z',ZH,_");
    int32_t* codes = nullptr;
    int32_t num = 0;
    ASSERT_EQ(m->GetPhonemesCodes(names.c_str(), &codes, &num), S_OK);
    CoTaskMemPtr<int32_t> owned(codes);
    ASSERT_EQ(num, 60);
    for (int32_t i = 0; i < num; ++i) EXPECT_EQ(codes[i], i + 1);
}

TEST_F(Module4190, CodeListsKeepUnknownsAndFailForEmptyLists) {
    int32_t* codes = nullptr;
    int32_t num = -1;
    ASSERT_EQ(m->GetVisemesCodes("#,Q,,M,O0,_", &codes, &num), S_OK);
    CoTaskMemPtr<int32_t> owned(codes);
    EXPECT_EQ(std::vector<int32_t>(codes, codes + num), (std::vector<int32_t>{0, 0, 21, 3, 0}));
    EXPECT_EQ(m->GetPhonemesCodes(",,", &codes, &num), E_OUTOFMEMORY);
    EXPECT_EQ(num, 0);
    EXPECT_EQ(m->GetVisemesCodes("", &codes, &num), E_OUTOFMEMORY);
}

TEST_F(Module4190, AllophoneNamesAndFallbacks) {
    char* out = nullptr;
    ASSERT_EQ(m->AllophonesToPhonemes("#,A012,B'3,#", &out), S_OK);
    EXPECT_EQ(Take(out), "#,A0,B',#");
    EXPECT_EQ(m->AllophonesToPhonemes("#,A012,B'3", &out), E_INVALIDARG);
    EXPECT_EQ(m->AllophonesToPhonemes("#,#", &out), E_INVALIDARG);
    const std::pair<const char*, const char*> toPhoneme[] = {
        {"_", "_"}, {"SH'", "SH'"}, {"SH'12", "SH'"}, {"U5", "U5"}, {"E", "E"}, {"", ""}};
    for (auto [allophone, phoneme] : toPhoneme) {
        ASSERT_EQ(m->AllophoneToPhoneme(allophone, &out), S_OK);
        EXPECT_EQ(Take(out), phoneme) << allophone;
    }
    const std::pair<const char*, const char*> basic[] = {
        {"A122", "A022"}, {"T'2", "T'2"}, {"O", "O"}};
    for (auto [allophone, expected] : basic) {
        ASSERT_EQ(m->GetBasicAllophone(allophone, &out), S_OK);
        EXPECT_EQ(Take(out), expected) << allophone;
    }
    ASSERT_EQ(m->GetSubstituteAllophone("A512", &out), S_OK);
    EXPECT_EQ(Take(out), "A512");
}

TEST_F(Module4190, LettersToAllophones) {
    char* allophones = nullptr;
    EXPECT_EQ(m->LettersToAllophones("", &allophones, nullptr), S_OK);
    EXPECT_EQ(Take(allophones), "");
    char* phonemes = nullptr;
    EXPECT_EQ(m->LettersToAllophones("\xec\xee+\xf0\xe5", &allophones, &phonemes),
              S_OK);  // "мо+ре"
    EXPECT_EQ(Take(allophones), "#,M1,O012,R'2,E220,#");
    EXPECT_EQ(Take(phonemes), "#,M,O0,R',E2,#");
}

TEST_F(Module4190, NullPointersAreInvalidArguments) {
    char* s = nullptr;
    uint64_t sd = 0;
    uint64_t* sds = nullptr;
    int32_t n = 0;
    int32_t* codes = nullptr;
    EXPECT_EQ(m->LettersToPhonemes(nullptr, &s), E_INVALIDARG);
    EXPECT_EQ(m->LettersToPhonemes("a", nullptr), E_INVALIDARG);
    EXPECT_EQ(m->LettersToAllophones("a", nullptr, &s), E_INVALIDARG);
    EXPECT_EQ(m->PhonemesToAllophones("#,A0,#", nullptr), E_INVALIDARG);
    EXPECT_EQ(m->AllophonesToPhonemes(nullptr, &s), E_INVALIDARG);
    EXPECT_EQ(m->AllophoneToPhoneme("A0", nullptr), E_INVALIDARG);
    EXPECT_EQ(m->GetSoundDescription(nullptr, &sd), E_INVALIDARG);
    EXPECT_EQ(m->GetSoundDescriptions("#,A0,#", &sds, nullptr), E_INVALIDARG);
    EXPECT_EQ(m->GetSoundDescriptions("#,A0,#", nullptr, &n), E_INVALIDARG);
    EXPECT_EQ(m->SDtoString(1, nullptr), E_INVALIDARG);
    EXPECT_EQ(m->GetPhonemeCode("A0", nullptr), E_INVALIDARG);
    EXPECT_EQ(m->GetPhonemesCodes(nullptr, &codes, &n), E_INVALIDARG);
    EXPECT_EQ(m->GetPhonemeByCode(1, nullptr), E_INVALIDARG);
    EXPECT_EQ(m->GetVisemeCode(nullptr, &n), E_INVALIDARG);
    EXPECT_EQ(m->GetVisemesCodes("A0", &codes, nullptr), E_INVALIDARG);
    EXPECT_EQ(m->EnumPhonemes(nullptr), E_INVALIDARG);
    EXPECT_EQ(m->GetBasicAllophone(nullptr, &s), E_INVALIDARG);
    EXPECT_EQ(m->GetSubstituteAllophone("A0", nullptr), E_INVALIDARG);
    EXPECT_EQ(m->SetAllophones(nullptr), E_INVALIDARG);
    EXPECT_EQ(m->SetGroups(nullptr), E_INVALIDARG);
}

// A module that shows what SetAllophones and SetGroups stored.
class Recording final : public RuleFileModule {
  public:
    Recording() : RuleFileModule(m4190::kTables, {}, "") {}
    void OnAllophonesChanged() override { seen = AllophoneList(); }
    std::vector<std::string> seen;
    using PhoneticModule::Groups;
};

TEST(PhoneticModuleState, SetAllophonesAndSetGroups) {
    auto* module = new Recording();
    ComPtr<IPhonetic> m = test::Adopt(module);
    EXPECT_EQ(m->SetAllophones(",T-A0.1,,T-A0.2,"), S_OK);
    EXPECT_EQ(module->seen, (std::vector<std::string>{"T-A0.1", "T-A0.2"}));

    EXPECT_EQ(m->SetGroups("Lab:P,B,M,B;;Junk;Dent:T,D;Lab:V"), S_OK);
    EXPECT_EQ(module->Groups(), (GroupTable{{"Dent", {"D", "T"}}, {"Lab", {"B", "M", "P", "V"}}}));
    EXPECT_EQ(m->SetGroups("Nasal:M,N"), S_OK);
    EXPECT_EQ(module->Groups(), (GroupTable{{"Nasal", {"M", "N"}}})) << "the table is replaced";
}

TEST(ModuleTables, ExtendedInventories) {
    ComPtr<IPhonetic> m1 = test::Adopt(new Allomod_419_1());
    ComPtr<IPhonetic> m2 = test::Adopt(new Allomod_419_2());
    ComPtr<IPhonetic> m3 = test::Adopt(new Allomod_419_3(""));
    int32_t code = 0;
    m1->GetPhonemeCode("O1", &code);
    EXPECT_EQ(code, 34);
    m3->GetPhonemeCode("_", &code);
    EXPECT_EQ(code, 62);
    m3->GetVisemeCode("O2", &code);
    EXPECT_EQ(code, 3);
    m2->GetPhonemeCode("AA0", &code);
    EXPECT_EQ(code, 6);
    m2->GetPhonemeCode("OE2", &code);
    EXPECT_EQ(code, 0);
    for (auto [name, viseme] :
         {std::pair{"UJ'2", 7}, {"YE0", 5}, {"EJ'0", 4}, {"OE0", 3}, {"IU2", 6}}) {
        m2->GetVisemeCode(name, &code);
        EXPECT_EQ(code, viseme) << name;
    }

    const std::pair<const char*, uint64_t> sds[] = {
        {"A0", 0x500000000000002E}, {"M", 0x5000000000029602},  {"J'", 0x500000000004A602},
        {"O1", 0x5000000000000096}, {"O2", 0x5000000000000116}, {"T", 0x0000000000025A02},
        {"R'", 0x00000000000CA602}, {"ZH", 0x9000000000022602}};
    for (auto [name, expected] : sds) {
        uint64_t sd = 0;
        m1->GetSoundDescription(name, &sd);
        EXPECT_EQ(sd, expected) << name;
    }
    uint64_t sd = 0;
    m2->GetSoundDescription("AJ'2", &sd);
    EXPECT_EQ(sd, 0x5000000000000116u);

    char* list = nullptr;
    m2->EnumPhonemes(&list);
    const std::string names = Take(list);
    EXPECT_EQ(names.rfind("#,A0,A1,A2,A5,AA0,AA2,AE0,AE2,", 0), 0u);
    EXPECT_EQ(std::count(names.begin(), names.end(), ',') + 1, 105);
}

}  // namespace
}  // namespace vox
