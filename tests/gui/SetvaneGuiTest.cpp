// The settings sheet on a virtual display: every page opened, edited through
// its controls and photographed in both languages; Apply writes exactly the
// edited values; leaving a voice asks about pending changes.
#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/notebook.h>
#include <wx/propgrid/propgrid.h>
#include <wx/radiobut.h>
#include <wx/slider.h>
#include <wx/spinctrl.h>
#include <wx/stattext.h>

#include <clocale>
#include <cstring>

#include "gui/GuiSupport.h"
#include "interfaces/IVoxamen.h"
#include "platform/Registry.h"
#include "platform/UiLanguage.h"
#include "settings/SettingsPages.h"
#include "settings/SettingsSheet.h"
#include "support/CapturedMessages.h"
#include "support/ServerLibrary.h"
#include "support/TempRegistry.h"

namespace setvane {
namespace {

using namespace vox::test;

constexpr const char* kVoices =
    "Windows Registry Editor Version 5.00\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Vostrelin\\Voices\\ru-anna]\n"
    "\"Name\"=\"Anna\"\n\"419\"=\"Анна\"\n\"Language\"=\"419\"\n\"Sublang\"=\"0\"\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Vostrelin\\Voices\\ru-boris]\n"
    "\"Name\"=\"Boris\"\n\"419\"=\"Борис\"\n\"Language\"=\"419\"\n";

const char* const kPageNames[] = {"engine",        "tools",  "pauses", "chambrel",
                                  "reverberation", "filter", "about"};

class SettingsWindow : public testing::Test {
  protected:
    void Open(const std::string& language) {
        UseLanguage(language);
        registry_.WriteMachine(kVoices);
        // The Tools page asks the engine, created through the registry.
        ASSERT_EQ(engine_.Register(), S_OK);
        sheet_ =
            new SettingsSheet(nullptr, language == "ru" ? vox::kLangRussian : vox::kLangEnglishUS);
        sheet_->askSaveChanges = [this](const wxString& question) {
            questions_.push_back(question);
            return answer_;
        };
        sheet_->Show();
        Pump();
    }
    void TearDown() override {
        if (sheet_ != nullptr) sheet_->Destroy();
        Pump(20);
    }
    void ShowPage(size_t index) {
        sheet_->Book()->SetSelection(index);
        Pump();
    }
    wxWindow* Page(size_t index) { return sheet_->Book()->GetPage(index); }
    wxPropertyGrid* GridOf(size_t index) { return dynamic_cast<GridPage*>(Page(index))->Grid(); }
    bool SetGrid(size_t page, const char* name, wxVariant value) {
        return GridOf(page)->ChangePropertyValue(name, value);
    }
    uint32_t Dword(vox::reg::Root root, const std::string& subkey, const char* name) {
        vox::reg::Key key;
        std::string path = "SOFTWARE\\Vostrelin\\Voices\\ru-anna" + subkey;
        EXPECT_EQ(vox::reg::Key::Open(root, path, key), vox::reg::Status::Ok) << path;
        uint32_t n = 0xDEADBEEF;
        EXPECT_EQ(key.QueryDword(name, n), vox::reg::Status::Ok) << path << " " << name;
        return n;
    }
    uint32_t User(const std::string& subkey, const char* name) {
        return Dword(vox::reg::Root::CurrentUser, subkey, name);
    }

