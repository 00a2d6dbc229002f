// The lexical component as the adapter sees it: glossor.so and module 419.1
// registered into a temporary registry, created by CLSID through
// CoCreateInstance, and every record it returns checked for form.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "interfaces/IGlossor.h"
#include "interfaces/IPhonetic.h"
#include "platform/CodePage.h"
#include "platform/ComKit.h"
#include "platform/Registry.h"
#include "platform/Text.h"
#include "support/ServerLibrary.h"
#include "support/TempRegistry.h"

namespace vox {
namespace {

template <class I>
ComPtr<I> Create(const CLSID& clsid, const IID& iid) {
    ComPtr<I> object;
    CreateRunningObject(clsid, iid, object.PutVoid());
    return object;
}

struct Word {
    std::string transcription, text;
    int64_t pos;
    int32_t len;
};
struct Syntagma {
    std::string type;
    std::vector<Word> words;
};

class GlossorCom : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(glossorLibrary_.Loaded() && moduleLibrary_.Loaded());
        ASSERT_EQ(glossorLibrary_.Register(), S_OK);
        ASSERT_EQ(moduleLibrary_.Register(), S_OK);
        text_ = Create<IGlossorTextEx>(CLSID_Glossor, IID_IGlossorTextEx);
        ASSERT_TRUE(text_);
        module_ = Create<IPhonetic>(CLSID_Allomod_419_1, IID_IPhonetic);
        ASSERT_TRUE(module_);
    }

    void Set(const std::string& utf8, std::vector<GlossorAttribute> attributes = {}) {
        text1251_ = Utf8ToCp1251(utf8);
        ASSERT_EQ(
            text_->SetText(text1251_.c_str(), attributes.empty() ? nullptr : attributes.data(),
                           static_cast<int32_t>(attributes.size())),
            S_OK);
    }

    // The next sentence, each record checked: a type, words with texts and
    // a transcription of the module's phonemes, spans inside the text.
    std::vector<Syntagma> Next(int32_t* more = nullptr) {
        GlossorSyntagma* records = nullptr;
        int32_t count = -1, follow = -1;
        std::vector<Syntagma> out;
        HRESULT hr = text_->GetNextSentence(&records, &count, &follow);
        if (hr == S_FALSE) {
            EXPECT_EQ(records, nullptr);
            EXPECT_EQ(count, 0);
            EXPECT_EQ(follow, 0);
            return out;
        }
        EXPECT_EQ(hr, S_OK);
        EXPECT_NE(records, nullptr);
        if (more) *more = follow;
        for (int32_t s = 0; s < count; ++s) {
            Syntagma syntagma;
            EXPECT_NE(records[s].Type, nullptr);
            syntagma.type = records[s].Type ? records[s].Type : "";
            EXPECT_GT(records[s].WordCount, 0);
            for (int32_t w = 0; w < records[s].WordCount; ++w) {
                const GlossorWord& word = records[s].Words[w];
                EXPECT_TRUE(word.Transcription && word.SecondText);
                Word out1{word.Transcription, Cp1251ToUtf8(word.SecondText), word.SourcePosition,
                          word.SourceLength};
                EXPECT_FALSE(out1.transcription.empty());
                for (const std::string& p : SplitList(out1.transcription)) {
                    int32_t code = 0;
                    EXPECT_EQ(module_->GetPhonemeCode(p.c_str(), &code), S_OK);
                    EXPECT_GT(code, 0) << p << " in " << out1.transcription;
                    EXPECT_NE(p, "#");
                    EXPECT_NE(p, "_");
                }
                EXPECT_GE(out1.pos, 0);
                EXPECT_LE(out1.pos + out1.len, static_cast<int64_t>(text1251_.size()));
                syntagma.words.push_back(out1);
            }
            out.push_back(syntagma);
        }
        FreeGlossorSentence(records, count);
        return out;
    }

    static std::string Words(const std::vector<Syntagma>& sentence) {
        std::string out;
        for (const Syntagma& s : sentence)
            for (const Word& w : s.words) out += (out.empty() ? "" : " ") + w.text;
        return out;
    }

    test::TempRegistry registry_;
    test::ServerLibrary glossorLibrary_{"glossor.so"};
    test::ServerLibrary moduleLibrary_{"allomod-419-1.so"};
    ComPtr<IGlossorTextEx> text_;
    ComPtr<IPhonetic> module_;
    std::string text1251_;
};

