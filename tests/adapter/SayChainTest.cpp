// The whole chain through registered servers on the default voice: token →
// Orvalink → lexical component → Voxamen → output site. Needs the voice
// built by the main job (label "slow"); skipped when it is not there.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>

#include "interfaces/IGlossor.h"
#include "platform/Guid.h"
#include "platform/Utf16.h"
#include "speech/Speaker.h"
#include "speech/VoiceTokens.h"
#include "speech/XmlFragments.h"
#include "support/ServerLibrary.h"
#include "support/TempRegistry.h"
#include "tools/voxamen/VoiceInstaller.h"

namespace vox {
namespace {

std::string DefaultVoiceData() {
    const char* data = std::getenv("XDG_DATA_HOME");
    const char* home = std::getenv("HOME");
    const std::string root = data != nullptr && *data != 0 ? data
                             : home != nullptr             ? std::string(home) + "/.local/share"
                                                           : "";
    return root + "/voxamen/voices/ru-nsh/voice.abs";
}

const char* const kParagraph =
    "В 2024 году, 15 марта, в Москве прошло 3 концерта. Билеты стоили 1500 рублей; "
    "пришли почти 12 тысяч человек! Кто бы мог подумать?";

struct Spoken {
    std::vector<uint8_t> audio;
    std::vector<speech::SpeechEvent> events;
};

class SayChainTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!std::filesystem::exists(DefaultVoiceData()))
            GTEST_SKIP() << "the default voice is not built (scripts/main.sh)";
        for (const char* lib :
             {"voxamen.so", "allomod-419-1.so", "orvalink.so", "glossor.so", "phoneconv-419.so"}) {
            test::ServerLibrary server(lib);
            if (!server.Loaded()) GTEST_SKIP() << lib << " is not built";
            ASSERT_EQ(server.Register(), S_OK) << lib;
        }
        VoiceInstallation voice;
        voice.key = "ru-nsh";
        voice.voiceData = DefaultVoiceData();
        voice.sublang = "1";
        voice.lexicon = GuidToString(CLSID_Glossor);
        std::string error;
        ASSERT_TRUE(InstallVoice(voice, error)) << error;
        const auto token = speech::ChooseVoice(speech::InstalledVoices(), "ru-nsh");
        ASSERT_TRUE(token);
        ASSERT_TRUE(speaker_.Open(*token, error)) << error;
    }

    Spoken Speak(const speech::FragmentList& piece, uint32_t rate, uint16_t bits) {
        Spoken out;
        WAVEFORMATEX format{};
        std::string error;
        EXPECT_TRUE(speaker_.NegotiateFormat(rate, bits, format, error)) << error;
        speech::CallbackSink sink([&](const uint8_t* data, size_t size) {
            out.audio.insert(out.audio.end(), data, data + size);
            return true;
        });
        speech::OutputSite site(sink, format);
        site.SetEventCallback([&](const speech::SpeechEvent& e) { out.events.push_back(e); });
        EXPECT_EQ(speaker_.Speak(piece, site), S_OK);
        return out;
    }

    test::TempRegistry registry_;
    speech::Speaker speaker_;
};

// Every word event points at its word of the input; events end where the
// audio ends.
void CheckEvents(const Spoken& s, const std::u16string& input, size_t blockAlign) {
    size_t words = 0;
    std::map<speech::EventType, uint64_t> last;  // each kind in audio order
    for (const speech::SpeechEvent& e : s.events) {
        EXPECT_LE(e.bytes, s.audio.size());
        EXPECT_GE(e.bytes, last[e.type]);
        EXPECT_EQ(e.bytes % blockAlign, 0u);
        last[e.type] = e.bytes;
        if (e.type != speech::EventType::Word) continue;
        ++words;
        ASSERT_LE(e.pos + e.len, input.size());
        EXPECT_EQ(Utf16ToUtf8(input.substr(e.pos, e.len)), e.text);
        EXPECT_NE(e.text.find_first_not_of(" ,.;!?"), std::string::npos) << e.text;
    }
    EXPECT_GE(words, 15u);
    ASSERT_FALSE(s.events.empty());
    EXPECT_EQ(s.events.back().bytes, s.audio.size());
}

TEST_F(SayChainTest, PlainTextAtEveryFormat) {
    const speech::FragmentList piece = speech::FragmentsFromText(kParagraph);
    const std::u16string input = Utf8ToUtf16(kParagraph);
    for (auto [rate, bits] : {std::pair<uint32_t, uint16_t>{22050, 16}, {44100, 16}, {11025, 8}}) {
        SCOPED_TRACE(std::to_string(rate) + " Hz, " + std::to_string(bits) + " bits");
        const Spoken s = Speak(piece, rate, bits);
        const double seconds = double(s.audio.size()) / (rate * (bits / 8));
        EXPECT_GT(seconds, 4.0);
        EXPECT_LT(seconds, 30.0);
        CheckEvents(s, input, bits / 8);
    }
}

TEST_F(SayChainTest, SsmlPositionsCountTheMarkup) {
    const std::string ssml = std::string("<speak><p>") + kParagraph +
                             "</p><break time=\"300ms\"/><mark name=\"end\"/></speak>";
    speech::FragmentList piece;
    std::string error;
    ASSERT_TRUE(speech::FragmentsFromSsml(ssml, speech::DefaultState(), piece, error)) << error;
    const Spoken s = Speak(piece, 22050, 16);
    CheckEvents(s, Utf8ToUtf16(ssml), 2);
    EXPECT_EQ(s.events.back().type, speech::EventType::Bookmark);
    EXPECT_EQ(s.events.back().text, "end");
}

}  // namespace
}  // namespace vox
