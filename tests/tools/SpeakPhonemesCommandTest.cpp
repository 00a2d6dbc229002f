// voxamen speak-phonemes: a phrase through the registered engine into a WAV file.
#include <gtest/gtest.h>

#include <sstream>

#include "interfaces/IPhonetic.h"
#include "platform/ComBinding.h"
#include "platform/ComKit.h"
#include "platform/Text.h"
#include "support/CommandRun.h"
#include "support/ServerLibrary.h"
#include "support/SyntheticVoice.h"
#include "support/TempRegistry.h"
#include "tools/voicedb/Wav.h"

namespace vox::cli {
namespace {

constexpr const char* kPhrase = "#,M,A0,M,A0,#";

using Outcome = vox::test::CommandRun;

Outcome Voxamen(const std::vector<std::string>& args) {
    return vox::test::RunVoxamen(args);
}

class SpeakPhonemesCommand : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(test::ServerLibrary("voxamen.so").Register(), S_OK);
        ASSERT_EQ(test::ServerLibrary("allomod-419-1.so").Register(), S_OK);
        // The voice holds one unit for every allophone the module names.
        ComPtr<IPhonetic> module;
        ASSERT_EQ(CoCreateInstance(CLSID_Allomod_419_1, nullptr, CLSCTX_ALL, IID_IPhonetic,
                                   module.PutVoid()),
                  S_OK);
        char* allophones = nullptr;
        ASSERT_EQ(module->PhonemesToAllophones(kPhrase, &allophones), S_OK);
        CoTaskMemPtr<char> owned(allophones);
        test::SyntheticVoice voice;
        for (const std::string& name : SplitList(allophones))
            if (name != "#" && voice.Find(name) == nullptr) voice.AddVowel(name, 4);
        voice.Write(dir_.File("voice.abs"));
        test::InstallSyntheticVoice(registry_, "ru", dir_.File("voice.abs"), "419", "1");
    }
    test::TempRegistry registry_;
    test::TempDir dir_;
};

TEST_F(SpeakPhonemesCommand, WritesTheNegotiatedFormatAndSizes) {
    const std::string wav = dir_.File("out.wav");
    Outcome r = Voxamen({"speak-phonemes", kPhrase, "--type", "(.)|(.)", "--voice", "ru", "--rate",
                         "16000", "--bits", "8", "-o", wav, "--sizes"});
    ASSERT_EQ(r.status, kExitOk) << r.err;
    const std::string bytes = test::ReadFile(wav);
    ASSERT_GT(bytes.size(), 44u);
    EXPECT_EQ(bytes.substr(0, 4), "RIFF");
    EXPECT_EQ(static_cast<uint8_t>(bytes[24]) | static_cast<uint8_t>(bytes[25]) << 8,
              16000 & 0xFFFF);
    EXPECT_EQ(bytes[34], 8) << "8 bits per sample";
    // One line per phoneme after the header; the vowels have non-zero sizes.
    std::istringstream lines(r.out);
    std::string line;
    int rows = 0;
    while (std::getline(lines, line))
        if (line.rfind("A0 ", 0) == 0 || line.rfind("M ", 0) == 0 || line.rfind("# ", 0) == 0)
            ++rows;
    EXPECT_EQ(rows, 6) << r.out;
}

TEST_F(SpeakPhonemesCommand, ReportsBadRequests) {
    const std::string wav = dir_.File("out.wav");
    Outcome r = Voxamen({"speak-phonemes", kPhrase, "--type", "(.)", "--voice", "ru", "-o", wav});
    EXPECT_EQ(r.status, kExitFailure) << "a syntagma type without \"|\" fails";
    EXPECT_NE(r.err.find("E_FAIL"), std::string::npos) << r.err;
    r = Voxamen({"speak-phonemes", kPhrase, "--type", "(.)|(.)", "--voice", "nobody", "-o", wav});
    EXPECT_EQ(r.status, kExitFailure);
    EXPECT_NE(r.err.find("\"nobody\""), std::string::npos);
    for (const char* rate : {"8000", "1", "0", "-5", "192001", "fast"}) {
        r = Voxamen({"speak-phonemes", kPhrase, "--type", "(.)|(.)", "--voice", "ru", "--rate",
                     rate, "-o", wav});
        EXPECT_EQ(r.status, kExitUsage) << rate;
        EXPECT_NE(r.err.find(std::string("--rate ") + rate +
                             " is not supported: the engine produces 87 to 192000 Hz except 8000"),
                  std::string::npos)
            << r.err;
    }
    // The module's reasons, not a bare E_INVALIDARG.
    const std::pair<const char*, const char*> phrases[] = {
        {"#,M,QQ,#", "unknown phoneme \"QQ\" (phoneme 3)"},
        {"M,A0,#", "starts with \"M\""},
        {"#,M,A0,_,#", "\"_\" and \"#\" stand next to each other at phoneme 4 and 5"},
        {"#,#", "at least three"},
    };
    for (const auto& [phrase, why] : phrases) {
        r = Voxamen({"speak-phonemes", phrase, "--type", "(.)|(.)", "--voice", "ru", "-o", wav});
        EXPECT_EQ(r.status, kExitFailure) << phrase;
        EXPECT_NE(r.err.find("E_INVALIDARG"), std::string::npos) << r.err;
        EXPECT_NE(r.err.find("module 419.1 rejects the phrase: "), std::string::npos) << r.err;
        EXPECT_NE(r.err.find(why), std::string::npos) << r.err;
    }
    EXPECT_EQ(Voxamen({"speak-phonemes", kPhrase}).status, kExitUsage);
    EXPECT_EQ(Voxamen({"speak-phonemes", kPhrase, "--type", "(.)|(.)", "--voice", "ru", "--bits",
                       "12", "-o", wav})
                  .status,
              kExitUsage);
}

}  // namespace
}  // namespace vox::cli
