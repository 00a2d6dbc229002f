#include "stress-editor/AccentorDialog.h"

#include <wx/button.h>
#include <wx/dcclient.h>
#include <wx/display.h>
#include <wx/msgdlg.h>
#include <wx/settings.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/utils.h>

#include <algorithm>

#include "platform/Messages.h"
#include "platform/Registry.h"
#include "platform/wx/WxSupport.h"

namespace accentor {

namespace {

const wxColour kSelectedBackground(49, 106, 197);

}  // namespace

VocabularyList::VocabularyList(wxWindow* parent)
    : wxVListBox(parent, wxID_ANY, wxDefaultPosition, wxSize(-1, 240),
                 wxLB_MULTIPLE | wxBORDER_THEME, "vocabularyList") {
    SetBackgroundColour(*wxWHITE);
}

void VocabularyList::SetEntries(std::vector<Entry> entries) {
    // Keep the scroll position across the refill.
    const size_t top = GetVisibleRowsBegin();
    entries_ = std::move(entries);
    DeselectAll();
    SetItemCount(entries_.size());
    if (!entries_.empty()) ScrollToRow(std::min(top, entries_.size() - 1));
    Refresh();
}

int VocabularyList::IndexOf(const std::string& text) const {
    for (size_t i = 0; i < entries_.size(); ++i)
        if (entries_[i].text == text) return static_cast<int>(i);
    return wxNOT_FOUND;
}

std::vector<std::string> VocabularyList::SelectedTexts() const {
    std::vector<std::string> texts;
    unsigned long cookie = 0;
    for (int i = GetFirstSelected(cookie); i != wxNOT_FOUND; i = GetNextSelected(cookie))
        texts.push_back(entries_[static_cast<size_t>(i)].text);
    return texts;
}

void VocabularyList::OnDrawBackground(wxDC& dc, const wxRect& rect, size_t n) const {
    if (IsSelected(n) && IsEnabled()) {
        dc.SetBrush(wxBrush(kSelectedBackground));
        dc.SetPen(*wxTRANSPARENT_PEN);
        dc.DrawRectangle(rect);
    }
}

void VocabularyList::OnDrawItem(wxDC& dc, const wxRect& rect, size_t n) const {
    const Entry& entry = entries_[n];
    const size_t at = std::min(StressedCharPosition(entry), entry.text.size());
    const wxString before = vox::wx::From1251(entry.text.substr(0, at));
    const wxString stressed =
        vox::wx::From1251(entry.text.substr(at, at < entry.text.size() ? 1 : 0));
    const wxString after =
        vox::wx::From1251(entry.text.substr(std::min(at + 1, entry.text.size())));
    wxColour text = *wxBLACK, mark = *wxRED;
    if (!IsEnabled()) {
        text = wxSystemSettings::GetColour(wxSYS_COLOUR_GRAYTEXT);
        mark = *wxBLACK;
    } else if (IsSelected(n)) {
        text = *wxWHITE;
    }
    dc.SetFont(GetFont());
    wxCoord x = rect.x + 4;
    const wxCoord y = rect.y + (rect.height - dc.GetCharHeight()) / 2;
    for (const auto& [part, colour] : {std::pair{before, text}, {stressed, mark}, {after, text}}) {
        dc.SetTextForeground(colour);
        dc.DrawText(part, x, y);
        x += dc.GetTextExtent(part).x;
    }
}

wxCoord VocabularyList::OnMeasureItem(size_t) const {
    return GetCharHeight() + 6;
}

AccentorDialog::AccentorDialog(wxWindow* parent)
    : wxDialog(parent, wxID_ANY, _("Stress vocabulary"), wxDefaultPosition, wxDefaultSize,
               wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER, "accentor") {
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(new wxStaticText(this, wxID_ANY, _("Word list")), 0, wxLEFT | wxRIGHT | wxTOP, 10);
    list_ = new VocabularyList(this);
    sizer->Add(list_, 1, wxEXPAND | wxALL, 10);
    sizer->Add(new wxStaticText(this, wxID_ANY, _("Word")), 0, wxLEFT | wxRIGHT, 10);
    word_ = new wxTextCtrl(this, wxID_ANY, wxEmptyString, wxDefaultPosition, wxDefaultSize,
                           wxTE_PROCESS_ENTER, wxDefaultValidator, "word");
    sizer->Add(word_, 0, wxEXPAND | wxALL, 10);
    auto* help = new wxStaticText(
        this, wxID_ANY,
        _("Mark the stress with + after the vowel: коро+ва, молоко+") + "\n" +
            _("An asterisk * stands for any letters at the start or end of a word: эксклюзи+вн*"));
    sizer->Add(help, 0, wxLEFT | wxRIGHT | wxBOTTOM, 10);
    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    add_ = new wxButton(this, wxID_ANY, _("Add word"), wxDefaultPosition, wxDefaultSize, 0,
                        wxDefaultValidator, "add");
    delete_ = new wxButton(this, wxID_ANY, _("Delete word"), wxDefaultPosition, wxDefaultSize, 0,
                           wxDefaultValidator, "delete");
    auto* about = new wxButton(this, wxID_ABOUT, _("About Accentor..."));
    buttons->Add(add_, 0, wxRIGHT, 10);
    buttons->Add(delete_, 0);
    buttons->AddStretchSpacer();
    buttons->Add(about, 0);
    sizer->Add(buttons, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 10);
    SetSizerAndFit(sizer);
    SetMinSize(GetSize());

    add_->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { AddWord(); });
    delete_->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { DeleteWords(); });
    about->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { ShowAbout(); });
    word_->Bind(wxEVT_TEXT_ENTER, [this](wxCommandEvent&) { AddWord(); });
    Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent& e) {
        SavePlacement();
        e.Skip();
    });

    RestorePlacement();
    store_.Open();
    Refill();
    word_->SetFocus();
}

