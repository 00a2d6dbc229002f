// Module 419.3's configuration file: the groups it gives, the faults it
// reports (file:line through the message sink) and the shipped file.
#include <gtest/gtest.h>

#include "phonetic/module-419-3/Allomod4193.h"
#include "phonetic/module-419-3/GroupsFile.h"
#include "support/CapturedMessages.h"
#include "support/TempRegistry.h"
#include "tests/phonetic/PhoneticTestSupport.h"

namespace vox {
namespace {

const std::string kHeader = "* Vostrelin Allomod 419.3 Configuration\n";

TEST(GroupsFile, GroupsOfTheLastBlock) {
    GroupTable groups{{"Old", {"X"}}};
    EXPECT_FALSE(ParseGroupsFile(kHeader + "notes outside blocks are ignored: {Groups\n"
                                           "{Groups\nGone: A0\n}\n"
                                           "\r\n  {Groups  \r\n"
                                           " Lab : P , B,,M,\tM' \r\n"
                                           "Lab: P'\n"
                                           "}\n"
                                           "Stray: T\n",
                                 groups));
    EXPECT_EQ(groups, (GroupTable{{"Lab", {"B", "M", "M'", "P", "P'"}}}));
}

TEST(GroupsFile, FaultsNameTheirLine) {
    struct Case {
        std::string text;
        size_t line;
        std::string what;
        GroupTable groups;
    };
    const Case cases[] = {
        {"* Vostrelin Allomod 419.0 Configuration\n{Groups\nLab: P\n}\n", 1, "first line", {}},
        {"\n\n", 1, "first line", {}},
        {kHeader + "{Groups\nLab: P\nno colon here\nDent: T\n}\n",
         4,
         "no \":\"",
         {{"Lab", {"P"}}, {"Dent", {"T"}}}},
        {kHeader + "{Groups\n : P\n}\n", 3, "needs a name", {}},
        {kHeader + "\n{Groups\nLab: P\n", 3, "not closed", {{"Lab", {"P"}}}},
    };
    for (const Case& c : cases) {
        GroupTable groups;
        const std::optional<GroupsFileError> error = ParseGroupsFile(c.text, groups);
        ASSERT_TRUE(error) << c.text;
        EXPECT_EQ(error->line, c.line) << c.text;
        EXPECT_NE(error->text.find(c.what), std::string::npos) << error->text;
        EXPECT_EQ(groups, c.groups) << c.text;
    }
}

TEST(GroupsFile, LoadingReportsOnceAndKeepsGoodLines) {
    test::TempDir dir;
    test::CapturedMessages messages;
    GroupTable groups;
    LoadGroupsFile(dir.File("missing.cfg"), groups);
    EXPECT_TRUE(messages.All().empty()) << "a missing file is no fault";

    test::WriteFile(dir.File("bad.cfg"), kHeader + "{Groups\nbad\nworse\nLab: P\n}\n");
    ComPtr<IPhonetic> m = test::Adopt(new Allomod_419_3(dir.File("bad.cfg")));
    ASSERT_EQ(messages.All().size(), 1u);
    EXPECT_EQ(messages.All()[0].caption, "AllomodRus");
    EXPECT_EQ(messages.All()[0].text.rfind(dir.File("bad.cfg") + ":3: ", 0), 0u)
        << messages.All()[0].text;
    m->SetAllophones("(Lab)A0");
    EXPECT_EQ(test::Allophones(*m.Get(), "#,P,A0,#"), "#,P-A0.1,(Lab)A0,#") << "Lab was read";
}

TEST(GroupsFile, ShippedFileNamesOnlyPhonemesOfTheModule) {
    test::CapturedMessages messages;
    auto* module = new Allomod_419_3(VOXAMEN_SOURCE_DIR "/phonetic/module-419-3/allomod-419-3.cfg");
    ComPtr<IPhonetic> m = test::Adopt(module);
    EXPECT_TRUE(messages.All().empty());
    GroupTable groups;
    ASSERT_FALSE(ParseGroupsFile(
        test::ReadFile(VOXAMEN_SOURCE_DIR "/phonetic/module-419-3/allomod-419-3.cfg"), groups));
    for (const char* name :
         {"Lab", "Dent", "Hush", "Vel", "Son", "Soft", "Vowel", "Front", "Back", "Pause"})
        EXPECT_TRUE(groups.count(name)) << name;
    for (const auto& [name, members] : groups) {
        for (const std::string& member : members) {
            uint64_t sd = 0;
            m->GetSoundDescription(member.c_str(), &sd);
            EXPECT_NE(sd, 0u) << name << ": " << member;
        }
    }
    // The copy beside the built library is the shipped one.
    EXPECT_EQ(test::ReadFile(VOXAMEN_LIB_DIR "/allomod-419-3.cfg"),
              test::ReadFile(VOXAMEN_SOURCE_DIR "/phonetic/module-419-3/allomod-419-3.cfg"));
}

}  // namespace
}  // namespace vox
