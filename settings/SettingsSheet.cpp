#include "settings/SettingsSheet.h"

#include <wx/button.h>
#include <wx/choice.h>
#include <wx/msgdlg.h>
#include <wx/notebook.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include "platform/Messages.h"
#include "platform/wx/WxSupport.h"
#include "settings/SettingsPages.h"

namespace setvane {

SettingsSheet::SettingsSheet(wxWindow* parent, uint16_t uiLanguage)
    : wxDialog(parent, wxID_ANY, _("Vostrelin TTS settings"), wxDefaultPosition, wxDefaultSize,
               wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER, "setvane"),
      settings_(uiLanguage) {
    askSaveChanges = [this](const wxString& question) {
        return wxMessageBox(question, GetTitle(), wxYES_NO | wxCANCEL | wxICON_QUESTION, this);
    };
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    const bool haveVoices = !settings_.Voices().empty();
    if (haveVoices) {
        auto* row = new wxBoxSizer(wxHORIZONTAL);
        row->Add(new wxStaticText(this, wxID_ANY, _("Voice")), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT,
                 8);
        voiceBox_ = new wxChoice(this, wxID_ANY, wxDefaultPosition, wxDefaultSize, 0, nullptr, 0,
                                 wxDefaultValidator, "voice");
        for (const VoiceEntry& voice : settings_.Voices())
            voiceBox_->Append(vox::wx::FromUtf8(voice.displayName));
        voiceBox_->SetSelection(0);
        voiceBox_->Bind(wxEVT_CHOICE,
                        [this](wxCommandEvent&) { SelectVoice(voiceBox_->GetSelection()); });
        row->Add(voiceBox_, 1, wxALIGN_CENTER_VERTICAL);
        sizer->Add(row, 0, wxEXPAND | wxALL, 10);
    }

    book_ = new wxNotebook(this, wxID_ANY, wxDefaultPosition, wxDefaultSize, 0, "pages");
    if (haveVoices) {
        auto changed = [this] { Changed(); };
        pages_ = {new EnginePage(book_, settings_, changed),
                  new ToolsPage(book_, settings_, changed),
                  new PausesPage(book_, settings_, changed),
                  new ChambrelPage(book_, settings_, changed),
                  new ReverberationPage(book_, settings_, changed),
                  new FilterPage(book_, settings_, changed)};
        const wxString titles[] = {_("Engine"),    _("Tools"),         _("Pauses"),
                                   _("Chambrel™"), _("Reverberation"), _("Filter")};
        for (size_t i = 0; i < pages_.size(); ++i) book_->AddPage(pages_[i], titles[i]);
        book_->AddPage(new AboutPage(book_), _("About"));
        // Wide enough for every tab, so that none scrolls out of sight.
        int tabs = 0;
        for (size_t i = 0; i < book_->GetPageCount(); ++i)
            tabs += book_->GetTextExtent(book_->GetPageText(i)).x + 34;
        book_->SetMinSize(wxSize(tabs + 16, -1));
        book_->Bind(wxEVT_NOTEBOOK_PAGE_CHANGED, [this](wxBookCtrlEvent& e) {
            e.Skip();
            OnPageChanged();
        });
    } else {
        auto* page = new wxPanel(book_, wxID_ANY, wxDefaultPosition, wxDefaultSize, 0, "noVoices");
        auto* pageSizer = new wxBoxSizer(wxVERTICAL);
        pageSizer->Add(new wxStaticText(page, wxID_ANY, _("No Vostrelin voices found.")), 0, wxALL,
                       20);
        page->SetSizer(pageSizer);
        book_->AddPage(page, _("Voices"));
    }
    sizer->Add(book_, 1, wxEXPAND | wxLEFT | wxRIGHT | (haveVoices ? 0 : wxTOP), 10);

    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    buttons->AddStretchSpacer();
    auto* ok = new wxButton(this, wxID_OK, _("OK"));
    auto* cancel = new wxButton(this, wxID_CANCEL, _("Cancel"));
    buttons->Add(ok, 0, wxRIGHT, 8);
    buttons->Add(cancel, 0);
    if (haveVoices) {
        apply_ = new wxButton(this, wxID_APPLY, _("Apply"));
        buttons->Add(apply_, 0, wxLEFT, 8);
        apply_->Disable();
        apply_->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { Apply(); });
    }
    sizer->Add(buttons, 0, wxEXPAND | wxALL, 10);
    ok->SetDefault();
    ok->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
        if (Apply()) EndModal(wxID_OK);
    });
    SetSizerAndFit(sizer);
    SetMinSize(GetSize());
    LoadPages();
}

void SettingsSheet::Changed() {
    settings_.MarkModified();
    if (apply_ != nullptr) apply_->Enable();
}

bool SettingsSheet::Apply() {
    if (!settings_.Modified()) return true;
    const std::string error = settings_.Apply();
    if (!error.empty()) {
        vox::MessageBox(vox::wx::ToUtf8(GetTitle()),
                        vox::wx::ToUtf8(wxString::Format(_("The settings could not be saved: %s"),
                                                         vox::wx::FromUtf8(error))));
        return false;
    }
    if (apply_ != nullptr) apply_->Disable();
    return true;
}

void SettingsSheet::SelectVoice(int index) {
    const int old = settings_.Current();
    if (index == old || index < 0) return;
    if (settings_.Modified()) {
        const wxString name =
            vox::wx::FromUtf8(settings_.Voices()[static_cast<size_t>(old)].displayName);
        const int answer = askSaveChanges(wxString::Format(_("Save changes for voice %s?"), name));
        // Cancel, or a failed save, keeps the old voice and its changes.
        if (answer == wxCANCEL || (answer == wxYES && !Apply())) {
            voiceBox_->SetSelection(old);
            return;
        }
    }
    settings_.Select(index);
    voiceBox_->SetSelection(index);
    if (apply_ != nullptr) apply_->Disable();
    LoadPages();
}

void SettingsSheet::LoadPages() {
    for (SettingsPage* page : pages_)
        if (dynamic_cast<ToolsPage*>(page) == nullptr) page->Load();
    OnPageChanged();
}

void SettingsSheet::OnPageChanged() {
    // The Tools page asks the engine each time it opens.
    if (auto* tools = dynamic_cast<ToolsPage*>(book_->GetCurrentPage())) tools->Load();
}

}  // namespace setvane
