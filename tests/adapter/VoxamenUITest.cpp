// The voices' user-interface object over the real engine (voxamen.so through
// the registry): the type mapping, the question, and the two programs started
// by the paths the installer registers.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <chrono>
#include <thread>

#include "adapter/VoxamenUI.h"
#include "platform/Registry.h"
#include "speech/RegistryToken.h"
#include "support/CapturedMessages.h"
#include "support/ServerLibrary.h"
#include "support/TempRegistry.h"

namespace vox {
namespace {

using test::ReadFile;

class VoxamenUITest : public testing::Test {
  protected:
    void SetUp() override {
        registry_.WriteMachine(
            "Windows Registry Editor Version 5.00\n"
            "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Vostrelin\\Voices\\ru-anna]\n"
            "\"Language\"=\"419\"\n"
            "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Vostrelin\\Voices\\en-zed]\n"
            "\"Language\"=\"409\"\n");
        ASSERT_EQ(engine_.Register(), S_OK);
        ui_ = ComPtr<VoxamenUI>::Attach(new VoxamenUI);
    }
    // A program that writes its arguments into `marker`.
    std::string Program(const std::string& name, const std::string& marker) {
        const std::string path = dir_.File(name);
        test::WriteFile(path, "#!/bin/sh\necho \"$@\" > " + marker + ".tmp && mv " + marker +
                                  ".tmp " + marker + "\n");
        ::chmod(path.c_str(), 0755);
        return path;
    }
    static std::string WaitFor(const std::string& path) {
        for (int i = 0; i < 500; ++i) {
            struct stat st {};
            if (::stat(path.c_str(), &st) == 0) return ReadFile(path);
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return "(not started)";
    }
    int32_t Supported(const char16_t* type, const char* extra, ISpObjectToken* token) {
        int32_t yes = -1;
        EXPECT_EQ(ui_->IsUISupported(type, const_cast<char*>(extra), 0, token, &yes), S_OK);
        return yes;
    }

    test::TempRegistry registry_;
    test::TempDir dir_;
    test::ServerLibrary engine_{"voxamen.so"};
    ComPtr<VoxamenUI> ui_;
};

TEST(EngineTypeOfUI, MapsThePlatformTypes) {
    EXPECT_EQ(EngineTypeOfUI(u"EngineProperties", nullptr, 0), "MS-SAPI5:EngineProperties");
    EXPECT_EQ(EngineTypeOfUI(u"EngineProperties", "AccentorVocabulary", 19),
              "Vostrelin:AccentorVocabulary");
    EXPECT_EQ(EngineTypeOfUI(u"EngineProperties", "AccentorVocabulary", 0),
              "Vostrelin:AccentorVocabulary");
    EXPECT_EQ(EngineTypeOfUI(u"EngineProperties", "AccentorVocabularyX", 0),
              "MS-SAPI5:EngineProperties");
    EXPECT_EQ(EngineTypeOfUI(u"EngineProperties", "Accentor", 9), "MS-SAPI5:EngineProperties");
    EXPECT_EQ(EngineTypeOfUI(u"AudioProperties", "AccentorVocabulary", 19), "");
    EXPECT_EQ(EngineTypeOfUI(nullptr, nullptr, 0), "");
}

TEST_F(VoxamenUITest, AsksTheEngineForTheTokensVoice) {
    auto anna = ComPtr<speech::RegistryToken>::Attach(
        new speech::RegistryToken("SOFTWARE\\Microsoft\\Speech\\Voices\\Tokens\\ru-anna"));
    auto zed = ComPtr<speech::RegistryToken>::Attach(
        new speech::RegistryToken("SOFTWARE\\Microsoft\\Speech\\Voices\\Tokens\\en-zed"));
    EXPECT_EQ(VoiceKeyOfToken(anna.Get()), "ru-anna");
    EXPECT_EQ(Supported(u"EngineProperties", nullptr, anna.Get()), 1);
    EXPECT_EQ(Supported(u"EngineProperties", "AccentorVocabulary", anna.Get()), 1);
    EXPECT_EQ(Supported(u"EngineProperties", "AccentorVocabulary", zed.Get()), 0);
    EXPECT_EQ(Supported(u"EngineProperties", "AccentorVocabulary", nullptr), 0);
    EXPECT_EQ(Supported(u"Other", nullptr, anna.Get()), 0);
    EXPECT_EQ(ui_->IsUISupported(u"EngineProperties", nullptr, 0, nullptr, nullptr), E_POINTER);
}

TEST_F(VoxamenUITest, DisplayUIStartsTheRegisteredPrograms) {
    const std::string settingsMarker = dir_.File("settings.txt");
    const std::string accentorMarker = dir_.File("accentor.txt");
    reg::Key key;
    ASSERT_EQ(
        reg::Key::Create(reg::Root::LocalMachine, "Software\\Vostrelin\\TTS Engine\\3.0", key),
        reg::Status::Ok);
    key.SetText("Settings", Program("setvane", settingsMarker));
    key.SetText("Accentor", Program("accentor", accentorMarker));
    auto anna = ComPtr<speech::RegistryToken>::Attach(
        new speech::RegistryToken("SOFTWARE\\Microsoft\\Speech\\Voices\\Tokens\\ru-anna"));

    EXPECT_EQ(
        ui_->DisplayUI(nullptr, u"Title", u"EngineProperties", nullptr, 0, anna.Get(), nullptr),
        S_OK);
    EXPECT_EQ(WaitFor(settingsMarker), ". ru-anna\n");
    char extra[] = "AccentorVocabulary";
    EXPECT_EQ(ui_->DisplayUI(nullptr, nullptr, u"EngineProperties", extra, sizeof extra, anna.Get(),
                             nullptr),
              S_OK);
    EXPECT_EQ(WaitFor(accentorMarker), ".\n");
}

TEST(VoxamenUIWithoutEngine, BothMethodsFail) {
    test::TempRegistry empty;  // the engine is not registered
    test::CapturedMessages messages;
    auto ui = ComPtr<VoxamenUI>::Attach(new VoxamenUI);
    EXPECT_TRUE(
        messages.Contains("Vostrelin Sapi5 Adapter", "Failed to create Vostrelin TTS Engine"));
    int32_t yes = -1;
    EXPECT_EQ(ui->IsUISupported(u"EngineProperties", nullptr, 0, nullptr, &yes), E_FAIL);
    EXPECT_EQ(yes, 0);
    EXPECT_EQ(ui->DisplayUI(nullptr, nullptr, u"EngineProperties", nullptr, 0, nullptr, nullptr),
              E_FAIL);
}

}  // namespace
}  // namespace vox
