// The settings sheet "Vostrelin TTS settings": the voice box above the
// pages "Engine", "Tools", "Pauses", "Chambrel™", "Reverberation", "Filter"
// and "About", with OK, Cancel and Apply. Without voices it holds the single
// page "No Vostrelin voices found.".
#pragma once

#include <wx/dialog.h>

#include <functional>
#include <vector>

#include "settings/VoiceSettings.h"

class wxButton;
class wxChoice;
class wxNotebook;

namespace setvane {

class SettingsPage;

class SettingsSheet : public wxDialog {
  public:
    SettingsSheet(wxWindow* parent, uint16_t uiLanguage);

    VoiceSettings& Settings() { return settings_; }
    wxNotebook* Book() { return book_; }
    wxChoice* VoiceBox() { return voiceBox_; }
    wxButton* ApplyButton() { return apply_; }

    // Writes the current voice's settings; on failure shows why and keeps
    // the changes pending.
    bool Apply();
    // Makes another voice current, asking first about pending changes.
    void SelectVoice(int index);

    // Asks "Save changes for voice %s?": wxYES, wxNO or wxCANCEL. A dialog
    // unless replaced (tests answer it themselves).
    std::function<int(const wxString& question)> askSaveChanges;

  private:
    void Changed();
    void LoadPages();
    void OnPageChanged();

    VoiceSettings settings_;
    wxChoice* voiceBox_ = nullptr;
    wxNotebook* book_ = nullptr;
    wxButton* apply_ = nullptr;
    std::vector<SettingsPage*> pages_;
};

}  // namespace setvane
