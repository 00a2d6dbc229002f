// The smaller stand-ins: GUID text, code pages, file mapping, messages,
// single instance, program start, text helpers.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "platform/CodePage.h"
#include "platform/FileMapping.h"
#include "platform/FileReader.h"
#include "platform/FileText.h"
#include "platform/Guid.h"
#include "platform/Hresult.h"
#include "platform/Messages.h"
#include "platform/Process.h"
#include "platform/SingleInstance.h"
#include "platform/Text.h"
#include "support/TempRegistry.h"

namespace vox {
namespace {

TEST(Guid, ParsesCaseInsensitivelyAndRoundTrips) {
    auto g = GuidFromString("{b66f35ae-3aa5-453d-a328-da19b1a70682}");
    ASSERT_TRUE(g);
    EXPECT_EQ(g->Data1, 0xB66F35AEu);
    EXPECT_EQ(g->Data4[7], 0x82);
    EXPECT_EQ(GuidToString(*g), "{B66F35AE-3AA5-453D-A328-DA19B1A70682}");
}

TEST(Guid, RejectsTextsThatAreNotGuids) {
    for (const char* bad :
         {"", "{}", "B66F35AE-3AA5-453d-A328-DA19B1A70682", "{B66F35AE-3AA5-453d-A328-DA19B1A7068}",
          "{B66F35AE-3AA5-453d-A328-DA19B1A706820}", "{G66F35AE-3AA5-453d-A328-DA19B1A70682}",
          "{B66F35AE+3AA5-453d-A328-DA19B1A70682}"})
        EXPECT_FALSE(GuidFromString(bad)) << bad;
    CLSID c{};
    EXPECT_EQ(CLSIDFromString("nonsense", &c), E_INVALIDARG);
    EXPECT_EQ(CLSIDFromString(nullptr, &c), E_INVALIDARG);
}

TEST(HresultText, NamesKnownCodes) {
    EXPECT_EQ(HresultText(E_INVALIDARG), "E_INVALIDARG (0x80070057)");
    EXPECT_EQ(HresultText(S_FALSE), "S_FALSE");
    EXPECT_EQ(HresultText(static_cast<HRESULT>(0x80001234u)), "0x80001234");
}

TEST(CodePage, ConvertsRussianBothWays) {
    const std::string utf8 = "Съешь ещё этих мягких булок, Ё!";
    std::string cp = Utf8ToCp1251(utf8);
    EXPECT_EQ(cp.size(), 31u);
    EXPECT_EQ(static_cast<unsigned char>(cp[0]), 0xD1);  // С
    EXPECT_EQ(Cp1251ToUtf8(cp), utf8);
}

TEST(CodePage, ReplacesWhatCannotBeConverted) {
    EXPECT_EQ(Utf8ToCp1251("a\xE4\xB8\xADz"), "a?z");  // a CJK character
    EXPECT_EQ(Utf8ToCp1251("a\xFFz"), "a?z");          // not UTF-8 at all
    EXPECT_EQ(Utf8ToCp1251("a\xD0"), "a?");            // truncated character
    EXPECT_EQ(Cp1251ToUtf8("\x98"), "\xEF\xBF\xBD");   // the unassigned byte
}

TEST(CodePage, CaseTableIsFixed) {
    const std::string upper = Utf8ToCp1251("АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ QWERTY");
    const std::string lower = Utf8ToCp1251("абвгдеёжзийклмнопрстуфхцчшщъыьэюя qwerty");
    EXPECT_EQ(ToLower1251(upper), lower);
    EXPECT_EQ(ToUpper1251(lower), upper);
    EXPECT_TRUE(IsLetter1251(lower[6]));  // ё
    EXPECT_FALSE(IsLetter1251('+'));
}

TEST(Text, SplitsListsDroppingEmptyItems) {
    EXPECT_EQ(SplitList(",,A0,"), (std::vector<std::string>{"A0"}));
    EXPECT_EQ(SplitList("#,A0,#"), (std::vector<std::string>{"#", "A0", "#"}));
    EXPECT_TRUE(SplitList("").empty());
    EXPECT_EQ(JoinList({"#", "A0", "#"}), "#,A0,#");
}

TEST(Text, ParsesNumbersWholeAndLocaleFree) {
    EXPECT_EQ(ParseDouble(" 2.5\r\n"), 2.5);
    EXPECT_FALSE(ParseDouble("2,5"));
    EXPECT_FALSE(ParseDouble("2.5x"));
    EXPECT_EQ(ParseInteger("+42"), 42);
    EXPECT_EQ(ParseInteger("-7"), -7);
    EXPECT_FALSE(ParseInteger(""));
}

TEST(CodePage, FindsTheFirstByteThatIsNotUtf8) {
    EXPECT_EQ(FirstInvalidUtf8("мо+ре, 𝄞 ok"), std::nullopt);
    EXPECT_EQ(FirstInvalidUtf8("мо\xFFре"), 4u);
    EXPECT_EQ(FirstInvalidUtf8("ab\xD0"), 2u) << "cut short";
    EXPECT_EQ(FirstInvalidUtf8("a\xC0\x80"), 1u) << "overlong";
    EXPECT_EQ(FirstInvalidUtf8("\xED\xA0\x80"), 0u) << "surrogate";
    EXPECT_EQ(FirstInvalidUtf8("\xF4\x90\x80\x80"), 0u) << "past U+10FFFF";
    EXPECT_EQ(FirstInvalidUtf8("\xD0\xBC\x80"), 2u) << "stray continuation byte";
}

// Readers of voice and data files refuse a FIFO at once instead of waiting
// for a writer (the alarm ends a hung test).
TEST(FileReader, RefusesWhatIsNotARegularFileWithoutBlocking) {
    test::TempDir dir;
    const std::string fifo = dir.File("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    ::alarm(20);
    std::string error;
    FileReader reader;
    EXPECT_FALSE(reader.Open(fifo, &error));
    EXPECT_NE(error.find("is a FIFO"), std::string::npos) << error;
    MappedFile mapped;
    EXPECT_FALSE(mapped.Open(fifo, &error));
    EXPECT_NE(error.find("is a FIFO"), std::string::npos) << error;
    EXPECT_EQ(ReadWholeFile(fifo), std::nullopt);
    EXPECT_FALSE(reader.Open(dir.Path(), &error));
    ::alarm(0);
}

TEST(FileReader, ReadsByOffsetAndToldVersionsApart) {
    test::TempDir dir;
    const std::string path = dir.File("f");
    test::WriteFile(path, "abcdef");
    FileReader reader;
    ASSERT_TRUE(reader.Open(path));
    EXPECT_EQ(reader.Size(), 6u);
    uint8_t bytes[3] = {};
    ASSERT_TRUE(reader.ReadAt(3, bytes));
    EXPECT_EQ(bytes[0], 'd');
    EXPECT_EQ(IdentifyFile(path), reader.Identity());
    ASSERT_EQ(::truncate(path.c_str(), 4), 0);  // cut short behind the reader's back
    EXPECT_FALSE(reader.ReadAt(3, bytes));
    EXPECT_NE(IdentifyFile(path), reader.Identity());
    EXPECT_FALSE(IdentifyFile(dir.File("missing")).exists);
}

TEST(FileMapping, MapsWholeFilesAndExplainsFailures) {
    test::TempDir dir;
    test::WriteFile(dir.File("f"), "abc");
    test::WriteFile(dir.File("empty"), "");
    MappedFile m;
    ASSERT_TRUE(m.Open(dir.File("f")));
    EXPECT_EQ(m.Size(), 3u);
    EXPECT_EQ(m.Data()[2], 'c');
    ASSERT_TRUE(m.Open(dir.File("empty")));
    EXPECT_EQ(m.Size(), 0u);
    std::string error;
    EXPECT_FALSE(m.Open(dir.File("missing"), &error));
    EXPECT_FALSE(m.IsOpen());
    EXPECT_NE(error.find("missing"), std::string::npos);
    EXPECT_FALSE(m.Open(dir.Path(), &error)) << "a folder is not mapped";
}

TEST(Messages, DefaultSinkWritesCaptionAndTextToStderr) {
    ::unsetenv("VOXAMEN_MESSAGES");
    testing::internal::CaptureStderr();
    MessageBox("Caption", "text");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Caption: text\n");
    ::setenv("VOXAMEN_MESSAGES", "none", 1);
    testing::internal::CaptureStderr();
    MessageBox("Caption", "text");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    ::unsetenv("VOXAMEN_MESSAGES");
}

TEST(SingleInstance, SecondHolderOfTheNameIsRefused) {
    test::TempDir dir;
    ::setenv("XDG_RUNTIME_DIR", dir.Path().c_str(), 1);
    {
        SingleInstance first("Accentor test/mutex");
        ASSERT_TRUE(first.IsFirst());
        SingleInstance second("Accentor test/mutex");
        EXPECT_FALSE(second.IsFirst());
    }
    SingleInstance again("Accentor test/mutex");
    EXPECT_TRUE(again.IsFirst());
    ::unsetenv("XDG_RUNTIME_DIR");
}

TEST(StartProgram, StartsWithoutWaitingAndReportsMissingPrograms) {
    test::TempDir dir;
    const std::string marker = dir.File("started");
    ASSERT_TRUE(StartProgram("/bin/sh", {"-c", "sleep 0.2; echo \"$0\" > " + marker, "arg"}));
    EXPECT_FALSE(std::filesystem::exists(marker)) << "the caller does not wait";
    for (int i = 0; i < 100 && test::ReadFile(marker).empty(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(test::ReadFile(marker), "arg\n");
    std::string error;
    EXPECT_FALSE(StartProgram(dir.File("nothing"), {}, &error));
    EXPECT_NE(error.find("nothing"), std::string::npos);
}

}  // namespace
}  // namespace vox
