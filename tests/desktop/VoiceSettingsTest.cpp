// The settings model: voices and their display names, the language of the
// user interface, and Apply writing the record back.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/Registry.h"
#include "platform/UiLanguage.h"
#include "settings/VoiceSettings.h"
#include "support/TempRegistry.h"

namespace setvane {
namespace {

using vox::test::TempRegistry;

constexpr const char* kVoices =
    "Windows Registry Editor Version 5.00\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Vostrelin\\Voices\\zz-ru]\n"
    "\"Name\"=\"Anna\"\n\"419\"=\"Анна\"\n\"Language\"=\"419\"\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Vostrelin\\Voices\\aa-en]\n"
    "\"Name\"=\"Zed\"\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Vostrelin\\Voices\\bare]\n";

TEST(VoiceList, DisplayNamesFollowTheInterfaceLanguage) {
    TempRegistry registry;
    registry.WriteMachine(kVoices);
    auto english = ListVoices(vox::kLangEnglishUS);
    ASSERT_EQ(english.size(), 3u);
    EXPECT_EQ(english[0].displayName, "Anna");  // sorted by display name
    EXPECT_EQ(english[1].displayName, "Zed");
    EXPECT_EQ(english[2].displayName, "bare");  // no name: the key
    auto russian = ListVoices(vox::kLangRussian);
    EXPECT_EQ(russian[2].displayName, "Анна");
    EXPECT_EQ(russian[2].key, "zz-ru");
    EXPECT_EQ(vox::LanguageValueName(vox::kLangRussian), "419");
}

TEST(VoiceList, NoVoicesGivesAnEmptyListAndNoCurrentVoice) {
    TempRegistry registry;
    VoiceSettings settings(vox::kLangEnglishUS);
    EXPECT_TRUE(settings.Voices().empty());
    EXPECT_EQ(settings.Current(), -1);
    EXPECT_EQ(settings.Apply(), "");
}

TEST(UiLanguage, EnvironmentInGettextOrder) {
    struct Env {
        const char *language, *all, *messages, *lang;
        const char* expected;
    };
    const Env cases[] = {
        {"", "", "", "ru_RU.UTF-8", "ru"},       {"", "", "", "", "en"},
        {"", "C", "", "ru_RU.UTF-8", "en"},      {"en_GB:ru", "", "", "ru_RU.UTF-8", "en"},
        {"ru:en", "C.UTF-8", "", "", "ru"},      {"", "en_US.UTF-8", "ru_RU", "ru_RU", "en"},
        {"", "", "ru_RU.KOI8-R", "en_US", "ru"},
    };
    for (const Env& c : cases) {
        setenv("LANGUAGE", c.language, 1);
        setenv("LC_ALL", c.all, 1);
        setenv("LC_MESSAGES", c.messages, 1);
        setenv("LANG", c.lang, 1);
        EXPECT_EQ(vox::UserUiLanguageCode(), c.expected)
            << c.language << "|" << c.all << "|" << c.messages << "|" << c.lang;
    }
    setenv("LANGUAGE", "ru", 1);
    EXPECT_EQ(vox::UserDefaultUILanguage(), vox::kLangRussian);
    for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"}) unsetenv(name);
}

TEST(VoiceSettings, ApplyWritesTheChangedRecordAndSelectDropsChanges) {
    TempRegistry registry;
    registry.WriteMachine(kVoices);
    VoiceSettings settings(vox::kLangEnglishUS);
    ASSERT_EQ(settings.Voices()[size_t(settings.Current())].key, "zz-ru");
    settings.Record().reverDelay = 0.25;
    settings.Record().pauses["(.)"] = 2.0;
    settings.Record().debugVerbosity = 2;
    settings.MarkModified();
    EXPECT_EQ(settings.Apply(), "");
    EXPECT_FALSE(settings.Modified());

    vox::VoiceProperties read;
    ASSERT_TRUE(read.Read("zz-ru"));
    EXPECT_DOUBLE_EQ(read.reverDelay, 0.25);
    EXPECT_DOUBLE_EQ(read.pauses["(.)"], 2.0);
    EXPECT_EQ(read.debugVerbosity, 2);
    EXPECT_EQ(read.name, "Anna");

    settings.Record().noiseLevel = 999;
    settings.MarkModified();
    settings.Select(1);
    settings.Select(0);
    EXPECT_EQ(settings.Record().noiseLevel, 20);
    EXPECT_FALSE(settings.Modified());
}

TEST(VoiceSettings, PauseMarksShowTheKnownOnesThenTheVoicesOwn) {
    vox::PauseTable table = vox::DefaultPauseTable();
    table["(X)"] = 0.5;
    auto marks = PauseMarksToShow(table);
    ASSERT_EQ(marks.size(), PauseMarkItems().size() + 1);
    EXPECT_EQ(marks.front(), "(W)");
    EXPECT_EQ(marks.back(), "(X)");
    for (const auto& [mark, factor] : vox::DefaultPauseTable())
        EXPECT_TRUE(kPauseFactorRange.Contains(factor)) << mark;
}

}  // namespace
}  // namespace setvane
