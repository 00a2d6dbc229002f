// The voxamen command line: register, voices, voice add/remove, run in-process.
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

#include "engine/voice/VoiceProperties.h"
#include "platform/Registry.h"
#include "support/CommandRun.h"
#include "support/TempRegistry.h"

namespace vox::cli {
namespace {

using Result = vox::test::CommandRun;

Result Voxamen(const std::vector<std::string>& args) {
    return vox::test::RunVoxamen(args);
}

class Commands : public testing::Test {
  protected:
    // Voices are added for installed phonetic modules only.
    void InstallModules(std::initializer_list<const char*> names) {
        for (const char* name : names) {
            reg::Key key;
            ASSERT_EQ(reg::Key::Create(reg::Root::LocalMachine,
                                       std::string("SOFTWARE\\Vostrelin\\Phonetic\\") + name, key),
                      reg::Status::Ok);
        }
    }
    test::TempRegistry registry_;
    test::TempDir dir_;
};

TEST_F(Commands, EveryCommandHasHelp) {
    EXPECT_EQ(Voxamen({"--help"}).status, kExitOk);
    for (const Command& c : vox::cli::Commands()) {
        Result r = Voxamen({c.name, "--help"});
        EXPECT_EQ(r.status, kExitOk) << c.name;
        EXPECT_NE(r.out.find("usage: voxamen"), std::string::npos) << c.name;
    }
    Result r = Voxamen({"bogus"});
    EXPECT_EQ(r.status, kExitUsage);
    EXPECT_NE(r.err.find("unknown command \"bogus\""), std::string::npos);
}

TEST_F(Commands, RegisterReportsLibrariesThatCannotServe) {
    test::WriteFile(dir_.File("fake.so"), "not a library");
    Result r = Voxamen({"register", dir_.File("fake.so"), "libm.so.6"});
    EXPECT_EQ(r.status, kExitFailure);
    EXPECT_NE(r.err.find(dir_.File("fake.so") + ": cannot be loaded"), std::string::npos);
    EXPECT_NE(r.err.find("libm.so.6: does not export DllRegisterServer"), std::string::npos);
    EXPECT_EQ(Voxamen({"register"}).status, kExitUsage);
    EXPECT_EQ(Voxamen({"unregister", "--bogus"}).status, kExitUsage);
}

TEST_F(Commands, RegisterAndUnregisterTheEngine) {
    const std::string lib = std::string(VOXAMEN_LIB_DIR) + "/voxamen.so";
    Result r = Voxamen({"register", lib});
    ASSERT_EQ(r.status, kExitOk) << r.err;
    reg::Key key;
    EXPECT_EQ(reg::Key::Open(reg::Root::ClassesRoot, "Voxamen.Voxamen.1", key), reg::Status::Ok);
    EXPECT_EQ(Voxamen({"unregister", lib}).status, kExitOk);
    EXPECT_EQ(reg::Key::Open(reg::Root::ClassesRoot, "Voxamen.Voxamen.1", key),
              reg::Status::NotFound);
}

TEST_F(Commands, VoiceAddNamesThisSystemsLexicalComponentByDefault) {
    InstallModules({"419"});
    const std::string data = dir_.File("voice.abs");
    test::WriteFile(data, "x");
    ASSERT_EQ(Voxamen({"voice", "add", "ru1", "--data", data}).status, kExitOk);
    VoiceProperties p;
    ASSERT_TRUE(p.Read("ru1"));
    EXPECT_EQ(p.lingProcessor, "{6E0C3B52-8F4D-4A27-9C1E-2B7D5A9E4F13}");
}

TEST_F(Commands, VoiceAddWritesSettingsAndTokenAndVoicesListsIt) {
    InstallModules({"419.1"});
    const std::string data = dir_.File("voice.abs");
    test::WriteFile(data, "x");
    Result r = Voxamen({"voice", "add", "ru1", "--data", data, "--sublang", "1", "--name",
                        "Николай", "--lexicon", "{5B6BFFF2-0DCC-4C34-8527-6E3157A02670}"});
    ASSERT_EQ(r.status, kExitOk) << r.err;
    VoiceProperties p;
    ASSERT_TRUE(p.Read("ru1"));
    EXPECT_EQ(p.voiceData, data);
    EXPECT_EQ(p.language, "419");
    EXPECT_EQ(p.sublang, "1");
    EXPECT_EQ(p.name, "Николай");
    EXPECT_EQ(p.lingProcessor, "{5B6BFFF2-0DCC-4C34-8527-6E3157A02670}");
    EXPECT_EQ(p.clsid, "{074EB687-9A22-492E-9735-7B7A38CD3DE0}");
    reg::Key token;
    ASSERT_EQ(reg::Key::Open(reg::Root::LocalMachine,
                             "SOFTWARE\\Microsoft\\Speech\\Voices\\Tokens\\ru1\\Attributes", token),
              reg::Status::Ok);

    Result list = Voxamen({"voices"});
    EXPECT_EQ(list.status, kExitOk);
    EXPECT_NE(list.out.find("ru1"), std::string::npos);
    EXPECT_NE(list.out.find("419.1"), std::string::npos);
    EXPECT_NE(list.out.find("present"), std::string::npos);

    EXPECT_EQ(Voxamen({"voice", "remove", "ru1"}).status, kExitOk);
    EXPECT_FALSE(p.Read("ru1"));
    EXPECT_EQ(reg::Key::Open(reg::Root::LocalMachine,
                             "SOFTWARE\\Microsoft\\Speech\\Voices\\Tokens\\ru1", token),
              reg::Status::NotFound);
    Result again = Voxamen({"voice", "remove", "ru1"});
    EXPECT_EQ(again.status, kExitFailure);
    EXPECT_NE(again.err.find("no voice \"ru1\""), std::string::npos);
}

TEST_F(Commands, VoiceAddRefusesBadArguments) {
    InstallModules({"419"});
    const std::string data = dir_.File("voice.abs");
    struct Case {
        std::vector<std::string> args;
        const char* expected;
    };
    const Case cases[] = {
        {{"voice", "add", "ru1"}, "--data FILE are required"},
        {{"voice", "add", "ru1", "--data"}, "needs a value"},
        {{"voice", "add", "a\\b", "--data", data}, "must not contain"},
        {{"voice", "add", "ru1", "--data", data, "--language", "russian"}, "hexadecimal"},
        {{"voice", "add", "ru1", "--data", data, "--sublang", "x"}, "decimal digits"},
        {{"voice", "add", "ru1", "--data", data, "--lexicon", "glossor"}, "class id"},
        {{"voice", "add", "ru1", "--data", "/" + std::string(300, 'p')}, "longer than 255"},
        {{"voice", "add", "ru1", "--data", data, "--colour", "red"}, "unknown option --colour"},
        {{"voice", "frobnicate"}, "usage"},
    };
    for (const Case& c : cases) {
        Result r = Voxamen(c.args);
        EXPECT_EQ(r.status, kExitUsage) << c.expected;
        EXPECT_NE(r.err.find(c.expected), std::string::npos) << r.err;
    }
    Result r = Voxamen({"voice", "add", "ru1", "--data", data});
    EXPECT_EQ(r.status, kExitOk) << "a database that does not exist yet is only a warning";
    EXPECT_NE(r.err.find("warning"), std::string::npos);
}

TEST_F(Commands, VoiceAddRefusesKeysWithControlCharactersAndTheRegistryStaysUsable) {
    InstallModules({"419"});
    const std::string data = dir_.File("voice.abs");
    ASSERT_EQ(Voxamen({"voice", "add", "ru1", "--data", data}).status, kExitOk);
    for (const std::string key : {"a\nb", "\n",
                                  "ru1\x01"
                                  "Attributes"}) {
        Result r = Voxamen({"voice", "add", key, "--data", data});
        EXPECT_EQ(r.status, kExitUsage);
        EXPECT_NE(r.err.find("control character"), std::string::npos) << r.err;
        EXPECT_EQ(Voxamen({"voice", "remove", key}).status, kExitFailure);
    }
    Result list = Voxamen({"voices"});
    EXPECT_EQ(list.status, kExitOk) << list.err;
    EXPECT_NE(list.out.find("ru1"), std::string::npos);
    reg::Key attributes;
    EXPECT_EQ(
        reg::Key::Open(reg::Root::LocalMachine,
                       "SOFTWARE\\Microsoft\\Speech\\Voices\\Tokens\\ru1\\Attributes", attributes),
        reg::Status::Ok);
}

TEST_F(Commands, VoiceAddNeedsAnInstalledModuleAndSaysWhenItReplacesAVoice) {
    const std::string data = dir_.File("voice.abs");
    Result r = Voxamen({"voice", "add", "ru1", "--data", data, "--sublang", "1"});
    EXPECT_EQ(r.status, kExitUsage);
    EXPECT_NE(r.err.find("no module is installed"), std::string::npos) << r.err;
    InstallModules({"419.0", "419.1"});
    r = Voxamen({"voice", "add", "ru1", "--data", data, "--sublang", "99"});
    EXPECT_EQ(r.status, kExitUsage);
    EXPECT_NE(r.err.find("no installed phonetic module serves language 419, sublanguage 99 "
                         "(module 419.99); installed modules: 419.0 419.1"),
              std::string::npos)
        << r.err;
    ASSERT_EQ(Voxamen({"voice", "add", "RU1", "--data", data, "--sublang", "1"}).status, kExitOk);
    r = Voxamen({"voice", "add", "ru1", "--data", data, "--sublang", "0"});
    EXPECT_EQ(r.status, kExitOk) << r.err;
    EXPECT_NE(r.err.find("replaces the installed voice \"RU1\""), std::string::npos) << r.err;
    r = Voxamen({"voice", "add", "RU1", "--data", data, "--sublang", "0"});
    EXPECT_EQ(r.err.find("replaces"), std::string::npos) << "the same key is no surprise";
}

TEST_F(Commands, ListingsOfACorruptRegistryFailNamingFileAndLine) {
    registry_.WriteMachine("Windows Registry Editor Version 5.00\n\n[junk\n");
    for (const char* command : {"voices", "modules"}) {
        Result r = Voxamen({command});
        EXPECT_EQ(r.status, kExitFailure) << command;
        EXPECT_NE(r.err.find(registry_.MachineFile() + ":3: "), std::string::npos) << r.err;
        EXPECT_EQ(r.out.find("No "), std::string::npos) << r.out;
    }
    registry_.WriteMachine("Windows Registry Editor Version 5.00\n");
    registry_.WriteUser("binary junk \x01\x02");
    EXPECT_EQ(Voxamen({"voices"}).status, kExitFailure) << "the user's settings are listed too";
    EXPECT_EQ(Voxamen({"modules"}).status, kExitOk);
}

TEST_F(Commands, VoicesSaysWhenThereAreNone) {
    Result r = Voxamen({"voices"});
    EXPECT_EQ(r.status, kExitOk);
    EXPECT_NE(r.out.find("No voices are installed"), std::string::npos);
}

// The desktop programs: their paths for the engine's DisplayUI, and a
// vocabulary file in the user's data folder that a second run keeps.
TEST_F(Commands, DesktopRegistersTheProgramsAndTheVocabulary) {
    setenv("XDG_DATA_HOME", dir_.Path().c_str(), 1);
    Result r = Voxamen({"desktop", "--bin", "/opt/vox/bin"});
    ASSERT_EQ(r.status, kExitOk) << r.err;
    reg::Key key;
    ASSERT_EQ(reg::Key::Open(reg::Root::LocalMachine, "Software\\Vostrelin\\TTS Engine\\3.0", key),
              reg::Status::Ok);
    std::string text;
    key.QueryText("Settings", text);
    EXPECT_EQ(text, "/opt/vox/bin/setvane");
    key.QueryText("Accentor", text);
    EXPECT_EQ(text, "/opt/vox/bin/accentor");
    ASSERT_EQ(
        reg::Key::Open(reg::Root::LocalMachine, "Software\\Vostrelin\\Glossor Module\\419", key),
        reg::Status::Ok);
    key.QueryText("AccentorBase", text);
    EXPECT_EQ(text, dir_.Path() + "/voxamen/accentor.txt");

    ASSERT_EQ(key.SetText("AccentorBase", dir_.Path() + "/mine/mine.txt"), reg::Status::Ok);
    EXPECT_EQ(Voxamen({"desktop", "--bin", "/opt/vox/bin"}).status, kExitOk);
    ASSERT_EQ(
        reg::Key::Open(reg::Root::LocalMachine, "Software\\Vostrelin\\Glossor Module\\419", key),
        reg::Status::Ok);
    key.QueryText("AccentorBase", text);
    EXPECT_EQ(text, dir_.Path() + "/mine/mine.txt");
    unsetenv("XDG_DATA_HOME");
}

}  // namespace
}  // namespace vox::cli

