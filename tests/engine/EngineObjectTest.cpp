// The engine object as an outside client sees it: voxamen.so loaded by path,
// IVoxamen created through its class factory or through the registry.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <chrono>
#include <filesystem>
#include <thread>

#include "interfaces/IVoxamen.h"
#include "platform/ComBinding.h"
#include "platform/ComKit.h"
#include "platform/Registry.h"
#include "support/ServerLibrary.h"
#include "support/SyntheticVoice.h"
#include "support/TempRegistry.h"

namespace vox {
namespace {

using test::ReadFile;
using test::ServerLibrary;
using test::TempRegistry;

class EngineObject : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(lib_.Loaded()) << lib_.Path();
        ASSERT_EQ(lib_.Create(CLSID_Voxamen, IID_IVoxamen, engine_.PutVoid()), S_OK);
    }
    void InstallVoice(const std::string& key, const std::string& values) {
        machine_ += "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Vostrelin\\Voices\\" + key + "]\n" + values;
        registry_.WriteMachine("Windows Registry Editor Version 5.00\n" + machine_);
    }
    TempRegistry registry_;
    std::string machine_;
    ServerLibrary lib_{"voxamen.so"};
    ComPtr<IVoxamen> engine_;
};

WAVEFORMATEX Pcm(uint32_t rate, uint16_t channels, uint16_t bits) {
    WAVEFORMATEX f{};
    f.wFormatTag = WAVE_FORMAT_PCM;
    f.nChannels = channels;
    f.nSamplesPerSec = rate;
    f.wBitsPerSample = bits;
    f.nBlockAlign = static_cast<uint16_t>(channels * bits / 8);
    f.nAvgBytesPerSec = f.nBlockAlign * rate;
    return f;
}

TEST_F(EngineObject, SetFormatAcceptsPcmMonoExcept8000Hz) {
    WAVEFORMATEX f = Pcm(8000, 1, 16);
    EXPECT_EQ(engine_->SetFormat(&f), E_FAIL);
    f = Pcm(16000, 1, 8);
    EXPECT_EQ(engine_->SetFormat(&f), S_OK);
    f = Pcm(16000, 2, 16);
    EXPECT_EQ(engine_->SetFormat(&f), E_FAIL);
    f.wFormatTag = 3;
    f.nChannels = 1;
    EXPECT_EQ(engine_->SetFormat(&f), E_FAIL);
    EXPECT_EQ(engine_->SetFormat(nullptr), E_INVALIDARG);
}

TEST_F(EngineObject, GetOutputFormatNegotiates) {
    WAVEFORMATEX nearest{};
    EXPECT_EQ(engine_->GetOutputFormat(nullptr, &nearest), S_FALSE);
    EXPECT_EQ(nearest.nSamplesPerSec, 22050u);
    EXPECT_EQ(nearest.wBitsPerSample, 16);
    EXPECT_EQ(nearest.nChannels, 1);
    EXPECT_EQ(nearest.nAvgBytesPerSec, 44100u);

    WAVEFORMATEX stereo = Pcm(44100, 2, 16);
    EXPECT_EQ(engine_->GetOutputFormat(&stereo, &nearest), S_FALSE);
    EXPECT_EQ(nearest.nSamplesPerSec, 44100u);
    EXPECT_EQ(nearest.nChannels, 1);
    EXPECT_EQ(nearest.nBlockAlign, 2);
    EXPECT_EQ(nearest.nAvgBytesPerSec, 88200u);

    WAVEFORMATEX mono8 = Pcm(11025, 1, 8);
    EXPECT_EQ(engine_->GetOutputFormat(&mono8, &nearest), S_OK);
    EXPECT_EQ(nearest.nBlockAlign, 1);
    WAVEFORMATEX tel = Pcm(8000, 1, 16);
    EXPECT_EQ(engine_->GetOutputFormat(&tel, &nearest), E_FAIL);
    EXPECT_EQ(engine_->GetOutputFormat(&tel, nullptr), E_INVALIDARG);
}

TEST_F(EngineObject, ResultQueriesBeforeAnySpeakAreEmpty) {
    for (auto query :
         {&IVoxamen::GetPhonemesSizes, &IVoxamen::GetVisemesCodes, &IVoxamen::GetPhonemesCodes}) {
        int32_t* array = nullptr;
        int32_t num = -1;
        EXPECT_EQ((engine_.Get()->*query)(&array, &num), S_OK);
        EXPECT_EQ(num, 0);
        EXPECT_NE(array, nullptr) << "a zero-length block is still handed out";
        CoTaskMemFree(array);
        EXPECT_EQ((engine_.Get()->*query)(nullptr, &num), E_INVALIDARG);
        EXPECT_EQ((engine_.Get()->*query)(&array, nullptr), E_INVALIDARG);
    }
}

TEST_F(EngineObject, SetVoiceOnAnUnknownKeyShowsTheMessage) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(engine_->SetVoice("nobody"), E_FAIL);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Vostrelin TTS Engine 3.0: Failed to read voice properties for nobody\n");
    EXPECT_EQ(engine_->SetVoice(nullptr), E_INVALIDARG);
}

