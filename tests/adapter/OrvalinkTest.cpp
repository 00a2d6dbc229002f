// The voice engine object over a fake lexical component and a fake engine,
// both created by class id through a test registry.
#include <gtest/gtest.h>

#include <dlfcn.h>

#include "adapter/Orvalink.h"
#include "adapter/fakes/FakeServerClasses.h"
#include "adapter/fakes/FakeSite.h"
#include "adapter/fakes/FragmentBuilder.h"
#include "platform/Guid.h"
#include "speech/TokenCategory.h"
#include "support/CapturedMessages.h"
#include "support/TempRegistry.h"

namespace vox {
namespace {

using test::FakeSite;
using test::FragmentBuilder;

const std::string kFakes = test::FakeServersLibrary();

class OrvalinkTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const std::string classes = test::FakeServerClasses();
        registry_.WriteMachine(
            "Windows Registry Editor Version 5.00\n\n" + classes +
            "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Vostrelin\\Voices\\test]\n"
            "\"LingProcessor\"=\"" +
            GuidToString(CLSID_FakeGlossor) +
            "\"\n"
            "\"Language\"=\"419\"\n\"Sublang\"=\"1\"\n\"VoiceData\"=\"/nowhere/voice.abs\"\n\n"
            "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Speech\\Voices\\Tokens\\test]\n"
            "\"CLSID\"=\"{074EB687-9A22-492E-9735-7B7A38CD3DE0}\"\n\n"
            "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Speech\\Voices\\Tokens\\nokey]\n"
            "\"CLSID\"=\"{074EB687-9A22-492E-9735-7B7A38CD3DE0}\"\n\n");
        handle_ = ::dlopen(kFakes.c_str(), RTLD_NOW);
        ASSERT_NE(handle_, nullptr) << ::dlerror();
        state_ = reinterpret_cast<FakeStateFn>(::dlsym(handle_, "FakeServersState"))();
        *state_ = FakeState{};
        engine_ = ComPtr<Orvalink>::Attach(new Orvalink());
    }
    void TearDown() override { engine_.Reset(); }

    ComPtr<ISpObjectToken> Token(const std::string& key) {
        return speech::OpenToken(
            "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Speech\\Voices\\Tokens\\" + key);
    }
    HRESULT Speak(const SPVTEXTFRAG* fragments, FakeSite& site, const WAVEFORMATEX* f = nullptr) {
        static const WAVEFORMATEX standard{WAVE_FORMAT_PCM, 1, 22050, 44100, 2, 16, 0};
        return engine_->Speak(0, SPDFID_WaveFormatEx, f ? f : &standard, fragments, &site);
    }

    test::TempRegistry registry_;
    test::CapturedMessages messages_;
    void* handle_ = nullptr;
    FakeState* state_ = nullptr;
    ComPtr<Orvalink> engine_;
};

TEST_F(OrvalinkTest, TokenIsAcceptedOnce) {
    EXPECT_EQ(engine_->SetObjectToken(Token("test").Get()), S_OK);
    EXPECT_EQ(engine_->SetObjectToken(Token("test").Get()), SPERR_ALREADY_INITIALIZED);
    ComPtr<ISpObjectToken> held;
    EXPECT_EQ(engine_->GetObjectToken(held.Put()), S_OK);
    EXPECT_TRUE(held);
}

TEST_F(OrvalinkTest, UnknownVoiceKeyFailsAndStaysInitialised) {
    EXPECT_EQ(engine_->SetObjectToken(Token("nokey").Get()), E_FAIL);
    EXPECT_TRUE(messages_.Contains("Vostrelin Sapi5 Adapter", "Failed to read voice attributes"));
    EXPECT_EQ(engine_->SetObjectToken(Token("test").Get()), SPERR_ALREADY_INITIALIZED);
}

TEST_F(OrvalinkTest, SpeakWithoutAVoiceIsAClearFailure) {
    FragmentBuilder b;
    b.Speak(u"pa", 0);
    FakeSite site;
    EXPECT_EQ(Speak(b.Head(), site), SPERR_UNINITIALIZED);
    ComPtr<ISpObjectToken> none;
    EXPECT_EQ(engine_->GetObjectToken(none.Put()), S_FALSE);
}

TEST_F(OrvalinkTest, OutputFormats) {
    ASSERT_EQ(engine_->SetObjectToken(Token("test").Get()), S_OK);
    GUID id{};
    WAVEFORMATEX* f = nullptr;
    ASSERT_EQ(engine_->GetOutputFormat(nullptr, nullptr, &id, &f), S_OK);
    EXPECT_EQ(id, SPDFID_WaveFormatEx);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->nSamplesPerSec, 22050u);
    EXPECT_EQ(f->wBitsPerSample, 16);
    CoTaskMemFree(f);
    EXPECT_EQ(engine_->GetOutputFormat(&SPDFID_Text, nullptr, &id, &f), S_OK);
    EXPECT_EQ(id, SPDFID_Text);
    EXPECT_EQ(f, nullptr);
    EXPECT_EQ(engine_->GetOutputFormat(nullptr, nullptr, nullptr, &f), E_INVALIDARG);
}

TEST_F(OrvalinkTest, TextFormatWritesNothing) {
    ASSERT_EQ(engine_->SetObjectToken(Token("test").Get()), S_OK);
    FragmentBuilder b;
    b.Speak(u"pa", 0);
    FakeSite site;
    EXPECT_EQ(engine_->Speak(0, SPDFID_Text, nullptr, b.Head(), &site), S_OK);
    EXPECT_TRUE(site.records.empty());
    EXPECT_EQ(engine_->Speak(0, SPDFID_WaveFormatEx, nullptr, nullptr, &site), E_INVALIDARG);
}

