// The registry files: Win32-like keys over machine.reg/user.reg, cached
// reads, atomic locked writes, malformed files.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>
#include <csignal>

#include "platform/Registry.h"
#include "support/CapturedMessages.h"
#include "support/TempRegistry.h"

namespace vox::reg {
namespace {

using test::CapturedMessages;
using test::ReadFile;
using test::TempRegistry;

constexpr const char* kHeader = "Windows Registry Editor Version 5.00\n";

TEST(Registry, ReadsHandWrittenFiles) {
    TempRegistry registry;
    registry.WriteMachine(std::string(kHeader) +
                          "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Vostrelin\\Voices\\ru1]\n"
                          "\"VoiceData\"=\"/voices/ru1.abs\"\n\"MaxCut\"=dword:00000001\n");
    registry.WriteUser(
        std::string(kHeader) +
        "[HKEY_CURRENT_USER\\SOFTWARE\\Vostrelin\\Voices\\ru1]\n\"RhytmicsEnabled\"=dword:1\n");
    Key machine, user;
    ASSERT_EQ(Key::Open(Root::LocalMachine, "Software\\Vostrelin\\Voices\\RU1", machine),
              Status::Ok);
    std::string text;
    EXPECT_EQ(machine.QueryText("voicedata", text), Status::Ok);
    EXPECT_EQ(text, "/voices/ru1.abs");
    uint32_t n = 0;
    EXPECT_EQ(machine.QueryDword("MaxCut", n), Status::Ok);
    EXPECT_EQ(n, 1u);
    ASSERT_EQ(Key::Open(Root::CurrentUser, "SOFTWARE\\Vostrelin\\Voices\\ru1", user), Status::Ok);
    EXPECT_EQ(user.QueryDword("RhytmicsEnabled", n), Status::Ok);
    EXPECT_EQ(Key::Open(Root::CurrentUser, "SOFTWARE\\Vostrelin\\Voices\\ru2", user),
              Status::NotFound);
    EXPECT_EQ(machine.QueryText("Missing", text), Status::NotFound);
}

TEST(Registry, TextAndNumberReadsFollowTheBufferRules) {
    TempRegistry registry;
    Key key;
    ASSERT_EQ(Key::Create(Root::LocalMachine, "Software\\T", key), Status::Ok);
    ASSERT_EQ(key.SetText("Long", std::string(300, 'x')), Status::Ok);
    ASSERT_EQ(key.SetText("Number", "12"), Status::Ok);
    ASSERT_EQ(key.SetDword("Dword", 0x00636261), Status::Ok);  // "abc" as bytes
    std::string text = "kept";
    EXPECT_EQ(key.QueryText("Long", text, 256), Status::MoreData);
    EXPECT_EQ(text, "kept");
    EXPECT_EQ(key.QueryText("Dword", text, 256), Status::Ok);
    EXPECT_EQ(text, "abc") << "texts take the raw bytes up to the first zero, whatever the type";
    uint32_t n = 7;
    EXPECT_EQ(key.QueryDword("Number", n), Status::WrongType);
    EXPECT_EQ(n, 7u);
}

TEST(Registry, ClassesRootIsTheMachineClassesKey) {
    TempRegistry registry;
    Key key;
    ASSERT_EQ(Key::Create(Root::ClassesRoot, "CLSID\\{X}\\InprocServer32", key), Status::Ok);
    ASSERT_EQ(key.SetText("", "/lib/x.so"), Status::Ok);
    Key same;
    ASSERT_EQ(Key::Open(Root::LocalMachine, "SOFTWARE\\Classes\\CLSID\\{x}\\InprocServer32", same),
              Status::Ok);
    std::string path;
    EXPECT_EQ(same.QueryText("", path), Status::Ok);
    EXPECT_EQ(path, "/lib/x.so");
    EXPECT_NE(
        ReadFile(registry.MachineFile()).find("[HKEY_LOCAL_MACHINE\\Software\\Classes\\CLSID"),
        std::string::npos);
}

TEST(Registry, EnumeratesValuesAndSubkeysByIndex) {
    TempRegistry registry;
    Key key;
    ASSERT_EQ(Key::Create(Root::CurrentUser, "A", key), Status::Ok);
    key.SetDword("First", 1);
    key.SetDword("Second", 2);
    Key sub;
    Key::Create(Root::CurrentUser, "A\\Sub", sub);
    Key::Open(Root::CurrentUser, "A", key);
    Value v;
    ASSERT_EQ(key.EnumValue(0, v), Status::Ok);
    EXPECT_EQ(v.name, "First");
    ASSERT_EQ(key.EnumValue(1, v), Status::Ok);
    EXPECT_EQ(key.EnumValue(2, v), Status::NotFound);
    std::string name;
    EXPECT_EQ(key.EnumKey(0, name), Status::Ok);
    EXPECT_EQ(name, "Sub");
    EXPECT_EQ(key.EnumKey(1, name), Status::NotFound);
}

TEST(Registry, DeletesValuesAndTrees) {
    TempRegistry registry;
    Key key;
    Key::Create(Root::LocalMachine, "A\\B\\C", key);
    Key::Open(Root::LocalMachine, "A", key);
    key.SetDword("V", 1);
    EXPECT_EQ(key.DeleteValue("v"), Status::Ok);
    EXPECT_EQ(key.DeleteValue("v"), Status::NotFound);
    EXPECT_EQ(key.DeleteSubKeyTree("B"), Status::Ok);
    Key gone;
    EXPECT_EQ(Key::Open(Root::LocalMachine, "A\\B\\C", gone), Status::NotFound);
}

TEST(Registry, ReadersSeeChangesMadeByOtherWriters) {
    TempRegistry registry;
    Key key;
    Key::Create(Root::LocalMachine, "A", key);
    key.SetDword("N", 1);
    auto read = [] {
        Key fresh;
        uint32_t n = 0;
        EXPECT_EQ(Key::Open(Root::LocalMachine, "A", fresh), Status::Ok);
        fresh.QueryDword("N", n);
        return n;
    };
    // Every rewrite keeps the file's size, so only the version stamp tells them apart.
    for (uint32_t round = 0; round < 3; ++round) {
        char text[80];
        std::snprintf(text, sizeof text, "%s[HKEY_LOCAL_MACHINE\\A]\n\"N\"=dword:%08x\n", kHeader,
                      10 + round);
        registry.WriteMachine(text);  // another process, by hand
        EXPECT_EQ(read(), 10 + round);
        Key::Open(Root::LocalMachine, "A", key);
        key.SetDword("N", 20 + round);
        EXPECT_EQ(read(), 20 + round);
    }
}

TEST(Registry, MalformedFileIsReportedReadAsEmptyAndNeverOverwritten) {
    TempRegistry registry;
    CapturedMessages messages;
    const std::string broken = std::string(kHeader) + "[HKEY_LOCAL_MACHINE\\A]\n\"N\"=oops\n";
    registry.WriteMachine(broken);
    Key key;
    EXPECT_EQ(Key::Open(Root::LocalMachine, "A", key), Status::NotFound);
    ASSERT_FALSE(messages.All().empty());
    EXPECT_NE(messages.All()[0].text.find("machine.reg:3:"), std::string::npos);
    EXPECT_EQ(Key::Create(Root::LocalMachine, "B", key), Status::Malformed);
    EXPECT_EQ(ReadFile(registry.MachineFile()), broken);
}

TEST(Registry, TwoProcessesWritingConcurrentlyLoseNoWrite) {
    TempRegistry registry;
    constexpr int kWrites = 200;
    pid_t children[2];
    for (int c = 0; c < 2; ++c) {
        children[c] = ::fork();
        ASSERT_GE(children[c], 0);
        if (children[c] == 0) {
            int failures = 0;
            for (int i = 0; i < kWrites; ++i) {
                Status s = Edit(Root::LocalMachine, [&](Hive& hive) {
                    hive.SetValue("Writer" + std::to_string(c),
                                  MakeDword("V" + std::to_string(i), static_cast<uint32_t>(i)));
                    return Status::Ok;
                });
                failures += s != Status::Ok;
            }
            ::_exit(failures == 0 ? 0 : 1);
        }
    }
    for (pid_t child : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    auto hive = Snapshot(Root::LocalMachine);
    for (int c = 0; c < 2; ++c) {
        const KeyNode* node = hive->Find("Writer" + std::to_string(c));
        ASSERT_NE(node, nullptr);
        EXPECT_EQ(node->values.size(), static_cast<size_t>(kWrites));
    }
}

TEST(Registry, WriterKilledMidWriteLeavesAReadableRegistry) {
    TempRegistry registry;
    CapturedMessages messages;
    Key key;
    Key::Create(Root::LocalMachine, "Base", key);
    key.SetText("Big", std::string(200000, 'x'));  // makes every write take a while
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        for (uint32_t i = 0;; ++i)
            Edit(Root::LocalMachine, [&](Hive& hive) {
                hive.SetValue("Loop", MakeDword("N", i));
                return Status::Ok;
            });
    }
    ::usleep(150 * 1000);
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    Key base;
    ASSERT_EQ(Key::Open(Root::LocalMachine, "Base", base), Status::Ok);
    EXPECT_TRUE(messages.All().empty()) << messages.All()[0].text;
    EXPECT_EQ(Key::Create(Root::LocalMachine, "After", key), Status::Ok) << "the lock died with it";
    // The killed writer's temporary file, if it had one, went with that write.
    for (const std::string& name : test::FolderEntries(registry.Dir()))
        EXPECT_EQ(name.rfind("machine.reg.", 0), std::string::npos) << name;
}

}  // namespace
}  // namespace vox::reg
