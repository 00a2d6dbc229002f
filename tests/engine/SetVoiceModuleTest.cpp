// SetVoice and the phonetic module: created by the class id registered under
// the voice's Language[.Sublang], kept while the name stays the same.
#include <gtest/gtest.h>

#include "interfaces/IPhonetic.h"
#include "interfaces/IVoxamen.h"
#include "platform/ComKit.h"
#include "platform/Guid.h"
#include "platform/Registry.h"
#include "support/ServerLibrary.h"
#include "support/SyntheticVoice.h"
#include "support/TempRegistry.h"

namespace vox {
namespace {

class SetVoiceModule : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(module_.Register(), S_OK);
        voice_.AddVowel("A0", 3);
        voice_.Write(dir_.File("a.abs"));
        voice_.Write(dir_.File("b.abs"));
        ASSERT_EQ(engineLib_.Create(CLSID_Voxamen, IID_IVoxamen, engine_.PutVoid()), S_OK);
    }
    void Install(const std::string& key, const std::string& file, const std::string& sublang) {
        test::InstallSyntheticVoice(registry_, key, dir_.File(file), "419", sublang);
    }
    test::TempRegistry registry_;
    test::TempDir dir_;
    test::SyntheticVoice voice_;
    test::ServerLibrary module_{"allomod-419-0.so"};
    test::ServerLibrary engineLib_{"voxamen.so"};
    ComPtr<IVoxamen> engine_;
};

TEST_F(SetVoiceModule, SameKeyTwiceKeepsEverything) {
    Install("ru", "a.abs", "0");
    EXPECT_EQ(engine_->SetVoice("ru"), S_OK);
    EXPECT_EQ(engine_->SetVoice("ru"), S_FALSE);
}

TEST_F(SetVoiceModule, AnotherVoiceOnTheSameDatabaseOnlyChangesSettings) {
    Install("a", "a.abs", "0");
    Install("b", "a.abs", "7");  // no module 419.7 exists, but nothing is reloaded
    EXPECT_EQ(engine_->SetVoice("a"), S_OK);
    EXPECT_EQ(engine_->SetVoice("b"), S_FALSE);
}

TEST_F(SetVoiceModule, EmptySublangNamesTheModuleByLanguageAlone) {
    Install("ru", "a.abs", "");
    testing::internal::CaptureStderr();
    EXPECT_EQ(engine_->SetVoice("ru"), E_FAIL);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("Failed to create Phonetic (419)"),
              std::string::npos);
    reg::Key key;
    ASSERT_EQ(reg::Key::Create(reg::Root::LocalMachine, "Software\\Vostrelin\\Phonetic\\419", key),
              reg::Status::Ok);
    key.SetText("CLSID", GuidToString(CLSID_Allomod_419_0));
    EXPECT_EQ(engine_->SetVoice("ru"), S_OK);
}

TEST_F(SetVoiceModule, AnUnparsableClassIdIsNoModule) {
    Install("ru", "b.abs", "5");
    reg::Key key;
    ASSERT_EQ(
        reg::Key::Create(reg::Root::LocalMachine, "Software\\Vostrelin\\Phonetic\\419.5", key),
        reg::Status::Ok);
    key.SetText("CLSID", "not a class id");
    testing::internal::CaptureStderr();
    EXPECT_EQ(engine_->SetVoice("ru"), E_FAIL);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("Failed to create Phonetic (419.5)"),
              std::string::npos);
}

}  // namespace
}  // namespace vox
