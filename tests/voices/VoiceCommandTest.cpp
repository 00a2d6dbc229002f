// `voxamen voice build` and `voxamen voice report` as commands: arguments,
// usage and the errors a user meets before any work starts.
#include <gtest/gtest.h>

#include <sstream>

#include "support/CommandRun.h"
#include "support/TempRegistry.h"

namespace vox::cli {
namespace {

using vox::test::CommandRun;

CommandRun Voxamen(const std::vector<std::string>& args) {
    return vox::test::RunVoxamen(args);
}

TEST(VoiceBuildCommandTest, ExplainsItsArguments) {
    CommandRun help = Voxamen({"voice", "build", "--help"});
    EXPECT_EQ(help.status, kExitOk);
    EXPECT_NE(help.out.find("usage: voxamen voice build CORPUS -o VOICE_DIR --phone-map FILE"),
              std::string::npos);

    const std::vector<std::vector<std::string>> bad = {
        {"voice", "build"},
        {"voice", "build", "corpus", "--phone-map", "m"},
        {"voice", "build", "corpus", "-o", "v", "--phone-map", "m", "--prompt-stress", "sideways"},
        {"voice", "build", "corpus", "-o", "v", "--phone-map", "m", "--f0-min", "300", "--f0-max",
         "100"},
        {"voice", "build", "corpus", "-o", "v", "--phone-map", "m", "--jobs", "many"},
        {"voice", "build", "corpus", "-o", "v", "--phone-map", "m", "--colour", "red"},
    };
    for (const auto& args : bad) {
        CommandRun r = Voxamen(args);
        EXPECT_EQ(r.status, kExitUsage) << args.back();
        EXPECT_NE(r.err.find("usage: voxamen voice build"), std::string::npos) << r.err;
    }
}

TEST(VoiceBuildCommandTest, NeedsTheRegisteredModule) {
    test::TempRegistry registry;
    test::TempDir dir;
    CommandRun r = Voxamen(
        {"voice", "build", dir.Path(), "-o", dir.File("voice"), "--phone-map", dir.File("m")});
    EXPECT_EQ(r.status, kExitFailure);
    EXPECT_NE(r.err.find("phonetic module 419.1 is not registered"), std::string::npos) << r.err;
}

TEST(VoiceReportCommandTest, ExplainsItsArgumentsAndNamesAMissingVoice) {
    EXPECT_EQ(Voxamen({"voice", "report", "--help"}).status, kExitOk);
    EXPECT_EQ(Voxamen({"voice", "report", "voice-dir"}).status, kExitUsage);
    EXPECT_EQ(Voxamen({"voice", "report", "v", "--text", "t", "--top", "-1"}).status, kExitUsage);
    test::TempDir dir;
    test::WriteFile(dir.File("text"), "мо+ре\n");
    CommandRun r = Voxamen({"voice", "report", dir.File("nothing"), "--text", dir.File("text")});
    EXPECT_EQ(r.status, kExitFailure);
    EXPECT_NE(r.err.find(dir.File("nothing") + ": cannot be opened"), std::string::npos) << r.err;
    EXPECT_NE(Voxamen({"voice", "--help"}).out.find("add|remove|build|report"), std::string::npos);
}

}  // namespace
}  // namespace vox::cli