TEST_F(EngineObject, SetVoiceWithoutARegisteredModuleNamesIt) {
    test::TempDir dir;
    test::SyntheticVoice voice;
    voice.AddVowel("A0", 2);
    voice.Write(dir.File("ru1.abs"));  // the database opens before the module is made
    InstallVoice("ru1", "\"VoiceData\"=\"" + dir.File("ru1.abs") +
                            "\"\n\"Language\"=\"419\"\n\"Sublang\"=\"0\"\n");
    testing::internal::CaptureStderr();
    EXPECT_EQ(engine_->SetVoice("ru1"), E_FAIL);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("Failed to create Phonetic (419.0)"),
              std::string::npos);
    testing::internal::CaptureStderr();
    EXPECT_EQ(engine_->SetVoice("ru1"), E_FAIL) << "a voice without its module is never S_FALSE";
    testing::internal::GetCapturedStderr();
}

TEST_F(EngineObject, SpeakChecksItsArgumentsAndFailsWithoutAVoice) {
    uint8_t* audio = nullptr;
    int32_t size = 0;
    EXPECT_EQ(engine_->Speak(nullptr, "(.)|(.)", nullptr, &audio, &size), E_INVALIDARG);
    EXPECT_EQ(engine_->Speak("#,A0,#", nullptr, nullptr, &audio, &size), E_INVALIDARG);
    EXPECT_EQ(engine_->Speak("#,A0,#", "(.)|(.)", nullptr, nullptr, &size), E_INVALIDARG);
    EXPECT_EQ(engine_->Speak("#,A0,#", "(.)|(.)", nullptr, &audio, nullptr), E_INVALIDARG);
    EXPECT_EQ(engine_->Speak("#,A0,#", "(.)|(.)", nullptr, &audio, &size), E_FAIL);
}

TEST_F(EngineObject, IsUISupportedKnowsTwoInterfaces) {
    InstallVoice("ru", "\"Language\"=\"419\"\n");
    InstallVoice("en", "\"Language\"=\"409\"\n");
    int32_t yes = -1;
    EXPECT_EQ(engine_->IsUISupported("en", "MS-SAPI5:EngineProperties", &yes), S_OK);
    EXPECT_EQ(yes, 1);
    EXPECT_EQ(engine_->IsUISupported("ru", "Vostrelin:AccentorVocabulary", &yes), S_OK);
    EXPECT_EQ(yes, 1);
    EXPECT_EQ(engine_->IsUISupported("en", "Vostrelin:AccentorVocabulary", &yes), S_OK);
    EXPECT_EQ(yes, 0);
    EXPECT_EQ(engine_->IsUISupported("nobody", "Vostrelin:AccentorVocabulary", &yes), S_OK);
    EXPECT_EQ(yes, 0);
    EXPECT_EQ(engine_->IsUISupported("ru", "ms-sapi5:engineproperties", &yes), S_OK);
    EXPECT_EQ(yes, 0) << "the type is compared case-sensitively";
}

TEST_F(EngineObject, DisplayUIStartsTheRegisteredPrograms) {
    test::TempDir dir;
    const std::string script = dir.File("settings.sh");
    test::WriteFile(script, "#!/bin/sh\necho \"$@\" > \"" + dir.File("args") + "\"\n");
    ::chmod(script.c_str(), 0755);
    InstallVoice("ru", "\"Language\"=\"419\"\n");
    reg::Key key;
    ASSERT_EQ(
        reg::Key::Create(reg::Root::LocalMachine, "Software\\Vostrelin\\TTS Engine\\3.0", key),
        reg::Status::Ok);
    key.SetText("Settings", script);
    EXPECT_EQ(engine_->DisplayUI(nullptr, "ru", "MS-SAPI5:EngineProperties"), S_OK);
    for (int i = 0; i < 200 && ReadFile(dir.File("args")).empty(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(ReadFile(dir.File("args")), ". ru\n");
    // No "Accentor" value: nothing starts, still S_OK.
    EXPECT_EQ(engine_->DisplayUI(nullptr, "ru", "Vostrelin:AccentorVocabulary"), S_OK);
    EXPECT_EQ(engine_->DisplayUI(nullptr, "ru", "Unknown"), S_OK);
}

TEST(EngineServer, RegistersItsClassesAndIsFoundByClassId) {
    TempRegistry registry;
    ServerLibrary lib("voxamen.so");
    ASSERT_EQ(lib.Register(), S_OK);
    const std::string machine = ReadFile(registry.MachineFile());
    for (const char* expected :
         {"[HKEY_LOCAL_MACHINE\\Software\\Classes\\Voxamen.Voxamen.1]\n@=\"Vostrelin Voxamen "
          "Class\"",
          "[HKEY_LOCAL_MACHINE\\Software\\Classes\\Voxamen.Voxamen\\CurVer]\n@=\"Voxamen.Voxamen."
          "1\"",
          "\"ThreadingModel\"=\"Both\"", "TypeLib]\n@=\"{9504C9CF-3A57-4321-82AF-E14BCFF31F15}\""})
        EXPECT_NE(machine.find(expected), std::string::npos) << expected;
    EXPECT_NE(machine.find(std::filesystem::canonical(lib.Path()).string()), std::string::npos);

    ComPtr<IVoxamen> engine;
    ASSERT_EQ(CoCreateInstance(CLSID_Voxamen, nullptr, CLSCTX_ALL, IID_IVoxamen, engine.PutVoid()),
              S_OK);
    EXPECT_EQ(lib.CanUnloadNow(), S_FALSE) << "a live engine keeps the library";
    engine.Reset();
    EXPECT_EQ(lib.CanUnloadNow(), S_OK);

    ASSERT_EQ(lib.Unregister(), S_OK);
    EXPECT_EQ(ReadFile(registry.MachineFile()).find("Voxamen"), std::string::npos);
}

}  // namespace
}  // namespace vox
