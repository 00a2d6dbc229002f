// The database writer refuses what the format or the engine cannot use, and
// replaces files atomically.
#include <gtest/gtest.h>

#include <filesystem>

#include "engine/voice/Abs07Format.h"
#include "support/TempRegistry.h"
#include "tools/voicedb/Abs07Writer.h"

namespace vox::voicedb {
namespace {

TEST(Abs07Writer, RefusesUnusableUnitsAndAddsNothing) {
    Abs07Writer writer;
    std::string error;
    ASSERT_TRUE(writer.AddUnit({"A0", {1, 2, 3}, {0, 2}}, error));
    const struct {
        Unit unit;
        const char* because;
    } refused[] = {
        {{std::string(128, 'x'), {1}, {}}, "128 bytes"},
        {{"a,b", {1}, {}}, "\",\""},
        {{std::string("a\0b", 3), {1}, {}}, "zero byte"},
        {{"A0", {1}, {}}, "already added"},
        {{"B", {1, 2, 3}, {0, 2, 1}}, "does not come after"},
        {{"B", {1, 2, 3}, {1, 1}}, "does not come after"},
        {{"B", {1, 2, 3}, {3}}, "outside"},
        {{"B", {1, 2, 3}, {-1}}, "outside"},
        {{"B", {}, {0}}, "outside"},
    };
    for (const auto& r : refused) {
        error.clear();
        EXPECT_FALSE(writer.AddUnit(r.unit, error)) << r.because;
        EXPECT_NE(error.find(r.because), std::string::npos) << error;
    }
    EXPECT_EQ(writer.UnitCount(), 1u);
    EXPECT_FALSE(writer.SetHeaderTexts(std::string(128, 't'), "", error));
}

TEST(Abs07Writer, WritesNamesAndTextsOfEveryAllowedLength) {
    Abs07Writer writer;
    std::string error;
    ASSERT_TRUE(writer.SetHeaderTexts(std::string(127, 'f'), "", error));
    ASSERT_TRUE(writer.AddUnit({std::string(127, 'n'), {5, 6}, {1}}, error));
    ASSERT_TRUE(writer.AddUnit({"", {}, {}}, error));
    const std::string bytes = writer.Bytes();
    abs07::Index index;
    ASSERT_FALSE(
        abs07::ReadIndex({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()}, index));
    EXPECT_EQ(index.firstText, std::string(127, 'f'));
    ASSERT_EQ(index.entries.size(), 2u);
    EXPECT_EQ(index.entries[0].name, std::string(127, 'n'));
    EXPECT_EQ(index.entries[1].name, "");
    EXPECT_EQ(index.indexEnd, bytes.size());
}

TEST(Abs07Writer, ReplacesFilesAtomically) {
    test::TempDir dir;
    Abs07Writer writer;
    std::string error;
    ASSERT_TRUE(writer.AddUnit({"A0", {1, 2}, {0}}, error));
    const std::string path = dir.File("voice.abs");
    test::WriteFile(path, "old contents");
    ASSERT_TRUE(writer.Write(path, error)) << error;
    EXPECT_EQ(test::ReadFile(path), writer.Bytes());
    EXPECT_FALSE(writer.Write(dir.File("missing/voice.abs"), error));
    EXPECT_NE(error.find("missing/voice.abs"), std::string::npos);
    size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
        (void)entry;
        ++files;
    }
    EXPECT_EQ(files, 1u) << "no temporary file is left behind";
}

}  // namespace
}  // namespace vox::voicedb
