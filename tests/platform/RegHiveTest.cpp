// The .reg text form: parsing, writing and the hive tree's Win32 semantics.
#include <gtest/gtest.h>

#include "platform/RegHive.h"

namespace vox::reg {
namespace {

constexpr const char* kRoot = "HKEY_LOCAL_MACHINE";

Hive Parse(const std::string& text) {
    Hive hive;
    ParseError err = ParseRegText(text, kRoot, hive);
    EXPECT_FALSE(err) << "line " << err.line << ": " << err.what;
    return hive;
}

TEST(RegHive, ParsesEveryValueForm) {
    Hive hive = Parse(
        "Windows Registry Editor Version 5.00\n"
        "; a comment\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Vostrelin\\Voices\\ru1]\n"
        "@=\"default\"\n"
        "\"Name\"=\"Ni\\\"k\\\\ol\"\n"
        "\"Path\"=\"C:\\voices\\x\"\n"
        "\"Count\"=dword:0000012c\n"
        "\"Short\"=dword:7\n"
        "\"Raw\"=hex:01,02,ff\n"
        "\"Expand\"=hex(2):41,00\n"
        "\"Long\"=hex:01,02,\\\n"
        "  03,04\n");
    const KeyNode* key = hive.Find("software\\vostrelin\\voices\\RU1");
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->path, "SOFTWARE\\Vostrelin\\Voices\\ru1");
    auto text = [&](const char* name) {
        const Value* v = key->FindValue(name);
        return v == nullptr ? std::string("<missing>")
                            : std::string(v->data.begin(), v->data.end() - 1);
    };
    EXPECT_EQ(text(""), "default");
    EXPECT_EQ(text("name"), "Ni\"k\\ol");
    EXPECT_EQ(text("Path"), "C:\\voices\\x") << "a lone backslash stands for itself";
    EXPECT_EQ(key->FindValue("Count")->data, (std::vector<uint8_t>{0x2c, 0x01, 0, 0}));
    EXPECT_EQ(key->FindValue("Short")->type, ValueType::Dword);
    EXPECT_EQ(key->FindValue("Raw")->data, (std::vector<uint8_t>{1, 2, 0xff}));
    EXPECT_EQ(key->FindValue("Expand")->type, ValueType::ExpandString);
    EXPECT_EQ(key->FindValue("Long")->data, (std::vector<uint8_t>{1, 2, 3, 4}));
    // Ancestors exist as keys of their own.
    EXPECT_NE(hive.Find("SOFTWARE\\Vostrelin"), nullptr);
}

TEST(RegHive, WriteThenParseGivesTheSameHive) {
    Hive hive;
    hive.SetValue("Software\\A", MakeString("Text", "line \"quoted\" \\ back"));
    hive.SetValue("Software\\A", MakeString("", "default"));
    hive.SetValue("Software\\A\\B", MakeDword("N", 0xDEADBEEF));
    Value multi;
    multi.name = "Multi";
    multi.type = ValueType::MultiString;
    multi.data = {'a', 0, 'b', 0, 0};
    hive.SetValue("Software\\A\\B", multi);
    Value big;
    big.name = "Big";
    big.type = ValueType::Binary;
    big.data.assign(300, 0xAB);
    hive.SetValue("Software\\C", big);
    hive.SetValue("Software\\C", MakeString("Lines", "two\nlines"));  // not expressible in quotes
    Hive again = Parse(FormatRegText(hive, kRoot));
    EXPECT_TRUE(again == hive);
}

TEST(RegHive, NamesAreCaseInsensitiveAndKeepTheirFirstSpelling) {
    Hive hive;
    hive.SetValue("Software\\Vostrelin", MakeDword("MaxCut", 1));
    hive.SetValue("SOFTWARE\\VOSTRELIN", MakeDword("maxcut", 0));
    const KeyNode* key = hive.Find("software\\vostrelin");
    ASSERT_NE(key, nullptr);
    ASSERT_EQ(key->values.size(), 1u);
    EXPECT_EQ(key->values[0].name, "MaxCut");
    EXPECT_EQ(key->values[0].data[0], 0);
    EXPECT_EQ(key->path, "Software\\Vostrelin");
}

TEST(RegHive, DeleteTreeRemovesSubkeysOnly) {
    Hive hive;
    hive.Create("A\\B\\C");
    hive.Create("A\\BB");
    hive.Create("A\\B2");
    EXPECT_TRUE(hive.DeleteTree("a\\b"));
    EXPECT_EQ(hive.Find("A\\B\\C"), nullptr);
    EXPECT_NE(hive.Find("A\\BB"), nullptr);
    EXPECT_NE(hive.Find("A\\B2"), nullptr);
    EXPECT_FALSE(hive.DeleteTree("A\\B"));
    EXPECT_EQ(hive.SubKeyNames("A"), (std::vector<std::string>{"B2", "BB"}));
}

TEST(RegHive, SubkeysAreWrittenRightAfterTheirKey) {
    Hive hive;
    hive.Create("P.X");
    hive.Create("P\\Sub");
    hive.Create("P");
    std::string text = FormatRegText(hive, kRoot);
    EXPECT_LT(text.find("[HKEY_LOCAL_MACHINE\\P\\Sub]"), text.find("[HKEY_LOCAL_MACHINE\\P.X]"));
}

TEST(RegHive, MalformedFilesNameTheLine) {
    struct Case {
        const char* text;
        int line;
        const char* why;
    };
    const Case cases[] = {
        {"not a registry\n", 1, "missing header"},
        {"Windows Registry Editor Version 5.00\n\"A\"=\"x\"\n", 2, "value before any key"},
        {"Windows Registry Editor Version 5.00\n[HKEY_LOCAL_MACHINE\\A\n", 2, "unclosed key"},
        {"Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\A]\n", 2, "wrong root"},
        {"Windows Registry Editor Version 5.00\n[HKEY_LOCAL_MACHINE\\A]\n\"A\"=\"x\n", 3,
         "unterminated text"},
        {"Windows Registry Editor Version 5.00\n[HKEY_LOCAL_MACHINE\\A]\n\"A\"=dword:123456789\n",
         3, "dword too long"},
        {"Windows Registry Editor Version 5.00\n[HKEY_LOCAL_MACHINE\\A]\n\"A\"=hex:1,2\n", 3,
         "one-digit bytes"},
        {"Windows Registry Editor Version 5.00\n[HKEY_LOCAL_MACHINE\\A]\n\"A\"=-\n", 3,
         "deletion outside a merge file"},
        {"Windows Registry Editor Version 5.00\n[HKEY_LOCAL_MACHINE\\A]\nA=1\n", 3, "bare name"},
    };
    for (const Case& c : cases) {
        Hive hive;
        ParseError err = ParseRegText(c.text, kRoot, hive);
        EXPECT_EQ(err.line, c.line) << c.why;
        EXPECT_FALSE(err.what.empty()) << c.why;
    }
}

TEST(RegHive, EmptyFileIsAnEmptyHive) {
    Hive hive;
    EXPECT_FALSE(ParseRegText("", kRoot, hive));
    EXPECT_TRUE(hive.Keys().empty());
}

TEST(RegHive, MergeFilesMayDeleteKeysAndValues) {
    Hive hive = Parse(
        "Windows Registry Editor Version "
        "5.00\n[HKEY_LOCAL_MACHINE\\A\\B]\n\"X\"=\"1\"\n\"Y\"=\"2\"\n");
    ParseError err = ParseRegText(
        "REGEDIT4\n[HKEY_LOCAL_MACHINE\\A]\n\"Y\"=-\n[HKEY_LOCAL_MACHINE\\A\\B]\n\"X\"=-\n"
        "[-HKEY_LOCAL_MACHINE\\A\\B]\n",
        kRoot, hive, true);
    EXPECT_FALSE(err) << err.what;
    EXPECT_EQ(hive.Find("A\\B"), nullptr);
    EXPECT_NE(hive.Find("A"), nullptr);
}

}  // namespace
}  // namespace vox::reg
