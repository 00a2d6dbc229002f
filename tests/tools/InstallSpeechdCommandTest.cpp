// voxamen install-speechd: the module and its configuration where asked,
// an existing configuration kept unless --force, bad options refused.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/TempRegistry.h"
#include "tools/voxamen/Command.h"

namespace vox::cli {
namespace {

namespace fs = std::filesystem;

int RunVoxamen(const std::vector<std::string>& args, std::string* out, std::string* err) {
    std::ostringstream o, e;
    int status = RunCommandLine(args, o, e);
    *out = o.str();
    *err = e.str();
    return status;
}

std::string Read(const fs::path& p) {
    std::ifstream in(p);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(InstallSpeechdCommand, InstallsModuleAndKeepsAnEditedConfiguration) {
    test::TempDir dir;
    const std::string modules = dir.File("modules"), config = dir.File("config");
    std::string out, err;
    // The test program is built next to sd_voxamen, as voxamen is.
    ASSERT_EQ(RunVoxamen({"install-speechd", "--module-dir", modules, "--config-dir", config,
                          "--voice", "ru-nsh", "--rate", "15"},
                         &out, &err),
              kExitOk)
        << err;
    EXPECT_TRUE(fs::is_regular_file(fs::path(modules) / "sd_voxamen"));
    const std::string conf = Read(fs::path(config) / "voxamen.conf");
    EXPECT_NE(conf.find("VoxamenDefaultVoice \"ru-nsh\""), std::string::npos);
    EXPECT_NE(conf.find("VoxamenRateOffset 15"), std::string::npos);
    EXPECT_NE(fs::status(fs::path(modules) / "sd_voxamen").permissions() & fs::perms::owner_exec,
              fs::perms::none);

    std::ofstream(fs::path(config) / "voxamen.conf") << "VoxamenRateOffset 40\n";
    ASSERT_EQ(RunVoxamen({"install-speechd", "--module-dir", modules, "--config-dir", config}, &out,
                         &err),
              kExitOk);
    EXPECT_NE(out.find("kept"), std::string::npos);
    EXPECT_EQ(Read(fs::path(config) / "voxamen.conf"), "VoxamenRateOffset 40\n");
    ASSERT_EQ(
        RunVoxamen({"install-speechd", "--module-dir", modules, "--config-dir", config, "--force"},
                   &out, &err),
        kExitOk);
    EXPECT_NE(Read(fs::path(config) / "voxamen.conf").find("VoxamenRateOffset 0"),
              std::string::npos);
}

TEST(InstallSpeechdCommand, RefusesBadOptions) {
    std::string out, err;
    EXPECT_EQ(RunVoxamen({"install-speechd", "--rate", "101"}, &out, &err), kExitUsage);
    EXPECT_NE(err.find("--rate takes a whole number from -100 to 100"), std::string::npos);
    EXPECT_EQ(RunVoxamen({"install-speechd", "--rate", "x"}, &out, &err), kExitUsage);
    EXPECT_EQ(RunVoxamen({"install-speechd", "extra"}, &out, &err), kExitUsage);
    EXPECT_EQ(RunVoxamen({"install-speechd", "--help"}, &out, &err), kExitOk);
    EXPECT_NE(out.find("usage: voxamen install-speechd"), std::string::npos);
}

}  // namespace
}  // namespace vox::cli
