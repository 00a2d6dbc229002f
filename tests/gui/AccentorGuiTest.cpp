// The stress editor on a virtual display: add, refuse, delete, the file and
// the change counter, the red stressed letter, the single instance.
#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/textctrl.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <chrono>
#include <thread>

#include "gui/GuiSupport.h"
#include "platform/CodePage.h"
#include "platform/Registry.h"
#include "platform/SingleInstance.h"
#include "stress-editor/AccentorDialog.h"
#include "support/CapturedMessages.h"
#include "support/TempRegistry.h"

extern char** environ;

namespace accentor {
namespace {

using namespace vox::test;

class EditorWindow : public testing::Test {
  protected:
    void SetUp() override {
        setenv("XDG_RUNTIME_DIR", runtime_.Path().c_str(), 1);
        vox::reg::Key key;
        ASSERT_EQ(vox::reg::Key::Create(vox::reg::Root::LocalMachine, kGlossorKey, key),
                  vox::reg::Status::Ok);
        ASSERT_EQ(key.SetText("AccentorBase", file_), vox::reg::Status::Ok);
    }
    void Open(const std::string& language) {
        UseLanguage(language);
        dialog_ = new AccentorDialog(nullptr);
        dialog_->Show();
        Pump();
    }
    void TearDown() override {
        if (dialog_ != nullptr) dialog_->Destroy();
        Pump(20);
    }
    void Type(const char* utf8) { dialog_->WordField()->ChangeValue(wxString::FromUTF8(utf8)); }
    std::string FileText() { return vox::Cp1251ToUtf8(ReadFile(file_)); }

    TempRegistry registry_;
    TempDir dir_, runtime_;
    std::string file_ = dir_.File("accentor.txt");
    AccentorDialog* dialog_ = nullptr;
};

// Pixels of the stressed letter's red inside the list.
int RedPixels(const wxImage& image, const wxRect& area) {
    int red = 0;
    for (int y = area.y; y < area.GetBottom() && y < image.GetHeight(); ++y)
        for (int x = area.x; x < area.GetRight() && x < image.GetWidth(); ++x)
            if (image.GetRed(x, y) > 200 && image.GetGreen(x, y) < 90 && image.GetBlue(x, y) < 90)
                ++red;
    return red;
}

TEST_F(EditorWindow, AddRefuseDelete) {
    Open("en");
    Type("  КОРО+ВА ");
    Click(dialog_->AddButton());
    EXPECT_EQ(dialog_->Beeps(), 0);
    EXPECT_EQ(FileText(), "коро+ва\n");
    EXPECT_EQ(ReadGeneration(), 1u);
    EXPECT_TRUE(dialog_->WordField()->GetValue().empty());
    ASSERT_EQ(dialog_->List()->GetItemCount(), 1u);
    EXPECT_TRUE(dialog_->List()->IsSelected(0));

    Type("короВ+а");
    Click(dialog_->AddButton());
    EXPECT_EQ(dialog_->Beeps(), 1);
    EXPECT_EQ(FileText(), "коро+ва\n");
    EXPECT_EQ(ReadGeneration(), 1u);
    EXPECT_EQ(dialog_->WordField()->GetValue(), wxString::FromUTF8("короВ+а"));  // kept to fix

    // The stressed letters are drawn in red.
    dialog_->List()->DeselectAll();
    Pump();
    const wxRect list = dialog_->List()->GetRect();
    EXPECT_GT(RedPixels(Capture(dialog_), list), 10);

    // Delete the selected item with an empty field.
    Type("");
    dialog_->List()->Select(0);
    Click(dialog_->DeleteButton());
    EXPECT_EQ(dialog_->List()->GetItemCount(), 0u);
    EXPECT_EQ(FileText(), "коро+ва\nкорова\n");
    EXPECT_EQ(ReadGeneration(), 2u);

    // Delete by typing: the counter moves even for an absent word.
    Type("мо+локо");
    Click(dialog_->DeleteButton());
    EXPECT_EQ(FileText(), "коро+ва\nкорова\nмолоко\n");
    EXPECT_EQ(ReadGeneration(), 3u);
}

TEST_F(EditorWindow, ScreenshotsInBothLanguages) {
    vox::test::WriteFile(file_, vox::Utf8ToCp1251("коро+ва\nмолоко+\nэксклюзи+вн*\n*ова+ть\n"
                                                  "ё+лка\nхле+б\nзвони+т\nтво+рог\nкварта+л\n"));
    for (const std::string language : {"en", "ru"}) {
        Open(language);
        EXPECT_EQ(dialog_->GetTitle(),
                  language == "en" ? "Stress vocabulary" : wxString::FromUTF8("Словарь ударений"));
        EXPECT_EQ(dialog_->List()->GetItemCount(), 9u);
        dialog_->List()->Select(2);
        Type("сре+дство");
        Pump();
        EXPECT_FALSE(SaveScreenshot(dialog_, "accentor-" + language).empty());
        for (const std::string& problem : LayoutProblems(dialog_))
            ADD_FAILURE() << language << ": " << problem;
        dialog_->Destroy();
        dialog_ = nullptr;
        Pump(20);
    }
}

TEST_F(EditorWindow, UnwritableFileKeepsChangesAndTellsOnce) {
    vox::reg::Key key;
    ASSERT_EQ(vox::reg::Key::Create(vox::reg::Root::LocalMachine, kGlossorKey, key),
              vox::reg::Status::Ok);
    key.SetText("AccentorBase", dir_.File("no-such-folder/accentor.txt"));
    Open("en");
    CapturedMessages messages;
    Type("коро+ва");
    Click(dialog_->AddButton());
    Type("молоко+");
    Click(dialog_->AddButton());
    EXPECT_EQ(dialog_->List()->GetItemCount(), 2u);
    EXPECT_EQ(ReadGeneration(), 2u);
    EXPECT_EQ(messages.All().size(), 1u);
}

TEST_F(EditorWindow, SecondEditorEndsAtOnce) {
    vox::SingleInstance first(kInstanceName);
    ASSERT_TRUE(first.IsFirst());
    const std::string program = std::string(VOXAMEN_BIN_DIR) + "/accentor";
    char* argv[] = {const_cast<char*>(program.c_str()), const_cast<char*>("."), nullptr};
    pid_t pid = 0;
    ASSERT_EQ(posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, environ), 0);
    int status = -1;
    const auto start = std::chrono::steady_clock::now();
    while (waitpid(pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() - start > std::chrono::seconds(20)) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            FAIL() << "the second editor kept running";
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace
}  // namespace accentor
