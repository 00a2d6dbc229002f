// The pages of the settings sheet. Each page shows the current voice's
// settings record and changes it as the user edits; `changed` tells the
// sheet that changes are pending.
#pragma once

#include <wx/panel.h>
#include <wx/propgrid/propgrid.h>

#include <functional>
#include <optional>
#include <vector>

#include "settings/VoiceSettings.h"

class wxCheckBox;
class wxRadioButton;
class wxSlider;
class wxSpinCtrl;
class wxStaticText;
class wxButton;
class wxTimer;

namespace setvane {

class SettingsPage : public wxPanel {
  public:
    SettingsPage(wxWindow* parent, const wxString& name, VoiceSettings& settings,
                 std::function<void()> changed);
    // Shows the record's values in the controls.
    virtual void Load() {}

  protected:
    vox::VoiceProperties& Record() { return settings_.Record(); }
    void Changed() { changed_(); }
    VoiceSettings& settings_;

  private:
    std::function<void()> changed_;
};

class EnginePage : public SettingsPage {
  public:
    EnginePage(wxWindow* parent, VoiceSettings& settings, std::function<void()> changed);
    void Load() override;

  private:
    void ShowVerbosity();
    void EnableIntonation();
    wxSlider* verbosity_;
    wxStaticText* verbosityText_;
    wxCheckBox *rhytmics_, *ampContour_, *ampProsody_, *freqProsody_;
    wxCheckBox *intonation_, *newIntonation_;
    wxRadioButton *relative_, *absolute_;
    wxSpinCtrl *low_, *high_;
};

class ToolsPage : public SettingsPage {
  public:
    ToolsPage(wxWindow* parent, VoiceSettings& settings, std::function<void()> changed);
    // Asks the engine whether the voice has a stress vocabulary.
    void Load() override;
    wxButton* VocabularyButton() { return vocabulary_; }

  private:
    wxButton* vocabulary_;
};

// A property grid bound to the record: each item reads and writes one
// setting; numbers outside their range are refused with a visible hint.
class GridPage : public SettingsPage {
  public:
    GridPage(wxWindow* parent, const wxString& name, VoiceSettings& settings,
             std::function<void()> changed);
    void Load() override;
    wxPropertyGrid* Grid() { return grid_; }
    wxStaticText* Hint() { return hint_; }

  protected:
    struct Item {
        wxPGProperty* property;
        std::function<wxVariant(const vox::VoiceProperties&)> get;
        std::function<void(vox::VoiceProperties&, const wxVariant&)> set;
        std::optional<Range> range;
    };
    void AddItem(wxPGProperty* property, std::function<wxVariant(const vox::VoiceProperties&)> get,
                 std::function<void(vox::VoiceProperties&, const wxVariant&)> set,
                 std::optional<Range> range = std::nullopt);
    wxPGProperty* AddInt(const wxString& label, const wxString& name,
                         int32_t vox::VoiceProperties::*field, Range range, const wxString& help);
    wxPGProperty* AddFloat(const wxString& label, const wxString& name,
                           double vox::VoiceProperties::*field, Range range, const wxString& help);
    wxPGProperty* AddSwitch(const wxString& label, const wxString& name,
                            bool vox::VoiceProperties::*field, const wxString& on,
                            const wxString& off, const wxString& help);
    // Lays out: optional control above, the grid, the hint.
    void Finish(wxWindow* above = nullptr);

    wxPropertyGrid* grid_;
    wxStaticText* hint_;
    std::vector<Item> items_;

  private:
    const Item* Find(wxPGProperty* property) const;
    bool Accept(const Item& item, const wxVariant& value);
};

class PausesPage : public GridPage {
  public:
    PausesPage(wxWindow* parent, VoiceSettings& settings, std::function<void()> changed);
    void Load() override;

  private:
    void Build();
};

class ChambrelPage : public GridPage {
  public:
    ChambrelPage(wxWindow* parent, VoiceSettings& settings, std::function<void()> changed);
    void Load() override;

  private:
    wxCheckBox* use_;
};

class ReverberationPage : public GridPage {
  public:
    ReverberationPage(wxWindow* parent, VoiceSettings& settings, std::function<void()> changed);
    void Load() override;

  private:
    wxCheckBox* use_;
};

class FilterPage : public SettingsPage {
  public:
    FilterPage(wxWindow* parent, VoiceSettings& settings, std::function<void()> changed);
    void Load() override;

  private:
    void ShowType();
    int32_t* LowField();
    int32_t* HighField();
    wxCheckBox* use_;
    wxRadioButton* types_[4];
    wxStaticText* typeLine_;
    wxStaticText *lowCaption_, *highCaption_;
    wxSpinCtrl *low_, *high_;
};

class AboutPage : public wxPanel {
  public:
    explicit AboutPage(wxWindow* parent);
    ~AboutPage() override;

  private:
    void OnPaint(wxPaintEvent&);
    wxTimer* timer_;
    int frame_ = 0;
};

}  // namespace setvane
