// SetVoice and the voice database: the engine remembers a database path only
// once that database has opened, so a voice whose database failed is tried
// again by the next SetVoice instead of being reported as already loaded.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include "engine/Voxamen.h"
#include "support/CapturedMessages.h"
#include "support/SyntheticVoice.h"
#include "support/TempRegistry.h"

namespace vox {
namespace {

class SetVoiceDatabase : public testing::Test {
  protected:
    void SetUp() override {
        voice_.AddVowel("A0", 3);
        path_ = dir_.File("ru1.abs");
        test::InstallSyntheticVoice(registry_, "ru1", path_);
    }
    void TearDown() override { engine_->Release(); }

    test::TempRegistry registry_;
    test::TempDir dir_;
    test::CapturedMessages messages_;
    test::SyntheticVoice voice_;
    std::string path_;
    Voxamen* engine_ = new Voxamen();
};

TEST_F(SetVoiceDatabase, AMissingDatabaseFailsEveryTimeUntilItExists) {
    for (int attempt = 0; attempt < 2; ++attempt) {
        messages_.Clear();
        EXPECT_EQ(engine_->SetVoice("ru1"), E_FAIL) << "attempt " << attempt;
        EXPECT_TRUE(messages_.Contains(kEngineCaption, "Failed to init audio base " + path_));
    }
    // Once the file is there the database opens; no phonetic module is
    // registered, so SetVoice fails one step later …
    voice_.Write(path_);
    messages_.Clear();
    EXPECT_EQ(engine_->SetVoice("ru1"), E_FAIL);
    EXPECT_TRUE(messages_.Contains(kEngineCaption, "Failed to create Phonetic (419.0)"));
    EXPECT_FALSE(messages_.Contains(kEngineCaption, "Failed to init audio base"));
    // … and, the voice being unusable without its module, nothing is
    // remembered: the next SetVoice tries both again.
    messages_.Clear();
    EXPECT_EQ(engine_->SetVoice("ru1"), E_FAIL);
    EXPECT_TRUE(messages_.Contains(kEngineCaption, "Failed to create Phonetic (419.0)"));
}

TEST_F(SetVoiceDatabase, AHostileDatabaseIsNotRemembered) {
    const std::string bytes = voice_.Bytes();
    test::WriteFile(path_, bytes.substr(0, bytes.size() - 1));  // last index entry cut
    for (int attempt = 0; attempt < 2; ++attempt) {
        messages_.Clear();
        EXPECT_EQ(engine_->SetVoice("ru1"), E_FAIL) << "attempt " << attempt;
        EXPECT_TRUE(messages_.Contains("Allobase", "Failed to open voice"));
        EXPECT_TRUE(messages_.Contains(kEngineCaption, "Failed to init audio base " + path_));
    }
}

TEST_F(SetVoiceDatabase, AVoiceWithoutDatabasePathFails) {
    test::InstallSyntheticVoice(registry_, "bare", "");
    EXPECT_EQ(engine_->SetVoice("bare"), E_FAIL);
    EXPECT_EQ(engine_->SetVoice("bare"), E_FAIL) << "an empty path is no loaded database";
    EXPECT_TRUE(messages_.Contains(kEngineCaption, "Failed to init audio base "));
}

TEST_F(SetVoiceDatabase, AFifoAsDatabaseFailsAtOnce) {
    ASSERT_EQ(::mkfifo(path_.c_str(), 0600), 0);
    ::alarm(20);  // a reader waiting for a writer would hang here
    EXPECT_EQ(engine_->SetVoice("ru1"), E_FAIL);
    ::alarm(0);
    EXPECT_TRUE(messages_.Contains(kEngineCaption, "Failed to init audio base " + path_));
}

}  // namespace
}  // namespace vox
