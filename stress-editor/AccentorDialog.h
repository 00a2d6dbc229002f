// The stress editor's one dialog: the vocabulary list with every stressed
// letter drawn in red, the word field, add and delete.
#pragma once

#include <wx/dialog.h>
#include <wx/vlbox.h>

#include <string>
#include <vector>

#include "stress-editor/VocabularyStore.h"

class wxTextCtrl;
class wxButton;

namespace accentor {

// Entries drawn in three parts: before the stressed letter, the letter (red),
// the rest. Multiple selection.
class VocabularyList : public wxVListBox {
  public:
    explicit VocabularyList(wxWindow* parent);
    void SetEntries(std::vector<Entry> entries);
    const std::vector<Entry>& Entries() const { return entries_; }
    int IndexOf(const std::string& text) const;
    std::vector<std::string> SelectedTexts() const;

  private:
    void OnDrawItem(wxDC& dc, const wxRect& rect, size_t n) const override;
    void OnDrawBackground(wxDC& dc, const wxRect& rect, size_t n) const override;
    wxCoord OnMeasureItem(size_t n) const override;

    std::vector<Entry> entries_;
};

class AccentorDialog : public wxDialog {
  public:
    explicit AccentorDialog(wxWindow* parent = nullptr);
    ~AccentorDialog() override;

    // The two commands, as the buttons run them.
    void AddWord();
    void DeleteWords();

    VocabularyStore& Store() { return store_; }
    VocabularyList* List() { return list_; }
    wxTextCtrl* WordField() { return word_; }
    wxButton* AddButton() { return add_; }
    wxButton* DeleteButton() { return delete_; }
    // Warning beeps given so far (invalid input).
    int Beeps() const { return beeps_; }

  private:
    void Refill();
    void Beep();
    void TellAppendFailureOnce();
    void RestorePlacement();
    void SavePlacement();
    void ShowAbout();

    VocabularyStore store_;
    VocabularyList* list_ = nullptr;
    wxTextCtrl* word_ = nullptr;
    wxButton* add_ = nullptr;
    wxButton* delete_ = nullptr;
    int beeps_ = 0;
};

// The window placement's registry key (HKCU).
inline constexpr const char* kPlacementKey = "Software\\Vostrelin\\Vostrelin Accentor";
// The named mutex of the single instance.
inline constexpr const char* kInstanceName = "Vostrelin Accentor application";

}  // namespace accentor
