// Voice settings read from hand-written registry files, and written back.
#include <gtest/gtest.h>

#include "engine/voice/VoiceProperties.h"
#include "support/TempRegistry.h"

namespace vox {
namespace {

constexpr const char* kHeader = "Windows Registry Editor Version 5.00\n";

class VoicePropertiesTest : public testing::Test {
  protected:
    void Machine(const std::string& key, const std::string& values) {
        machine_ += "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Vostrelin\\Voices\\" + key + "]\n" + values;
        registry_.WriteMachine(kHeader + machine_);
    }
    void User(const std::string& key, const std::string& values) {
        user_ += "[HKEY_CURRENT_USER\\Software\\Vostrelin\\Voices\\" + key + "]\n" + values;
        registry_.WriteUser(kHeader + user_);
    }
    test::TempRegistry registry_;
    std::string machine_, user_;
};

TEST_F(VoicePropertiesTest, MachineKeyAloneGivesEveryUserDefault) {
    Machine("ru1", "\"VoiceData\"=\"/v/ru1.abs\"\n\"Language\"=\"419\"\n\"Sublang\"=\"0\"\n");
    VoiceProperties p;
    ASSERT_TRUE(p.Read("ru1"));
    EXPECT_EQ(p.voiceKey, "ru1");
    EXPECT_EQ(p.voiceData, "/v/ru1.abs");
    EXPECT_EQ(p.languageId, 1049) << "\"419\" read as 0x419";
    EXPECT_FALSE(p.rhytmicsEnabled || p.intonationEnabled || p.filterEnabled || p.reverEnabled ||
                 p.chambrelEnabled || p.noiseFill);
    EXPECT_EQ(p.durationUnit, 150);
    EXPECT_EQ(p.noiseLevel, 20);
    EXPECT_EQ(p.intonationLowFreq, 100);
    EXPECT_EQ(p.intonationHighFreq, 200);
    EXPECT_TRUE(p.reverUseFilter && p.chambrelIsMale);
    EXPECT_DOUBLE_EQ(p.reverDelay, 0.2);
    EXPECT_DOUBLE_EQ(p.pauses.at("(.)"), 3.0);
    EXPECT_DOUBLE_EQ(p.pauses.at("(;)"), static_cast<double>(2.7f)) << "single precision, widened";
    EXPECT_EQ(p.pauses.size(), 19u);
}

TEST_F(VoicePropertiesTest, UnknownVoiceFailsWithDefaults) {
    VoiceProperties p;
    p.durationUnit = 1;
    EXPECT_FALSE(p.Read("nobody"));
    EXPECT_EQ(p.durationUnit, 150);
}

TEST_F(VoicePropertiesTest, SubkeyValuesAreDecoded) {
    Machine("ru1", "\"DebugVerbosity\"=dword:00000002\n\"MaxCut\"=dword:00000005\n");
    User("ru1", "\"UseNewIntonation\"=dword:00000001\n\"IntonationLowFreq\"=dword:ffffffff\n");
    User("ru1\\Rever", "\"Delay\"=dword:000000fa\n");
    User("ru1\\Filter", "\"Type\"=dword:00000003\n\"LowPassCutoff\"=\"text is not a number\"\n");
    User("ru1\\Pauses",
         "\"(.)\"=dword:000007d0\n\"(X)\"=dword:000001f4\n\"X\"=dword:00000001\n"
         "\"DurationUnit\"=dword:00000064\n\"(bad)\"=hex:01,02\n");
    VoiceProperties p;
    ASSERT_TRUE(p.Read("ru1"));
    EXPECT_EQ(p.debugVerbosity, 2);
    EXPECT_TRUE(p.maxCut);
    EXPECT_TRUE(p.useNewIntonation);
    EXPECT_EQ(p.intonationLowFreq, -1) << "numbers are signed 32-bit";
    EXPECT_DOUBLE_EQ(p.reverDelay, 0.25);
    EXPECT_EQ(p.filterType, 3);
    EXPECT_EQ(p.lowPassCutoff, 4000) << "a value of the wrong type keeps its default";
    EXPECT_DOUBLE_EQ(p.pauses.at("(.)"), 2.0);
    EXPECT_DOUBLE_EQ(p.pauses.at("(X)"), 0.5);
    EXPECT_EQ(p.pauses.count("X"), 0u);
    EXPECT_EQ(p.pauses.count("(bad)"), 0u);
    EXPECT_EQ(p.durationUnit, 100);
}

TEST_F(VoicePropertiesTest, SecondReadStartsFromDefaultsButKeepsAddedMarks) {
    Machine("a", "\"Sublang\"=\"0\"\n\"Name\"=\"A\"\n");
    Machine("b", "\"Name\"=\"B\"\n");
    User("a\\Pauses", "\"(X)\"=dword:000001f4\n\"(.)\"=dword:000007d0\n");
    VoiceProperties p;
    ASSERT_TRUE(p.Read("a"));
    ASSERT_TRUE(p.Read("b"));
    EXPECT_EQ(p.sublang, "");
    EXPECT_EQ(p.name, "B");
    EXPECT_DOUBLE_EQ(p.pauses.at("(.)"), 3.0);
    EXPECT_DOUBLE_EQ(p.pauses.at("(X)"), 0.5) << "a mark an earlier read added keeps its factor";
}

TEST_F(VoicePropertiesTest, OverlongTextsAndOddLanguagesKeepDefaults) {
    Machine("ru1", "\"Name\"=\"" + std::string(256, 'n') + "\"\n\"Gender\"=\"" +
                       std::string(255, 'g') + "\"\n\"Language\"=\"xyz\"\n");
    VoiceProperties p;
    ASSERT_TRUE(p.Read("ru1"));
    EXPECT_EQ(p.name, "") << "256 bytes plus the terminator do not fit the 256-byte buffer";
    EXPECT_EQ(p.gender.size(), 255u);
    EXPECT_EQ(p.language, "xyz");
    EXPECT_EQ(p.languageId, 0);
}

TEST_F(VoicePropertiesTest, WriterStoresTheWholeRecordInTheSameEncodings) {
    Machine("ru1", "\"UI\"=\"{ui}\"\n\"MaxCut\"=dword:00000001\n");
    VoiceProperties p;
    ASSERT_TRUE(p.Read("ru1"));
    p.name = "Николай";
    p.language = "419";
    p.debugVerbosity = 2;
    p.rhytmicsEnabled = true;
    p.intonationHighFreq = 250;
    p.reverDelay = 0.123;
    p.chambrelIsMale = false;
    p.filterType = 4;
    p.durationUnit = 120;
    p.pauses["(,)"] = 0.5;
    p.pauses["(Y)"] = 1.25;
    ASSERT_EQ(WriteVoiceProperties(p), reg::Status::Ok);

    VoiceProperties q;
    ASSERT_TRUE(q.Read("ru1"));
    EXPECT_EQ(q.name, "Николай");
    EXPECT_EQ(q.languageId, 1049);
    EXPECT_EQ(q.debugVerbosity, 2);
    EXPECT_TRUE(q.rhytmicsEnabled);
    EXPECT_EQ(q.intonationHighFreq, 250);
    EXPECT_DOUBLE_EQ(q.reverDelay, 0.123);
    EXPECT_FALSE(q.chambrelIsMale);
    EXPECT_EQ(q.filterType, 4);
    EXPECT_EQ(q.durationUnit, 120);
    EXPECT_DOUBLE_EQ(q.pauses.at("(,)"), 0.5);
    EXPECT_DOUBLE_EQ(q.pauses.at("(Y)"), 1.25);
    EXPECT_EQ(q.ui, "{ui}") << "the settings program does not write UI";
    EXPECT_TRUE(q.maxCut) << "nor MaxCut";
    const std::string user = test::ReadFile(registry_.UserFile());
    EXPECT_NE(user.find("\"Delay\"=dword:0000007b"), std::string::npos) << "thousandths";
}

}  // namespace
}  // namespace vox
