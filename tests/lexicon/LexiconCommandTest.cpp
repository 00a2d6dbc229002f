// voxamen lexicon build and lookup, run in-process.
#include <gtest/gtest.h>

#include <sstream>

#include "platform/CodePage.h"
#include "support/CommandRun.h"
#include "tests/support/TempRegistry.h"

namespace {

using Result = vox::test::CommandRun;

Result Voxamen(const std::vector<std::string>& args) {
    return vox::test::RunVoxamen(args);
}

TEST(LexiconCommand, BuildsADictionaryAndLooksWordsUp) {
    vox::test::TempRegistry registry;
    vox::test::TempDir dir;
    vox::test::WriteFile(dir.File("src.scm"),
                         "MNCL\n(\"молоко\" n (3))\n(\"корова\" n (2))\n(\"елка\" n (1) fix_yo)\n"
                         "(\"читать\" v (2))\n(\"думать\" v (1))\n");
    vox::test::WriteFile(dir.File("mine.txt"), vox::Utf8ToCp1251("мо+локо\n"));
    const std::string out = dir.File("out/ru.vxs");
    Result b = Voxamen({"lexicon", "build", "--source", dir.File("src.scm"), "-o", out});
    ASSERT_EQ(b.status, 0) << b.err;
    EXPECT_NE(b.out.find("5 words"), std::string::npos) << b.out;
    EXPECT_NE(b.out.find("held-out tenth"), std::string::npos) << b.out;
    EXPECT_FALSE(vox::test::ReadFile(out + ".copyright").empty());

    Result l = Voxamen({"lexicon", "lookup", "--dictionary", out, "КОРОВА", "елка", "мечтать"});
    ASSERT_EQ(l.status, 0) << l.err;
    EXPECT_EQ(l.out, "коро+ва\tdictionary\nё+лка\tdictionary\nмечта+ть\tmodel\n");
    l = Voxamen(
        {"lexicon", "lookup", "--dictionary", out, "--vocabulary", dir.File("mine.txt"), "молоко"});
    EXPECT_EQ(l.out, "мо+локо\tuser\n");
}

TEST(LexiconCommand, ExplainsBadArgumentsAndSources) {
    vox::test::TempDir dir;
    EXPECT_EQ(Voxamen({"lexicon"}).status, 2);
    EXPECT_EQ(Voxamen({"lexicon", "frobnicate"}).status, 2);
    EXPECT_EQ(Voxamen({"lexicon", "lookup"}).status, 2);
    Result r = Voxamen({"lexicon", "build", "--source", dir.File("none.scm"), "-o", dir.File("x")});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("cannot be read"), std::string::npos) << r.err;
    vox::test::WriteFile(dir.File("junk.scm"), std::string("\x01\x02 junk (((\n", 12));
    r = Voxamen({"lexicon", "build", "--source", dir.File("junk.scm"), "-o", dir.File("x")});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("no stressed words"), std::string::npos) << r.err;
}

}  // namespace
