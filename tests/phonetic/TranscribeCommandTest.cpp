// voxamen transcribe, and voxamen analyse given letters: modules created
// through the registry, UTF-8 text in and out.
#include <gtest/gtest.h>

#include <sstream>

#include "support/CommandRun.h"
#include "support/ServerLibrary.h"
#include "support/TempRegistry.h"

namespace vox {
namespace {

using ToolRun = vox::test::CommandRun;

ToolRun Tool(const std::vector<std::string>& args) {
    return vox::test::RunVoxamen(args);
}

TEST(TranscribeCommand, LettersToPhonemesAndAllophones) {
    test::TempRegistry registry;
    ToolRun r = Tool({"transcribe", "мо+ре"});
    EXPECT_EQ(r.status, cli::kExitOk) << r.err;
    EXPECT_EQ(r.out, "#,M,O0,R',E2,#\n") << "no module needed for phonemes";
    EXPECT_EQ(Tool({"transcribe", "ёлка"}).out, "#,J',A1,L,K,A1,#\n") << "module 419.0's rules";

    r = Tool({"transcribe", "мо+ре", "--module", "419.1"});
    EXPECT_EQ(r.status, cli::kExitFailure);
    EXPECT_NE(r.err.find("voxamen transcribe: phonetic module 419.1 is not registered"),
              std::string::npos)
        << r.err;

    for (const char* library : {"allomod-419-1.so", "allomod-419-3.so"})
        ASSERT_EQ(test::ServerLibrary(library).Register(), S_OK) << library;
    r = Tool({"transcribe", "ви+зжг", "--module", "419.1"});
    EXPECT_EQ(r.status, cli::kExitOk) << r.err;
    EXPECT_EQ(r.out, "#,V',I0,SH,SH,K,#\n#,V'-I0,I0-V',SH,SH,K-#,#\n");
    r = Tool({"transcribe", "мо+ре", "--module=419.3"});
    EXPECT_EQ(r.out, "#,M,O0,R',E2,#\n#,M-O0.1,M-O0.2,R'-E2.1,R'-E2.2,#\n") << r.err;

    for (const char* misplaced : {"+мо", "мо++ре", "..."}) {
        r = Tool({"transcribe", misplaced});
        EXPECT_EQ(r.status, cli::kExitFailure) << misplaced;
        EXPECT_NE(r.err.find("gives no phrase"), std::string::npos) << r.err;
    }
    EXPECT_EQ(Tool({"transcribe"}).status, cli::kExitUsage);
}

TEST(AnalyseCommand, AcceptsLetters) {
    test::TempRegistry registry;
    ASSERT_EQ(test::ServerLibrary("allomod-419-2.so").Register(), S_OK);
    ToolRun r = Tool({"analyse", "до+м", "--module", "419.2"});
    ASSERT_EQ(r.status, cli::kExitOk) << r.err;
    EXPECT_EQ(r.out.rfind("phonemes: #,D,O0,M,#\n", 0), 0u) << r.out;
    EXPECT_NE(r.out.find("D-O0"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("O0-D"), std::string::npos) << r.out;

    r = Tool({"analyse", "до++м", "--module", "419.2"});
    EXPECT_EQ(r.status, cli::kExitFailure);
    EXPECT_NE(r.err.find("gives no phrase"), std::string::npos) << r.err;
    r = Tool({"analyse", "#,D,O0,M,#", "--module", "419.2"});
    EXPECT_EQ(r.status, cli::kExitOk) << "a phoneme string is used as it is";
    EXPECT_EQ(r.out.find("phonemes:"), std::string::npos);
}

TEST(TranscribeCommand, InvalidUtf8IsReportedWithItsPosition) {
    test::TempRegistry registry;
    ASSERT_EQ(test::ServerLibrary("allomod-419-2.so").Register(), S_OK);
    // "мо\xFFре": the stray byte would otherwise read as a word break.
    for (const char* command : {"transcribe", "analyse"}) {
        ToolRun r = Tool({command, "мо\xFFре", "--module", "419.2"});
        EXPECT_EQ(r.status, cli::kExitUsage) << command;
        EXPECT_NE(r.err.find(std::string("voxamen ") + command +
                             ": the text is not UTF-8: byte 0xFF at byte offset 4"),
                  std::string::npos)
            << r.err;
    }
}

}  // namespace
}  // namespace vox
