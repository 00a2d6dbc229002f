// voxamen lexicon analyse: in-process for the arguments, as a program for
// standard input.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "support/CommandRun.h"
#include "support/TempRegistry.h"

namespace {

using Result = vox::test::CommandRun;

Result Voxamen(const std::vector<std::string>& args) {
    return vox::test::RunVoxamen(args);
}

class AnalyseCommand : public testing::Test {
  protected:
    void SetUp() override {
        // No dictionary: the stress comes from the model, which is enough here.
        ::setenv("VOXAMEN_STRESS_DICTIONARY", dir_.File("none.vxs").c_str(), 1);
        ::setenv("VOXAMEN_MESSAGES", "none", 1);
    }
    vox::test::TempRegistry registry_;
    vox::test::TempDir dir_;
};

TEST_F(AnalyseCommand, OneLinePerSyntagmaWithItsType) {
    Result r = Voxamen({"lexicon", "analyse", "--no-stress", "Привет, мир! В 2 часа?"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "(,)|(,)\tпривет\n(!)|(!.)\tмир\n(?)|(?.)\tв два часа\n");
}

TEST_F(AnalyseCommand, StressMarksAndTranscriptions) {
    Result r = Voxamen({"lexicon", "analyse", "--transcription", "в мо+ре"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "(.)|(.)\tв мо+ре\tV,M,O0,R',E2\n");
    EXPECT_EQ(Voxamen({"lexicon", "analyse", "--sublang", "x", "a"}).status, vox::cli::kExitUsage);
    EXPECT_EQ(Voxamen({"lexicon", "analyse", "--bogus"}).status, vox::cli::kExitUsage);
}

TEST_F(AnalyseCommand, ReadsStandardInput) {
    const std::string command =
        "printf '%s' 'Раз. Два.' | " VOXAMEN_BIN_DIR "/voxamen lexicon analyse --no-stress";
    FILE* pipe = ::popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string out;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) out += buffer;
    EXPECT_EQ(::pclose(pipe), 0);
    EXPECT_EQ(out, "(.)|(.)\tраз\n(.)|(.)\tдва\n");
}

}  // namespace