TEST_F(GlossorCom, AnswersTheFourInterfacesAndCodePage1251) {
    ComPtr<IGlossorText> base;
    ASSERT_EQ(text_->QueryInterface(IID_IGlossorText, base.PutVoid()), S_OK);
    ComPtr<IGlossorUserBase> user;
    ASSERT_EQ(text_->QueryInterface(IID_IGlossorUserBase, user.PutVoid()), S_OK);
    ComPtr<IGlossorSublanguage> sub;
    ASSERT_EQ(user->QueryInterface(IID_IGlossorSublanguage, sub.PutVoid()), S_OK);
    uint32_t codePage = 0;
    EXPECT_EQ(user->GetCodePage(&codePage), S_OK);
    EXPECT_EQ(codePage, 1251u);
    EXPECT_EQ(sub->SetSublanguage(1), S_OK);
    EXPECT_EQ(user->ReloadUserVocabulary(), S_OK);
    // The base interface is the same object's table.
    EXPECT_EQ(static_cast<IUnknown*>(base.Get()), static_cast<IUnknown*>(text_.Get()));
}

TEST_F(GlossorCom, WalksSentencesWithTypesPositionsAndTheEnd) {
    Set("Мама мыла раму. Где папа? Он дома!");
    int32_t n = 0, length = 0;
    ASSERT_EQ(text_->GetSentenceCount(&n), S_OK);
    ASSERT_EQ(n, 3);
    ASSERT_EQ(text_->GetTextLength(&length), S_OK);
    EXPECT_EQ(length, static_cast<int32_t>(text1251_.size()));
    int64_t offset = -1;
    EXPECT_EQ(text_->GetSentenceOffset(1, &offset), S_OK);
    EXPECT_EQ(offset, 16);  // "Где"
    EXPECT_EQ(text_->GetSentenceLength(1, &length), S_OK);
    EXPECT_EQ(length, 8);  // "Где папа"

    int32_t more = -1;
    std::vector<Syntagma> first = Next(&more);
    ASSERT_EQ(first.size(), 1u);
    EXPECT_EQ(first[0].type, "(.)|(.)");
    EXPECT_EQ(more, 1);
    ASSERT_EQ(first[0].words.size(), 3u);
    EXPECT_EQ(first[0].words[0].pos, 0);
    EXPECT_EQ(first[0].words[0].len, 4);
    EXPECT_EQ(first[0].words[2].pos, 10);
    EXPECT_EQ(Next()[0].type, "(?.)|(?.)");  // a question word: falling
    std::vector<Syntagma> last = Next(&more);
    EXPECT_EQ(last[0].type, "(!)|(!.)");
    EXPECT_EQ(more, 0);
    EXPECT_TRUE(Next().empty());  // S_FALSE, checked inside

    EXPECT_EQ(text_->Reset(), S_OK);
    int32_t current = -1;
    EXPECT_EQ(text_->GetCurrentSentence(&current), S_OK);
    EXPECT_EQ(current, 0);
}

TEST_F(GlossorCom, SkipsForwardAndBackAndReportsWhatItSkipped) {
    Set("Раз. Два. Три. Пять.");
    int32_t skipped = 0, current = 0;
    EXPECT_EQ(text_->Skip("Sentence", 2, &skipped), S_OK);
    EXPECT_EQ(skipped, 2);
    EXPECT_EQ(text_->Skip("Sentence", 5, &skipped), S_OK);
    EXPECT_EQ(skipped, 2);  // only two were left
    EXPECT_EQ(text_->Skip("Sentence", -3, &skipped), S_OK);
    EXPECT_EQ(skipped, -3);
    EXPECT_EQ(text_->GetCurrentSentence(&current), S_OK);
    EXPECT_EQ(current, 1);
    EXPECT_EQ(Words(Next()), "два+");
    EXPECT_EQ(text_->Skip("Word", 1, &skipped), E_INVALIDARG);
    EXPECT_EQ(text_->SetCurrentSentence(3), S_OK);
    EXPECT_EQ(Words(Next()), "пя+ть");
    EXPECT_EQ(text_->SetCurrentSentence(5), E_INVALIDARG);
}

TEST_F(GlossorCom, EveryWordOfANumberPointsAtTheNumber) {
    Set("В 1999 году.");
    std::vector<Syntagma> s = Next();
    ASSERT_EQ(s.size(), 1u);
    ASSERT_GE(s[0].words.size(), 4u);
    for (size_t i = 1; i + 1 < s[0].words.size(); ++i) {
        EXPECT_EQ(s[0].words[i].pos, 2) << s[0].words[i].text;
        EXPECT_EQ(s[0].words[i].len, 4) << s[0].words[i].text;
    }
    // The preposition is joined to the first number word and spans both.
    EXPECT_EQ(s[0].words[0].text, "в ты+сяча");
    EXPECT_EQ(s[0].words[0].pos, 0);
    EXPECT_EQ(s[0].words[0].len, 6);
}

