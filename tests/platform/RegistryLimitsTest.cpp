// What the registry refuses to write: names with control characters, keys
// nested deeper than Windows allows, and any change whose file would not read
// back as written. Refusals leave the file as it was.
#include <gtest/gtest.h>

#include "platform/Registry.h"
#include "support/CapturedMessages.h"
#include "support/TempRegistry.h"

namespace vox::reg {
namespace {

using test::CapturedMessages;
using test::ReadFile;
using test::TempRegistry;

constexpr const char* kTokens = "SOFTWARE\\Microsoft\\Speech\\Voices\\Tokens";

std::string Nested(size_t depth) {
    std::string path = "K";
    for (size_t i = 1; i < depth; ++i) path += "\\K";
    return path;
}

TEST(RegistryLimits, ControlCharactersInNamesAreRefusedByEveryWrite) {
    TempRegistry registry;
    CapturedMessages messages;
    Key voices, attributes;
    ASSERT_EQ(Key::Create(Root::LocalMachine, "SOFTWARE\\Vostrelin\\Voices\\ru1", voices),
              Status::Ok);
    ASSERT_EQ(
        Key::Create(Root::LocalMachine, std::string(kTokens) + "\\ru1\\Attributes", attributes),
        Status::Ok);
    ASSERT_EQ(attributes.SetText("Name", "kept"), Status::Ok);
    const std::string before = ReadFile(registry.MachineFile());

    Key key;
    // A line break would split the section line; 0x01 is the tree's own
    // separator, so "ru1\x01Attributes" would reach ru1's "Attributes".
    for (const std::string bad : {"a\nb", "\n",
                                  "ru1\x01"
                                  "Attributes",
                                  "tab\tkey", "del\x7f"}) {
        SCOPED_TRACE(bad);
        EXPECT_EQ(Key::Create(Root::LocalMachine, std::string(kTokens) + "\\" + bad, key),
                  Status::InvalidName);
        EXPECT_EQ(voices.SetText(bad, "x"), Status::InvalidName);
        EXPECT_EQ(voices.DeleteValue(bad), Status::InvalidName);
        EXPECT_EQ(Key::Open(Root::LocalMachine, kTokens, key), Status::Ok);
        EXPECT_EQ(key.DeleteSubKeyTree(bad), Status::InvalidName);
        EXPECT_EQ(Edit(Root::LocalMachine,
                       [&](Hive& hive) {
                           hive.SetValue(std::string(kTokens) + "\\" + bad, MakeString("N", "v"));
                           return Status::Ok;
                       }),
                  Status::InvalidName);
        EXPECT_EQ(ReadFile(registry.MachineFile()), before);
    }
    ASSERT_FALSE(messages.All().empty());
    EXPECT_NE(messages.All()[0].text.find("control character"), std::string::npos)
        << messages.All()[0].text;
    EXPECT_NE(messages.All()[0].text.find("\\x0A"), std::string::npos) << messages.All()[0].text;
}

TEST(RegistryLimits, AFileWithAControlCharacterInANameIsMalformed) {
    TempRegistry registry;
    CapturedMessages messages;
    registry.WriteMachine(
        "Windows Registry Editor Version 5.00\n[HKEY_LOCAL_MACHINE\\A]\n\"x\x01y\"=\"v\"\n");
    Key key;
    EXPECT_EQ(Key::Open(Root::LocalMachine, "A", key), Status::NotFound);
    EXPECT_TRUE(messages.Contains("Voxamen Registry", "machine.reg:3:"));
}

TEST(RegistryLimits, AWriteThatWouldNotReadBackIsRefused) {
    TempRegistry registry;
    CapturedMessages messages;
    Key key;
    ASSERT_EQ(Key::Create(Root::LocalMachine, "A", key), Status::Ok);
    const std::string before = ReadFile(registry.MachineFile());
    // Values pushed straight into a key bypass the name checks: two spellings
    // of one name would merge when read back, a line break would break it.
    for (const char* second : {"n", "line\nbreak"}) {
        EXPECT_EQ(Edit(Root::LocalMachine,
                       [&](Hive& hive) {
                           KeyNode* node = hive.Find("A");
                           node->values.push_back(MakeDword("N", 1));
                           node->values.push_back(MakeDword(second, 2));
                           return Status::Ok;
                       }),
                  Status::Unrepresentable)
            << second;
        EXPECT_EQ(ReadFile(registry.MachineFile()), before);
    }
    EXPECT_TRUE(messages.Contains("Voxamen Registry", "read back"));
}

TEST(RegistryLimits, KeysNestDownToWindowsLimitAndNoDeeper) {
    TempRegistry registry;
    CapturedMessages messages;
    Key key;
    EXPECT_EQ(Key::Create(Root::LocalMachine, Nested(512), key), Status::Ok);
    EXPECT_EQ(Key::Create(Root::LocalMachine, Nested(513), key), Status::InvalidName);
    EXPECT_TRUE(messages.Contains("Voxamen Registry", "512 levels"));
    EXPECT_EQ(Key::Open(Root::LocalMachine, Nested(512), key), Status::Ok);
    EXPECT_EQ(key.SubKeyNames().size(), 0u);
    ASSERT_EQ(Key::Open(Root::LocalMachine, "K", key), Status::Ok);
    EXPECT_EQ(key.SubKeyNames(), std::vector<std::string>{"K"});
}

TEST(RegistryLimits, AFileNestedTooDeeplyIsReportedAtItsLine) {
    TempRegistry registry;
    CapturedMessages messages;
    // 40,000 levels: refused at once rather than built level by level.
    registry.WriteMachine("Windows Registry Editor Version 5.00\n[HKEY_LOCAL_MACHINE\\" +
                          Nested(40000) + "]\n");
    Key key;
    EXPECT_EQ(Key::Open(Root::LocalMachine, "K", key), Status::NotFound);
    EXPECT_TRUE(messages.Contains("Voxamen Registry", "machine.reg:2:"));
    EXPECT_TRUE(messages.Contains("Voxamen Registry", "512 levels"));
}

TEST(RegistryLimits, StaleTemporaryFilesAreRemovedByTheNextWrite) {
    TempRegistry registry;
    // Left by writers killed between creating and renaming their file.
    for (const char* name :
         {"machine.reg.a1B2c3", "user.reg.ZZZZZZ", "machine.reg.keep", "notes.txt"})
        test::WriteFile(registry.Dir() + "/" + name, "x");
    Key key;
    ASSERT_EQ(Key::Create(Root::CurrentUser, "A", key), Status::Ok);
    EXPECT_EQ(
        test::FolderEntries(registry.Dir()),
        (std::vector<std::string>{"machine.reg.keep", "notes.txt", "registry.lock", "user.reg"}));
}

}  // namespace
}  // namespace vox::reg