namespace vox::cli {
namespace {

TEST(VoiceAddProsody, SwitchesTheVoicesModelsOnForTheUser) {
    test::TempRegistry registry;
    reg::Key module;  // voices are added for installed modules only
    ASSERT_EQ(
        reg::Key::Create(reg::Root::LocalMachine, "SOFTWARE\\Vostrelin\\Phonetic\\419", module),
        reg::Status::Ok);
    Result r = Voxamen({"voice", "add", "p", "--data", "/tmp/p.abs", "--prosody", "70,260"});
    ASSERT_EQ(r.status, kExitOk) << r.err;
    VoiceProperties props;
    ASSERT_TRUE(props.Read("p"));
    EXPECT_TRUE(props.rhytmicsEnabled && props.intonationEnabled && props.useNewIntonation &&
                props.useAbsoluteIntonation);
    EXPECT_EQ(props.intonationLowFreq, 70);
    EXPECT_EQ(props.intonationHighFreq, 260);
    EXPECT_FALSE(props.useAmpContour);
    for (const char* bad : {"70", "260,70", "10,200", "70;260"})
        EXPECT_EQ(Voxamen({"voice", "add", "q", "--data", "/tmp/q.abs", "--prosody", bad}).status,
                  kExitUsage)
            << bad;
    ASSERT_TRUE(props.Read("p"));
}

}  // namespace
}  // namespace vox::cli
