// Voice tokens in the registry: enumeration, attributes and choice.
#include <gtest/gtest.h>

#include "speech/PhoneConverter419.h"
#include "speech/PhoneNames.h"
#include "speech/VoiceTokens.h"
#include "support/TempRegistry.h"

namespace vox::speech {
namespace {

class TokensTest : public ::testing::Test {
  protected:
    void SetUp() override {
        registry_.WriteMachine(
            "Windows Registry Editor Version 5.00\n\n"
            "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Speech\\Voices\\Tokens\\en-a]\n"
            "@=\"English A\"\n\n"
            "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Speech\\Voices\\Tokens\\en-a\\Attributes]\n"
            "\"Language\"=\"409\"\n\"Gender\"=\"Female\"\n\n"
            "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Speech\\Voices\\Tokens\\ru-b]\n"
            "@=\"Russian B\"\n\n"
            "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Speech\\Voices\\Tokens\\ru-b\\Attributes]\n"
            "\"Language\"=\"419;9\"\n\"Gender\"=\"Male\"\n\"Name\"=\"Борис\"\n\n");
    }
    test::TempRegistry registry_;
};

TEST_F(TokensTest, VoicesAreChosenByKeyNameOrAttributes) {
    const std::vector<TokenInfo> voices = InstalledVoices();
    ASSERT_EQ(voices.size(), 2u);
    EXPECT_EQ(ChooseVoice(voices, "")->key, "ru-b");  // the first Russian voice
    EXPECT_EQ(ChooseVoice(voices, "EN-A")->key, "en-a");
    EXPECT_EQ(ChooseVoice(voices, "Борис")->key, "ru-b");
    EXPECT_EQ(ChooseVoice(voices, "Gender=Female")->key, "en-a");
    EXPECT_FALSE(ChooseVoice(voices, "nobody"));
    EXPECT_EQ(VoiceList(voices), "en-a (English A), ru-b (Russian B)");
}

TEST_F(TokensTest, AttributesMatchLikeThePlatform) {
    const std::vector<TokenInfo> voices = InstalledVoices();
    EXPECT_TRUE(MatchesAttributes(voices[1], "Language=419"));
    EXPECT_TRUE(MatchesAttributes(voices[1], "language=9;Gender"));
    EXPECT_FALSE(MatchesAttributes(voices[1], "Gender!=Male"));
    EXPECT_FALSE(MatchesAttributes(voices[1], "Age"));
}

TEST_F(TokensTest, TokenReadsItsKeyAndNamesItself) {
    ComPtr<ISpObjectToken> token =
        OpenToken("HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Speech\\Voices\\Tokens\\ru-b");
    ASSERT_TRUE(token);
    char16_t* id = nullptr;
    ASSERT_EQ(token->GetId(&id), S_OK);
    EXPECT_EQ(std::u16string(id),
              u"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Speech\\Voices\\Tokens\\ru-b");
    CoTaskMemFree(id);
    char16_t* name = nullptr;
    ASSERT_EQ(token->GetStringValue(u"", &name), S_OK);
    EXPECT_EQ(std::u16string(name), u"Russian B");
    CoTaskMemFree(name);
    EXPECT_EQ(token->CreateInstance(nullptr, CLSCTX_ALL, IID_IUnknown, nullptr), E_POINTER);
    void* object = nullptr;
    EXPECT_EQ(token->CreateInstance(nullptr, CLSCTX_ALL, IID_IUnknown, &object), SPERR_NOT_FOUND);
    EXPECT_FALSE(OpenToken("HKEY_LOCAL_MACHINE\\SOFTWARE\\Nothing"));
}

}  // namespace
}  // namespace vox::speech

namespace vox::speech {
namespace {

TEST(PhoneConverter419, IdsAndNamesRoundTrip) {
    ComPtr<PhoneConverter419> c = ComPtr<PhoneConverter419>::Attach(new PhoneConverter419());
    SPPHONEID ids[8];
    ASSERT_EQ(c->PhoneToId(u"M A0 SH' _", ids), S_OK);
    EXPECT_EQ(ids[0], 29);
    EXPECT_EQ(ids[1], 2);
    EXPECT_EQ(ids[3], 62);
    EXPECT_EQ(ids[4], 0);
    char16_t phones[4 * 4 + 1];
    ASSERT_EQ(c->IdToPhone(ids, phones), S_OK);
    EXPECT_EQ(std::u16string(phones), u"M A0 SH' _");
    EXPECT_EQ(c->PhoneToId(u"M QQ", ids), E_INVALIDARG);
    EXPECT_EQ(PhoneNames419().size(), 62u);
    EXPECT_EQ(PhoneId419("O1"), 34);
}

}  // namespace
}  // namespace vox::speech