AccentorDialog::~AccentorDialog() = default;

void AccentorDialog::Refill() {
    wxBusyCursor wait;
    list_->SetEntries(Merged(store_.Entries()));
}

void AccentorDialog::Beep() {
    ++beeps_;
    wxBell();
}

void AccentorDialog::AddWord() {
    const wxString typed = word_->GetValue();
    const wxString trimmed = wxString(typed).Trim(true).Trim(false);
    if (trimmed != typed) word_->ChangeValue(trimmed);
    Entry added;
    if (store_.Add(vox::wx::ToUtf8(trimmed), &added) != VocabularyStore::AddResult::Added) {
        Beep();
        return;
    }
    Refill();
    word_->Clear();
    const int index = list_->IndexOf(added.text);
    if (index != wxNOT_FOUND) {
        list_->SetSelection(index);
        list_->ScrollToRow(static_cast<size_t>(std::max(0, index - 5)));
    }
    word_->SetFocus();
    TellAppendFailureOnce();
}

void AccentorDialog::DeleteWords() {
    const wxString typed = word_->GetValue();
    if (!wxString(typed).Trim(true).Trim(false).empty()) {
        store_.Remove(vox::wx::ToUtf8(typed));
        Refill();
        word_->Clear();
    } else {
        store_.RemoveEntries(list_->SelectedTexts());
        Refill();
    }
    TellAppendFailureOnce();
}

void AccentorDialog::TellAppendFailureOnce() {
    if (!store_.TakeAppendFailureNotice()) return;
    vox::MessageBox(vox::wx::ToUtf8(_("Stress vocabulary")),
                    vox::wx::ToUtf8(wxString::Format(
                        _("The vocabulary file cannot be written (%s). Changes are kept until "
                          "the editor closes."),
                        vox::wx::FromUtf8(store_.AppendError()))),
                    vox::MessageIcon::Warning);
}

void AccentorDialog::ShowAbout() {
    wxMessageBox(_("Accentor Version 1.0"), _("About Accentor"), wxOK | wxICON_INFORMATION, this);
}

void AccentorDialog::RestorePlacement() {
    vox::reg::Key key;
    if (vox::reg::Key::Open(vox::reg::Root::CurrentUser, kPlacementKey, key) !=
        vox::reg::Status::Ok)
        return;
    uint32_t x = 0, y = 0, w = 0, h = 0;
    if (key.QueryDword("X", x) != vox::reg::Status::Ok ||
        key.QueryDword("Y", y) != vox::reg::Status::Ok ||
        key.QueryDword("Width", w) != vox::reg::Status::Ok ||
        key.QueryDword("Height", h) != vox::reg::Status::Ok)
        return;
    wxRect rect(static_cast<int>(x), static_cast<int>(y), static_cast<int>(w), static_cast<int>(h));
    const wxSize min = GetMinSize();
    rect.width = std::max(rect.width, min.x);
    rect.height = std::max(rect.height, min.y);
    // A placement from a larger or vanished screen is not restored.
    if (wxDisplay::GetFromPoint(rect.GetTopLeft()) == wxNOT_FOUND) return;
    SetSize(rect);
}

void AccentorDialog::SavePlacement() {
    const wxRect rect = GetRect();
    vox::reg::Edit(vox::reg::Root::CurrentUser, [&](vox::reg::Hive& hive) {
        const std::string path = vox::reg::HivePath(vox::reg::Root::CurrentUser, kPlacementKey);
        hive.SetValue(path, vox::reg::MakeDword("X", static_cast<uint32_t>(std::max(0, rect.x))));
        hive.SetValue(path, vox::reg::MakeDword("Y", static_cast<uint32_t>(std::max(0, rect.y))));
        hive.SetValue(path, vox::reg::MakeDword("Width", static_cast<uint32_t>(rect.width)));
        hive.SetValue(path, vox::reg::MakeDword("Height", static_cast<uint32_t>(rect.height)));
        return vox::reg::Status::Ok;
    });
}

}  // namespace accentor