    TempRegistry registry_;
    ServerLibrary engine_{"voxamen.so"};
    SettingsSheet* sheet_ = nullptr;
    std::vector<wxString> questions_;
    int answer_ = wxCANCEL;
};

// Screenshots of every page in both languages, with a sound layout.
TEST_F(SettingsWindow, EveryPageInBothLanguages) {
    for (const std::string language : {"en", "ru"}) {
        Open(language);
        ASSERT_EQ(sheet_->Book()->GetPageCount(), 7u);
        EXPECT_EQ(sheet_->GetTitle(),
                  wxString::FromUTF8(language == "en" ? "Vostrelin TTS settings"
                                                      : "Настройки Vostrelin TTS"));
        // The voice box shows the display names of the interface language.
        EXPECT_EQ(sheet_->VoiceBox()->GetString(0),
                  wxString::FromUTF8(language == "en" ? "Anna" : "Анна"));
        for (size_t i = 0; i < 7; ++i) {
            ShowPage(i);
            const std::string shot =
                SaveScreenshot(sheet_, "setvane-" + language + "-" + kPageNames[i]);
            EXPECT_FALSE(shot.empty()) << kPageNames[i];
            for (const std::string& problem : LayoutProblems(sheet_))
                ADD_FAILURE() << language << " " << kPageNames[i] << ": " << problem;
        }
        // Nothing above changed a setting.
        EXPECT_FALSE(sheet_->ApplyButton()->IsEnabled());
        sheet_->Destroy();
        sheet_ = nullptr;
        Pump(20);
    }
    // The programs never switch the process locale.
    EXPECT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "C");
}

TEST_F(SettingsWindow, NoVoicesShowsTheSinglePage) {
    for (const std::string language : {"en", "ru"}) {
        UseLanguage(language);
        SettingsSheet sheet(nullptr, vox::kLangEnglishUS);
        sheet.Show();
        Pump();
        ASSERT_EQ(sheet.Book()->GetPageCount(), 1u);
        EXPECT_EQ(sheet.VoiceBox(), nullptr);
        EXPECT_EQ(sheet.ApplyButton(), nullptr);
        EXPECT_FALSE(SaveScreenshot(&sheet, "setvane-" + language + "-no-voices").empty());
        EXPECT_TRUE(LayoutProblems(&sheet).empty());
    }
}

TEST_F(SettingsWindow, ApplyWritesExactlyTheEditedValues) {
    Open("en");
    // Engine.
    ShowPage(0);
    wxWindow* p = Page(0);
    Slide(Find<wxSlider>(p, "verbosity"), 2);
    EXPECT_EQ(Find<wxStaticText>(p, "verbosityText")->GetLabel(), "All messages");
    SetCheck(Find<wxCheckBox>(p, "rhytmics"), true);
    SetCheck(Find<wxCheckBox>(p, "ampContour"), true);
    SetCheck(Find<wxCheckBox>(p, "intonation"), true);
    Choose(Find<wxRadioButton>(p, "absolute"));
    EXPECT_TRUE(Find<wxSpinCtrl>(p, "lowFreq")->IsEnabled());
    Spin(Find<wxSpinCtrl>(p, "lowFreq"), 80);
    Spin(Find<wxSpinCtrl>(p, "highFreq"), 250);
    SetCheck(Find<wxCheckBox>(p, "newIntonation"), true);
    EXPECT_TRUE(sheet_->ApplyButton()->IsEnabled());

    // Pauses: "Default" first, then the edits.
    ShowPage(2);
    EXPECT_TRUE(SetGrid(2, "(.)", 1.0));
    Click(Find<wxButton>(Page(2), "default"));
    EXPECT_DOUBLE_EQ(GridOf(2)->GetPropertyValueAsDouble("(.)"), 3.0);
    EXPECT_TRUE(SetGrid(2, "(,)", 1.25));
    EXPECT_TRUE(SetGrid(2, "NoiseFill", 1L));
    EXPECT_TRUE(SetGrid(2, "NoiseLevel", 50L));
    EXPECT_TRUE(SetGrid(2, "DurationUnit", 120L));
    EXPECT_EQ(GridOf(2)->GetPropertyValueAsString("(,)"), "1.250");
    // Out of range: refused with a hint, never written.
    EXPECT_FALSE(SetGrid(2, "(?)", 7.5));
    EXPECT_FALSE(SetGrid(2, "NoiseLevel", 1001L));
    EXPECT_NE(dynamic_cast<GridPage*>(Page(2))->Hint()->GetLabel().Find("0 to 1000"), wxNOT_FOUND);

    // Chambrel.
    ShowPage(3);
    SetCheck(Find<wxCheckBox>(Page(3), "useChambrel"), true);
    EXPECT_TRUE(SetGrid(3, "IsMale", 0L));
    EXPECT_TRUE(SetGrid(3, "Depth", 0.25));
    EXPECT_FALSE(SetGrid(3, "Feedback", 0.0));

    // Reverberation.
    ShowPage(4);
    SetCheck(Find<wxCheckBox>(Page(4), "useReverberation"), true);
    EXPECT_TRUE(SetGrid(4, "UseFilter", 0L));
    EXPECT_TRUE(SetGrid(4, "FilterType", 2L));
    EXPECT_TRUE(SetGrid(4, "FilterLow", 500L));
    EXPECT_TRUE(SetGrid(4, "FilterHigh", 900L));
    EXPECT_TRUE(SetGrid(4, "Delay", 0.123));
    EXPECT_TRUE(SetGrid(4, "NumDelays", 5L));
    EXPECT_TRUE(SetGrid(4, "Feedback", 0.4));
    EXPECT_TRUE(SetGrid(4, "SourceAmount", 0.9));
    EXPECT_TRUE(SetGrid(4, "DelayAmount", 0.7));
    EXPECT_FALSE(SetGrid(4, "NumDelays", 11L));
    EXPECT_FALSE(SetGrid(4, "FilterLow", 29L));

    // Filter: band pass shows both fields.
    ShowPage(5);
    p = Page(5);
    SetCheck(Find<wxCheckBox>(p, "useFilter"), true);
    Choose(Find<wxRadioButton>(p, "type3"));
    EXPECT_TRUE(Find<wxSpinCtrl>(p, "high")->IsShown());
    EXPECT_EQ(Find<wxStaticText>(p, "lowCaption")->GetLabel(), "From");
    Spin(Find<wxSpinCtrl>(p, "low"), 300);
    Spin(Find<wxSpinCtrl>(p, "high"), 3000);
    SaveScreenshot(sheet_, "setvane-en-filter-band-pass");

    Click(sheet_->ApplyButton());
    EXPECT_FALSE(sheet_->ApplyButton()->IsEnabled());

    const auto machine = vox::reg::Root::LocalMachine;
    EXPECT_EQ(Dword(machine, "", "DebugVerbosity"), 2u);
    EXPECT_EQ(User("", "RhytmicsEnabled"), 1u);
    EXPECT_EQ(User("", "UseAmpContour"), 1u);
    EXPECT_EQ(User("", "UseAmpProsody"), 0u);
    EXPECT_EQ(User("", "IntonationEnabled"), 1u);
    EXPECT_EQ(User("", "UseAbsoluteIntonation"), 1u);
    EXPECT_EQ(User("", "IntonationLowFreq"), 80u);
    EXPECT_EQ(User("", "IntonationHighFreq"), 250u);
    EXPECT_EQ(User("", "UseNewIntonation"), 1u);
    EXPECT_EQ(User("\\Pauses", "(.)"), 3000u);
    EXPECT_EQ(User("\\Pauses", "(,)"), 1250u);
    EXPECT_EQ(User("\\Pauses", "(?)"), 3000u);
    EXPECT_EQ(User("\\Pauses", "NoiseFill"), 1u);
    EXPECT_EQ(User("\\Pauses", "NoiseLevel"), 50u);
    EXPECT_EQ(User("\\Pauses", "DurationUnit"), 120u);
    EXPECT_EQ(User("\\Chambrel", "Enabled"), 1u);
    EXPECT_EQ(User("\\Chambrel", "IsMale"), 0u);
    EXPECT_EQ(User("\\Chambrel", "Depth"), 250u);
    EXPECT_EQ(User("\\Chambrel", "Feedback"), 500u);
    EXPECT_EQ(User("\\Rever", "Enabled"), 1u);
    EXPECT_EQ(User("\\Rever", "UseFilter"), 0u);
    EXPECT_EQ(User("\\Rever", "FilterType"), 2u);
    EXPECT_EQ(User("\\Rever", "FilterLow"), 500u);
    EXPECT_EQ(User("\\Rever", "FilterHigh"), 900u);
    EXPECT_EQ(User("\\Rever", "Delay"), 123u);
    EXPECT_EQ(User("\\Rever", "NumDelays"), 5u);
    EXPECT_EQ(User("\\Rever", "Feedback"), 400u);
    EXPECT_EQ(User("\\Rever", "SourceAmount"), 900u);
    EXPECT_EQ(User("\\Rever", "DelayAmount"), 700u);
    EXPECT_EQ(User("\\Filter", "Enabled"), 1u);
    EXPECT_EQ(User("\\Filter", "Type"), 3u);
    EXPECT_EQ(User("\\Filter", "BandPassF1"), 300u);
    EXPECT_EQ(User("\\Filter", "BandPassF2"), 3000u);
    EXPECT_EQ(User("\\Filter", "LowPassCutoff"), 4000u);
    EXPECT_EQ(User("\\Volume", "Value"), 1000u);
    // The machine key keeps its identity values.
    vox::reg::Key key;
    ASSERT_EQ(vox::reg::Key::Open(machine, "SOFTWARE\\Vostrelin\\Voices\\ru-anna", key),
              vox::reg::Status::Ok);
    std::string text;
    EXPECT_EQ(key.QueryText("419", text), vox::reg::Status::Ok);
    EXPECT_EQ(text, "Анна");
}

TEST_F(SettingsWindow, LeavingAVoiceAsksAboutPendingChanges) {
    Open("en");
    wxCheckBox* rhytmics = Find<wxCheckBox>(Page(0), "rhytmics");
    SetCheck(rhytmics, true);
    answer_ = wxCANCEL;
    sheet_->SelectVoice(1);
    ASSERT_EQ(questions_.size(), 1u);
    EXPECT_EQ(questions_[0], "Save changes for voice Anna?");
    EXPECT_EQ(sheet_->VoiceBox()->GetSelection(), 0);
    EXPECT_TRUE(sheet_->Settings().Modified());
    EXPECT_TRUE(rhytmics->GetValue());

    answer_ = wxNO;
    sheet_->SelectVoice(1);
    EXPECT_EQ(sheet_->Settings().Voices()[1].key, "ru-boris");
    EXPECT_FALSE(rhytmics->GetValue());
    sheet_->SelectVoice(0);
    EXPECT_FALSE(rhytmics->GetValue());  // dropped, never written

    SetCheck(rhytmics, true);
    answer_ = wxYES;
    sheet_->SelectVoice(1);
    EXPECT_EQ(User("", "RhytmicsEnabled"), 1u);
}

TEST_F(SettingsWindow, UnwritableRegistryKeepsTheSheetOpenWithTheChanges) {
    Open("en");
    CapturedMessages messages;
    SetCheck(Find<wxCheckBox>(Page(0), "rhytmics"), true);
    // A malformed hive is never overwritten.
    WriteFile(registry_.MachineFile(), "not a registry file\n");
    EXPECT_FALSE(sheet_->Apply());
    EXPECT_TRUE(messages.Contains("Vostrelin TTS settings", "could not be saved"));
    EXPECT_TRUE(sheet_->ApplyButton()->IsEnabled());
    EXPECT_TRUE(sheet_->Settings().Modified());
}

TEST_F(SettingsWindow, ToolsPageAsksTheEngineAboutTheVocabulary) {
    Open("en");
    ShowPage(1);
    auto* tools = dynamic_cast<ToolsPage*>(Page(1));
    EXPECT_TRUE(tools->VocabularyButton()->IsEnabled());  // a Russian voice
}

}  // namespace
}  // namespace setvane