TEST_F(OrvalinkTest, SentencesSyntagmasAndWordsReachTheSite) {
    ASSERT_EQ(engine_->SetObjectToken(Token("test").Get()), S_OK);
    FragmentBuilder b;
    b.Speak(u"pa ma, da. ta", 0);
    FakeSite site;
    ASSERT_EQ(Speak(b.Head(), site), S_OK);
    EXPECT_STREQ(state_->lastText, "pa ma, da. ta");
    EXPECT_EQ(state_->speakCalls, 3);  // "pa ma" | "da" | "ta"
    EXPECT_STREQ(state_->lastPhonemes, "#,T,A,#");
    EXPECT_EQ(site.Events(SPEI_SENTENCE_BOUNDARY).size(), 2u);
    const auto words = site.Events(SPEI_WORD_BOUNDARY);
    ASSERT_EQ(words.size(), 4u);
    EXPECT_EQ(words[2].lParam, 7);  // "da."
    // Fake sizes: "#" 50, others 100 samples; all audio reaches the site.
    EXPECT_EQ(site.audio.size(), 2u * ((50 + 500 + 50) + (50 + 200 + 50) * 2));
}

TEST_F(OrvalinkTest, ProsodyOfEveryWordReachesTheEngine) {
    ASSERT_EQ(engine_->SetObjectToken(Token("test").Get()), S_OK);
    FragmentBuilder b;
    b.Speak(u"pa", 0).State.RateAdj = 3;
    b.Speak(u"ma", 3).State.EmphAdj = 1;
    FakeSite site;
    site.volume = 50;
    ASSERT_EQ(Speak(b.Head(), site), S_OK);
    ASSERT_EQ(state_->lastWords, 2);
    EXPECT_EQ(state_->lastRate[0], 3);
    EXPECT_EQ(state_->lastVolume[0], 50);
    EXPECT_EQ(state_->lastRate[1], -4);
    EXPECT_EQ(state_->lastVolume[1], 100);
}

TEST_F(OrvalinkTest, WithoutSentencesOnlySilencesAndBookmarksArrive) {
    ASSERT_EQ(engine_->SetObjectToken(Token("test").Get()), S_OK);
    FragmentBuilder b;
    b.Add(SPVA_Bookmark, u"1", 0);
    b.Silence(20, 0);
    b.Speak(u"   ", 0);
    FakeSite site;
    ASSERT_EQ(Speak(b.Head(), site), S_OK);
    EXPECT_EQ(state_->speakCalls, 0);
    EXPECT_EQ(site.Events(SPEI_TTS_BOOKMARK).size(), 1u);
    EXPECT_EQ(site.audio.size(), 882u);
}

TEST_F(OrvalinkTest, AFailedPhraseLeavesItsWordsSilentAndTheRestSpoken) {
    ASSERT_EQ(engine_->SetObjectToken(Token("test").Get()), S_OK);
    state_->failSpeakCall = 1;
    FragmentBuilder b;
    b.Speak(u"pa, ma", 0);
    FakeSite site;
    ASSERT_EQ(Speak(b.Head(), site), S_OK);
    EXPECT_EQ(state_->speakCalls, 2);
    EXPECT_EQ(site.audio.size(), 2u * (50 + 200 + 50));
}

TEST_F(OrvalinkTest, RefusedFormatEndsSpeakWithFailure) {
    ASSERT_EQ(engine_->SetObjectToken(Token("test").Get()), S_OK);
    state_->failSetFormat = 1;
    FragmentBuilder b;
    b.Speak(u"pa", 0);
    FakeSite site;
    EXPECT_EQ(Speak(b.Head(), site), E_FAIL);
}

TEST_F(OrvalinkTest, ANewVocabularyGenerationIsReloadedOnce) {
    ASSERT_EQ(engine_->SetObjectToken(Token("test").Get()), S_OK);
    FragmentBuilder b;
    b.Speak(u"pa", 0);
    FakeSite site;
    ASSERT_EQ(Speak(b.Head(), site), S_OK);
    EXPECT_EQ(state_->reloads, 0);
    reg::Key key;
    ASSERT_EQ(
        reg::Key::Create(reg::Root::LocalMachine, "Software\\Vostrelin\\Glossor Module\\419", key),
        reg::Status::Ok);
    ASSERT_EQ(key.SetDword("AccentorBaseGeneration", 3), reg::Status::Ok);
    ASSERT_EQ(Speak(b.Head(), site), S_OK);
    ASSERT_EQ(Speak(b.Head(), site), S_OK);
    EXPECT_EQ(state_->reloads, 1);
}

TEST_F(OrvalinkTest, AbortDuringALongTextStopsWithinAWord) {
    ASSERT_EQ(engine_->SetObjectToken(Token("test").Get()), S_OK);
    FragmentBuilder b;
    std::u16string text;
    for (int i = 0; i < 200; ++i) text += u"pa ma. ";
    b.Speak(text, 0);
    FakeSite site;
    site.abortAfterWrites = 3;
    ASSERT_EQ(Speak(b.Head(), site), S_OK);
    EXPECT_EQ(site.Writes(), 3);
    EXPECT_LE(state_->speakCalls, 3);
}

}  // namespace
}  // namespace vox