TEST_F(GlossorCom, TextWithCyrillicOrDigitsAlwaysGivesWords) {
    for (const char* text : {"—", "«»", "…", "ъ", "ь", "1", "%", "Ы!", "C++", "Ё"}) {
        Set(text);
        int32_t n = 0;
        text_->GetSentenceCount(&n);
        std::vector<Syntagma> all;
        for (int32_t i = 0; i < n; ++i)
            for (const Syntagma& s : Next()) all.push_back(s);
        const bool readable =
            std::string(text) != "—" && std::string(text) != "«»" && std::string(text) != "…";
        EXPECT_EQ(!all.empty(), readable) << text;
    }
}

TEST_F(GlossorCom, AttributesPronSpellPuncAndContext) {
    const std::string text = "Я вижу        . Абв. Да, нет. 1234567.";
    auto at = [&](const char* needle) {
        return static_cast<int64_t>(Utf8ToCp1251(text.substr(0, text.find(needle))).size());
    };
    std::string pron = "Pron=M,O0,R',E2", spell = "Spell", punc = "Punc",
                phone = "Context=phone_number";
    // "Pron=" stands over the blanks where the word was.
    Set(text, {{pron.data(), 0, 7, 6, 0},
               {spell.data(), 0, at("Абв"), 3, 0},
               {punc.data(), 0, at("Да"), 7, 0},
               {phone.data(), 0, at("1234567"), 7, 0}});
    std::vector<Syntagma> s = Next();
    ASSERT_EQ(s.size(), 1u);
    ASSERT_EQ(s[0].words.size(), 3u);
    EXPECT_EQ(s[0].words[2].transcription, "M,O0,R',E2");
    EXPECT_EQ(s[0].words[2].pos, 7);
    EXPECT_EQ(s[0].words[2].len, 6);
    EXPECT_EQ(Words(Next()), "а+ бэ+ вэ+");  // one word per letter
    EXPECT_EQ(Words(Next()), "да+ запята+я не+т");
    EXPECT_EQ(Words(Next()), "сто+ два+дцать три+ четы+реста пятьдеся+т ше+сть се+мь");
}

TEST_F(GlossorCom, AVocabularyEditIsSeenByTheNextReload) {
    test::TempDir dir;
    const std::string file = dir.File("accentor.txt");
    test::WriteFile(file, Utf8ToCp1251("молоко+\n"));
    ASSERT_EQ(reg::Edit(reg::Root::LocalMachine,
                        [&](reg::Hive& hive) {
                            hive.SetValue("Software\\Vostrelin\\Glossor Module\\419",
                                          reg::MakeString("AccentorBase", file));
                            return reg::Status::Ok;
                        }),
              reg::Status::Ok);
    ComPtr<IGlossorUserBase> user;
    ASSERT_EQ(text_->QueryInterface(IID_IGlossorUserBase, user.PutVoid()), S_OK);
    ASSERT_EQ(user->ReloadUserVocabulary(), S_OK);
    Set("Молоко.");
    EXPECT_EQ(Words(Next()), "молоко+");
    test::WriteFile(file, Utf8ToCp1251("молоко+\nмо+локо\n"));  // the later line wins
    ASSERT_EQ(user->ReloadUserVocabulary(), S_OK);
    Set("Молоко.");
    EXPECT_EQ(Words(Next()), "мо+локо");
}

TEST_F(GlossorCom, BadCallsAreRefusedWithoutHarm) {
    EXPECT_EQ(text_->SetText("x", nullptr, 2), E_INVALIDARG);
    EXPECT_EQ(text_->SetText(nullptr, nullptr, 0), S_OK);
    int32_t n = -1;
    EXPECT_EQ(text_->GetSentenceCount(&n), S_OK);
    EXPECT_EQ(n, 0);
    EXPECT_EQ(text_->GetNextSentence(nullptr, &n, &n), E_POINTER);
    GlossorAttribute bad[] = {{nullptr, 0, 0, 5, 0},
                              {const_cast<char*>("Spell"), 0, -4, 2, 0},
                              {const_cast<char*>("Punc"), 0, 3, -1, 0},
                              {const_cast<char*>("Spell"), 0, 1 << 30, 9, 0}};
    Set("Текст.", std::vector<GlossorAttribute>(std::begin(bad), std::end(bad)));
    EXPECT_EQ(Words(Next()), "те+кст");
}

}  // namespace
}  // namespace vox
