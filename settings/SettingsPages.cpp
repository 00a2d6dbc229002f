#include "settings/SettingsPages.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/dcbuffer.h>
#include <wx/dcmemory.h>
#include <wx/propgrid/advprops.h>
#include <wx/propgrid/manager.h>
#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/slider.h>
#include <wx/spinctrl.h>
#include <wx/statbmp.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/timer.h>
#include <wx/utils.h>

#include <algorithm>
#include <cmath>

#include "engine/EngineUI.h"
#include "interfaces/IVoxamen.h"
#include "platform/ComBinding.h"
#include "platform/Messages.h"
#include "platform/Process.h"
#include "platform/Registry.h"
#include "platform/wx/WxSupport.h"

namespace setvane {

namespace {

constexpr int kBorder = 8;

double RoundTo(double value, int decimals) {
    const double scale = std::pow(10.0, decimals);
    return std::round(value * scale) / scale;
}

wxString RangeText(const Range& range) {
    return wxString::Format(_("Allowed values: %s to %s."),
                            wxString::FromCDouble(range.min, range.decimals),
                            wxString::FromCDouble(range.max, range.decimals));
}

// A number shown with a fixed count of decimals ("%0.3f"), trailing zeros
// included, always with a decimal point.
class FixedFloatProperty : public wxFloatProperty {
  public:
    FixedFloatProperty(const wxString& label, const wxString& name, int decimals)
        : wxFloatProperty(label, name), decimals_(decimals) {
        SetAttribute(wxPG_FLOAT_PRECISION, decimals);
    }
    wxString ValueToString(wxVariant& value, int) const override {
        return value.IsNull() ? wxString() : wxString::FromCDouble(value.GetDouble(), decimals_);
    }

  private:
    int decimals_;
};

// Binds a check box to a switch of the record.
wxCheckBox* SwitchBox(wxWindow* parent, const wxString& label, const wxString& name,
                      std::function<bool&()> field, std::function<void()> changed) {
    auto* box = new wxCheckBox(parent, wxID_ANY, label, wxDefaultPosition, wxDefaultSize, 0,
                               wxDefaultValidator, name);
    box->Bind(wxEVT_CHECKBOX, [field, changed](wxCommandEvent& e) {
        field() = e.IsChecked();
        changed();
    });
    return box;
}

}  // namespace

SettingsPage::SettingsPage(wxWindow* parent, const wxString& name, VoiceSettings& settings,
                           std::function<void()> changed)
    : wxPanel(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxTAB_TRAVERSAL, name),
      settings_(settings),
      changed_(std::move(changed)) {}

// ---- Engine ---------------------------------------------------------------

EnginePage::EnginePage(wxWindow* parent, VoiceSettings& settings, std::function<void()> changed)
    : SettingsPage(parent, "engine", settings, std::move(changed)) {
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    auto* debug = new wxStaticBoxSizer(wxVERTICAL, this, _("Debug verbosity"));
    auto* debugRow = new wxBoxSizer(wxHORIZONTAL);
    verbosity_ =
        new wxSlider(debug->GetStaticBox(), wxID_ANY, 0, 0, 2, wxDefaultPosition, wxSize(160, -1),
                     wxSL_HORIZONTAL | wxSL_AUTOTICKS, wxDefaultValidator, "verbosity");
    verbosityText_ = new wxStaticText(debug->GetStaticBox(), wxID_ANY, wxString(),
                                      wxDefaultPosition, wxDefaultSize, 0, "verbosityText");
    debugRow->Add(verbosity_, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, kBorder);
    debugRow->Add(verbosityText_, 1, wxALIGN_CENTER_VERTICAL);
    debug->Add(debugRow, 0, wxEXPAND | wxALL, kBorder);
    sizer->Add(debug, 0, wxEXPAND | wxALL, kBorder);
    verbosity_->Bind(wxEVT_SLIDER, [this](wxCommandEvent&) {
        Record().debugVerbosity = verbosity_->GetValue();
        ShowVerbosity();
        Changed();
    });

    auto changedFn = [this] { Changed(); };
    auto& r = settings_;
    rhytmics_ = SwitchBox(
        this, _("Rhytmics"), "rhytmics", [&r]() -> bool& { return r.Record().rhytmicsEnabled; },
        changedFn);
    ampContour_ = SwitchBox(
        this, _("Amplitude contour"), "ampContour",
        [&r]() -> bool& { return r.Record().useAmpContour; }, changedFn);
    ampProsody_ = SwitchBox(
        this, _("Prosody by amplitude"), "ampProsody",
        [&r]() -> bool& { return r.Record().useAmpProsody; }, changedFn);
    freqProsody_ = SwitchBox(
        this, _("Prosody by frequency"), "freqProsody",
        [&r]() -> bool& { return r.Record().useFreqProsody; }, changedFn);
    for (wxCheckBox* box : {rhytmics_, ampContour_, ampProsody_, freqProsody_})
        sizer->Add(box, 0, wxLEFT | wxRIGHT | wxBOTTOM, kBorder);

    auto* into = new wxStaticBoxSizer(wxVERTICAL, this, _("Intonation"));
    wxWindow* box = into->GetStaticBox();
    intonation_ = SwitchBox(
        box, _("Use intonation"), "intonation",
        [&r]() -> bool& { return r.Record().intonationEnabled; },
        [this] {
            EnableIntonation();
            Changed();
        });
    into->Add(intonation_, 0, wxALL, kBorder);
    relative_ = new wxRadioButton(box, wxID_ANY, _("Relative"), wxDefaultPosition, wxDefaultSize,
                                  wxRB_GROUP, wxDefaultValidator, "relative");
    absolute_ = new wxRadioButton(box, wxID_ANY, _("Absolute in range"), wxDefaultPosition,
                                  wxDefaultSize, 0, wxDefaultValidator, "absolute");
    into->Add(relative_, 0, wxLEFT | wxRIGHT | wxBOTTOM, kBorder);
    auto* range = new wxBoxSizer(wxHORIZONTAL);
    const auto& fr = kIntonationFrequencyRange;
    low_ = new wxSpinCtrl(box, wxID_ANY, wxString(), wxDefaultPosition, wxSize(120, -1),
                          wxSP_ARROW_KEYS, int(fr.min), int(fr.max), 100, "lowFreq");
    high_ = new wxSpinCtrl(box, wxID_ANY, wxString(), wxDefaultPosition, wxSize(120, -1),
                           wxSP_ARROW_KEYS, int(fr.min), int(fr.max), 200, "highFreq");
    range->Add(absolute_, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, kBorder);
    range->Add(low_, 0, wxALIGN_CENTER_VERTICAL);
    range->Add(new wxStaticText(box, wxID_ANY, "-"), 0, wxALIGN_CENTER_VERTICAL | wxLEFT | wxRIGHT,
               kBorder);
    range->Add(high_, 0, wxALIGN_CENTER_VERTICAL);
    range->Add(new wxStaticText(box, wxID_ANY, _("Hz")), 0, wxALIGN_CENTER_VERTICAL | wxLEFT,
               kBorder);
    into->Add(range, 0, wxLEFT | wxRIGHT | wxBOTTOM, kBorder);
    newIntonation_ = SwitchBox(
        box, _("New algorithm"), "newIntonation",
        [&r]() -> bool& { return r.Record().useNewIntonation; }, changedFn);
    into->Add(newIntonation_, 0, wxLEFT | wxRIGHT | wxBOTTOM, kBorder);
    sizer->Add(into, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, kBorder);

    auto radio = [this](wxCommandEvent&) {
        Record().useAbsoluteIntonation = absolute_->GetValue();
        EnableIntonation();
        Changed();
    };
    relative_->Bind(wxEVT_RADIOBUTTON, radio);
    absolute_->Bind(wxEVT_RADIOBUTTON, radio);
    low_->Bind(wxEVT_SPINCTRL, [this](wxSpinEvent&) {
        Record().intonationLowFreq = low_->GetValue();
        Changed();
    });
    high_->Bind(wxEVT_SPINCTRL, [this](wxSpinEvent&) {
        Record().intonationHighFreq = high_->GetValue();
        Changed();
    });
    SetSizer(sizer);
}

void EnginePage::Load() {
    const auto& r = Record();
    verbosity_->SetValue(std::clamp(r.debugVerbosity, 0, 2));
    ShowVerbosity();
    rhytmics_->SetValue(r.rhytmicsEnabled);
    ampContour_->SetValue(r.useAmpContour);
    ampProsody_->SetValue(r.useAmpProsody);
    freqProsody_->SetValue(r.useFreqProsody);
    intonation_->SetValue(r.intonationEnabled);
    (r.useAbsoluteIntonation ? absolute_ : relative_)->SetValue(true);
    low_->SetValue(r.intonationLowFreq);
    high_->SetValue(r.intonationHighFreq);
    newIntonation_->SetValue(r.useNewIntonation);
    EnableIntonation();
}

void EnginePage::ShowVerbosity() {
    static const char* const texts[] = {N_("No messages"), N_("Only critical"), N_("All messages")};
    verbosityText_->SetLabel(vox::wx::Translate(texts[verbosity_->GetValue()]));
}

void EnginePage::EnableIntonation() {
    const bool on = intonation_->GetValue();
    relative_->Enable(on);
    absolute_->Enable(on);
    newIntonation_->Enable(on);
    low_->Enable(on && absolute_->GetValue());
    high_->Enable(on && absolute_->GetValue());
}

// ---- Tools ----------------------------------------------------------------

ToolsPage::ToolsPage(wxWindow* parent, VoiceSettings& settings, std::function<void()> changed)
    : SettingsPage(parent, "tools", settings, std::move(changed)) {
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    vocabulary_ = new wxButton(this, wxID_ANY, _("Personal stress vocabulary"), wxDefaultPosition,
                               wxDefaultSize, 0, wxDefaultValidator, "vocabulary");
    sizer->Add(vocabulary_, 0, wxEXPAND | wxALL, kBorder);
    for (const wxString& label :
         {_("Intonation contour editor"), _("Lexicon editor"), wxString()}) {
        auto* button = new wxButton(this, wxID_ANY, label);
        button->Disable();
        sizer->Add(button, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, kBorder);
    }
    vocabulary_->Disable();
    vocabulary_->Bind(wxEVT_BUTTON, [](wxCommandEvent&) {
        vox::reg::Key key;
        if (vox::reg::Key::Open(vox::reg::Root::LocalMachine, vox::kProgramPathsKey, key) !=
            vox::reg::Status::Ok)
            return;
        std::string program;
        if (key.QueryText("Accentor", program, 260) != vox::reg::Status::Ok || program.empty())
            return;
        std::string error;
        if (!vox::StartProgram(program, {"."}, &error))
            vox::MessageBox("Vostrelin TTS settings", error);
    });
    SetSizer(sizer);
}

void ToolsPage::Load() {
    wxBusyCursor wait;
    int32_t supported = 0;
    IVoxamen* engine = nullptr;
    if (settings_.Current() >= 0 &&
        CoCreateInstance(CLSID_Voxamen, nullptr,
                         CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER,
                         IID_IVoxamen, reinterpret_cast<void**>(&engine)) == S_OK &&
        engine != nullptr) {
        const std::string& key = settings_.Voices()[size_t(settings_.Current())].key;
        if (engine->IsUISupported(key.c_str(), vox::kAccentorVocabularyUI, &supported) != S_OK)
            supported = 0;
        engine->Release();
    }
    vocabulary_->Enable(supported != 0);
}

// ---- Grid pages -----------------------------------------------------------

GridPage::GridPage(wxWindow* parent, const wxString& name, VoiceSettings& settings,
                   std::function<void()> changed)
    : SettingsPage(parent, name, settings, std::move(changed)) {
    auto* manager = new wxPropertyGridManager(
        this, wxID_ANY, wxDefaultPosition, wxSize(460, 330),
        wxPG_DESCRIPTION | wxPG_SPLITTER_AUTO_CENTER | wxPG_TOOLTIPS, name + "Grid");
    manager->SetDescBoxHeight(64);
    grid_ = manager->GetGrid();
    grid_->SetValidationFailureBehavior(wxPG_VFB_STAY_IN_PROPERTY | wxPG_VFB_BEEP |
                                        wxPG_VFB_MARK_CELL);
    hint_ =
        new wxStaticText(this, wxID_ANY, wxString(), wxDefaultPosition, wxDefaultSize, 0, "hint");
    hint_->SetForegroundColour(wxColour(176, 0, 0));
    // The grid sends its events through the manager.
    manager->Bind(wxEVT_PG_CHANGING, [this](wxPropertyGridEvent& e) {
        const Item* item = Find(e.GetProperty());
        if (item != nullptr && !Accept(*item, e.GetValue())) e.Veto();
    });
    manager->Bind(wxEVT_PG_CHANGED, [this](wxPropertyGridEvent& e) {
        const Item* item = Find(e.GetProperty());
        if (item == nullptr) return;
        const wxVariant value = item->property->GetValue();
        if (!Accept(*item, value)) {  // never written: show the record's value again
            item->property->SetValue(item->get(Record()));
            return;
        }
        item->set(Record(), value);
        item->property->SetValue(item->get(Record()));
        Changed();
    });
}

void GridPage::Finish(wxWindow* above) {
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    if (above != nullptr) sizer->Add(above, 0, wxALL, kBorder);
    sizer->Add(grid_->GetParent(), 1, wxEXPAND | wxLEFT | wxRIGHT | (above ? 0 : wxTOP), kBorder);
    sizer->Add(hint_, 0, wxEXPAND | wxALL, kBorder);
    SetSizer(sizer);
}

const GridPage::Item* GridPage::Find(wxPGProperty* property) const {
    for (const Item& item : items_)
        if (item.property == property) return &item;
    return nullptr;
}

bool GridPage::Accept(const Item& item, const wxVariant& value) {
    if (!item.range) return true;
    double number = 0;
    if (value.GetType() == "double")
        number = RoundTo(value.GetDouble(), item.range->decimals);
    else if (value.GetType() == "long")
        number = static_cast<double>(value.GetLong());
    else
        return false;
    if (item.range->Contains(number)) {
        hint_->SetLabel(wxString());
        return true;
    }
    hint_->SetLabel(
        wxString::Format(_("%s: %s"), item.property->GetLabel(), RangeText(*item.range)));
    return false;
}

void GridPage::Load() {
    for (const Item& item : items_) item.property->SetValue(item.get(Record()));
    hint_->SetLabel(wxString());
    grid_->ClearModifiedStatus();
    // The first item is selected, so that its help text shows.
    if (!items_.empty() && grid_->GetSelection() == nullptr)
        grid_->SelectProperty(items_.front().property);
}

void GridPage::AddItem(wxPGProperty* property,
                       std::function<wxVariant(const vox::VoiceProperties&)> get,
                       std::function<void(vox::VoiceProperties&, const wxVariant&)> set,
                       std::optional<Range> range) {
    items_.push_back({property, std::move(get), std::move(set), range});
}

wxPGProperty* GridPage::AddInt(const wxString& label, const wxString& name,
                               int32_t vox::VoiceProperties::*field, Range range,
                               const wxString& help) {
    wxPGProperty* p = grid_->Append(new wxIntProperty(label, name));
    if (!help.empty()) p->SetHelpString(help);
    AddItem(
        p, [field](const vox::VoiceProperties& r) { return wxVariant(long(r.*field)); },
        [field](vox::VoiceProperties& r, const wxVariant& v) {
            r.*field = static_cast<int32_t>(v.GetLong());
        },
        range);
    return p;
}

wxPGProperty* GridPage::AddFloat(const wxString& label, const wxString& name,
                                 double vox::VoiceProperties::*field, Range range,
                                 const wxString& help) {
    wxPGProperty* p = grid_->Append(new FixedFloatProperty(label, name, range.decimals));
    if (!help.empty()) p->SetHelpString(help);
    AddItem(
        p, [field](const vox::VoiceProperties& r) { return wxVariant(r.*field); },
        [field, range](vox::VoiceProperties& r, const wxVariant& v) {
            r.*field = RoundTo(v.GetDouble(), range.decimals);
        },
        range);
    return p;
}

wxPGProperty* GridPage::AddSwitch(const wxString& label, const wxString& name,
                                  bool vox::VoiceProperties::*field, const wxString& on,
                                  const wxString& off, const wxString& help) {
    wxPGChoices choices;
    choices.Add(on, 1);
    choices.Add(off, 0);
    wxPGProperty* p = grid_->Append(new wxEnumProperty(label, name, choices, 1));
    if (!help.empty()) p->SetHelpString(help);
    AddItem(
        p, [field](const vox::VoiceProperties& r) { return wxVariant(long(r.*field ? 1 : 0)); },
        [field](vox::VoiceProperties& r, const wxVariant& v) { r.*field = v.GetLong() != 0; });
    return p;
}

// ---- Pauses ---------------------------------------------------------------

PausesPage::PausesPage(wxWindow* parent, VoiceSettings& settings, std::function<void()> changed)
    : GridPage(parent, "pauses", settings, std::move(changed)) {
    auto* defaults = new wxButton(this, wxID_ANY, _("Default"), wxDefaultPosition, wxDefaultSize, 0,
                                  wxDefaultValidator, "default");
    defaults->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
        settings_.DefaultPauses();
        GridPage::Load();
        Changed();
    });
    Build();
    Finish(defaults);
}

void PausesPage::Build() {
    grid_->Clear();
    items_.clear();
    grid_->Append(new wxPropertyCategory(_("Noise"), "noise"));
    AddSwitch(_("Fill pauses with noise"), "NoiseFill", &vox::VoiceProperties::noiseFill, _("On"),
              _("Off"), _("Fill pauses with noise or leave silence."));
    AddInt(_("Noise volume"), "NoiseLevel", &vox::VoiceProperties::noiseLevel, kNoiseLevelRange,
           wxString());
    grid_->Append(new wxPropertyCategory(_("Durations"), "durations"));
    AddInt(_("Duration unit (msec)"), "DurationUnit", &vox::VoiceProperties::durationUnit,
           kDurationUnitRange, wxString());
    for (const std::string& mark : PauseMarksToShow(Record().pauses)) {
        wxString help;
        for (const PauseMarkItem& item : PauseMarkItems())
            if (mark == item.mark && *item.help != '\0') help = vox::wx::Translate(item.help);
        wxPGProperty* p = grid_->Append(
            new FixedFloatProperty(vox::wx::FromUtf8(mark), mark, kPauseFactorRange.decimals));
        if (!help.empty()) p->SetHelpString(help);
        AddItem(
            p,
            [mark](const vox::VoiceProperties& r) {
                auto it = r.pauses.find(mark);
                return wxVariant(it != r.pauses.end() ? it->second : 0.0);
            },
            [mark](vox::VoiceProperties& r, const wxVariant& v) {
                r.pauses[mark] = RoundTo(v.GetDouble(), kPauseFactorRange.decimals);
            },
            kPauseFactorRange);
    }
}

void PausesPage::Load() {
    // Another voice may hold other marks.
    if (items_.size() != 3 + PauseMarksToShow(Record().pauses).size()) Build();
    GridPage::Load();
}

// ---- Chambrel -------------------------------------------------------------

ChambrelPage::ChambrelPage(wxWindow* parent, VoiceSettings& settings, std::function<void()> changed)
    : GridPage(parent, "chambrel", settings, std::move(changed)) {
    auto& r = settings_;
    use_ = SwitchBox(
        this, _("Use Chambrel™"), "useChambrel",
        [&r]() -> bool& { return r.Record().chambrelEnabled; }, [this] { Changed(); });
    grid_->Append(new wxPropertyCategory(_("Parameters"), "parameters"));
    AddSwitch(_("Voice type"), "IsMale", &vox::VoiceProperties::chambrelIsMale, _("Male"),
              _("Female"), _("Voice type: male or female."));
    AddFloat(_("Depth"), "Depth", &vox::VoiceProperties::chambrelDepth, kChambrelRange,
             _("Head size (0.001..1)."));
    AddFloat(_("Feedback"), "Feedback", &vox::VoiceProperties::chambrelFeedback, kChambrelRange,
             _("Room interference effect via sound reflexions (0.001..1)."));
    Finish(use_);
}

void ChambrelPage::Load() {
    use_->SetValue(Record().chambrelEnabled);
    GridPage::Load();
}

// ---- Reverberation --------------------------------------------------------

ReverberationPage::ReverberationPage(wxWindow* parent, VoiceSettings& settings,
                                     std::function<void()> changed)
    : GridPage(parent, "reverberation", settings, std::move(changed)) {
    using P = vox::VoiceProperties;
    auto& r = settings_;
    use_ = SwitchBox(
        this, _("Use reverberation"), "useReverberation",
        [&r]() -> bool& { return r.Record().reverEnabled; }, [this] { Changed(); });
    grid_->Append(new wxPropertyCategory(_("Parameters"), "parameters"));
    AddSwitch(_("Internal filter"), "UseFilter", &P::reverUseFilter, _("On"), _("Off"),
              _("Additional filtration for reflected sounds."));
    wxPGChoices types;
    types.Add(_("Low pass"), 1);
    types.Add(_("High pass"), 2);
    types.Add(_("Band pass"), 3);
    types.Add(_("Band stop"), 4);
    wxPGProperty* type =
        grid_->Append(new wxEnumProperty(_("Filter type"), "FilterType", types, 3));
    type->SetHelpString(_("Filter type: lowpass, highpass, bandpass or bandstop."));
    AddItem(
        type, [](const P& p) { return wxVariant(long(p.reverFilterType)); },
        [](P& p, const wxVariant& v) { p.reverFilterType = static_cast<int32_t>(v.GetLong()); });
    AddInt(_("Low frequency"), "FilterLow", &P::reverFilterLow, kReverFrequencyRange,
           _("Filter parameters."));
    AddInt(_("High frequency"), "FilterHigh", &P::reverFilterHigh, kReverFrequencyRange,
           _("Filter parameters."));
    AddFloat(_("Delay"), "Delay", &P::reverDelay, kReverDelayRange,
             _("Delay time in seconds (0.001..0.5)."));
    AddInt(_("Number of delays"), "NumDelays", &P::reverNumDelays, kReverDelaysRange,
           _("Number of parallel delay lines (1..10)."));
    AddFloat(_("Feedback"), "Feedback", &P::reverFeedback, kReverLevelRange,
             _("Value of feedback (0..1)."));
    AddFloat(_("Source signal"), "SourceAmount", &P::reverSourceAmount, kReverLevelRange,
             _("Source signal level (0..1)."));
    AddFloat(_("Delayed signal"), "DelayAmount", &P::reverDelayAmount, kReverLevelRange,
             _("Delayed signal level (0..1)."));
    Finish(use_);
}

void ReverberationPage::Load() {
    use_->SetValue(Record().reverEnabled);
    GridPage::Load();
}

// ---- Filter ---------------------------------------------------------------

namespace {

// A small picture of a filter type's magnitude response.
wxBitmap ResponsePicture(int type) {
    const int w = 56, h = 32;
    wxBitmap bitmap(w, h);
    wxMemoryDC dc(bitmap);
    dc.SetBackground(*wxWHITE_BRUSH);
    dc.Clear();
    dc.SetPen(wxPen(wxColour(160, 160, 160)));
    dc.DrawLine(2, h - 3, w - 2, h - 3);
    dc.DrawLine(3, 2, 3, h - 2);
    dc.SetPen(wxPen(wxColour(0, 70, 160), 2));
    wxPoint points[w];
    for (int x = 0; x < w - 6; ++x) {
        const double f = double(x) / (w - 7);
        auto pass = [](double edge, double at) { return 1.0 / (1.0 + std::pow(at / edge, 8)); };
        double g = 0;
        switch (type) {
            case 1:
                g = pass(0.45, f);
                break;
            case 2:
                g = 1.0 - pass(0.55, f);
                break;
            case 3:
                g = (1.0 - pass(0.3, f)) * pass(0.7, f);
                break;
            default:
                g = 1.0 - (1.0 - pass(0.3, f)) * pass(0.7, f);
                break;
        }
        points[x] = wxPoint(4 + x, h - 4 - int(g * (h - 8)));
    }
    dc.DrawLines(w - 6, points);
    dc.SelectObject(wxNullBitmap);
    return bitmap;
}

const char* const kFilterTypeNames[] = {N_("Low pass"), N_("High pass"), N_("Band pass"),
                                        N_("Band stop")};

}  // namespace

FilterPage::FilterPage(wxWindow* parent, VoiceSettings& settings, std::function<void()> changed)
    : SettingsPage(parent, "filter", settings, std::move(changed)) {
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    auto& r = settings_;
    use_ = SwitchBox(
        this, _("Use filter"), "useFilter", [&r]() -> bool& { return r.Record().filterEnabled; },
        [this] {
            ShowType();
            Changed();
        });
    sizer->Add(use_, 0, wxALL, kBorder);
    auto* grid = new wxFlexGridSizer(2, wxSize(12, 6));
    for (int t = 0; t < 4; ++t) {
        types_[t] = new wxRadioButton(this, wxID_ANY, vox::wx::Translate(kFilterTypeNames[t]),
                                      wxDefaultPosition, wxDefaultSize, t == 0 ? wxRB_GROUP : 0,
                                      wxDefaultValidator, wxString::Format("type%d", t + 1));
        grid->Add(new wxStaticBitmap(this, wxID_ANY, ResponsePicture(t + 1)), 0,
                  wxALIGN_CENTER_VERTICAL);
        grid->Add(types_[t], 0, wxALIGN_CENTER_VERTICAL);
        types_[t]->Bind(wxEVT_RADIOBUTTON, [this, t](wxCommandEvent&) {
            Record().filterType = t + 1;
            ShowType();
            Changed();
        });
    }
    sizer->Add(grid, 0, wxLEFT | wxRIGHT | wxBOTTOM, kBorder * 2);
    typeLine_ = new wxStaticText(this, wxID_ANY, wxString(), wxDefaultPosition, wxDefaultSize, 0,
                                 "typeLine");
    sizer->Add(typeLine_, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, kBorder);
    auto* fields = new wxFlexGridSizer(3, wxSize(8, 6));
    const auto& fr = kFilterFrequencyRange;
    lowCaption_ = new wxStaticText(this, wxID_ANY, _("From"), wxDefaultPosition, wxDefaultSize, 0,
                                   "lowCaption");
    low_ = new wxSpinCtrl(this, wxID_ANY, wxString(), wxDefaultPosition, wxSize(130, -1),
                          wxSP_ARROW_KEYS, int(fr.min), int(fr.max), 4000, "low");
    highCaption_ = new wxStaticText(this, wxID_ANY, _("To"), wxDefaultPosition, wxDefaultSize, 0,
                                    "highCaption");
    high_ = new wxSpinCtrl(this, wxID_ANY, wxString(), wxDefaultPosition, wxSize(130, -1),
                           wxSP_ARROW_KEYS, int(fr.min), int(fr.max), 4000, "high");
    fields->Add(lowCaption_, 0, wxALIGN_CENTER_VERTICAL);
    fields->Add(low_, 0, wxALIGN_CENTER_VERTICAL);
    fields->Add(new wxStaticText(this, wxID_ANY, _("Hz")), 0, wxALIGN_CENTER_VERTICAL);
    fields->Add(highCaption_, 0, wxALIGN_CENTER_VERTICAL);
    fields->Add(high_, 0, wxALIGN_CENTER_VERTICAL);
    fields->Add(
        new wxStaticText(this, wxID_ANY, _("Hz"), wxDefaultPosition, wxDefaultSize, 0, "highUnit"),
        0, wxALIGN_CENTER_VERTICAL);
    sizer->Add(fields, 0, wxLEFT | wxRIGHT | wxBOTTOM, kBorder * 2);
    low_->Bind(wxEVT_SPINCTRL, [this](wxSpinEvent&) {
        if (int32_t* f = LowField()) *f = low_->GetValue();
        Changed();
    });
    high_->Bind(wxEVT_SPINCTRL, [this](wxSpinEvent&) {
        if (int32_t* f = HighField()) *f = high_->GetValue();
        Changed();
    });
    SetSizer(sizer);
}

int32_t* FilterPage::LowField() {
    auto& r = Record();
    switch (r.filterType) {
        case 1:
            return &r.lowPassCutoff;
        case 2:
            return &r.highPassCutoff;
        case 3:
            return &r.bandPassF1;
        case 4:
            return &r.bandStopF1;
        default:
            return nullptr;
    }
}

int32_t* FilterPage::HighField() {
    auto& r = Record();
    switch (r.filterType) {
        case 3:
            return &r.bandPassF2;
        case 4:
            return &r.bandStopF2;
        default:
            return nullptr;
    }
}

void FilterPage::Load() {
    use_->SetValue(Record().filterEnabled);
    const int type = Record().filterType;
    if (type >= 1 && type <= 4) {
        types_[type - 1]->SetValue(true);
    } else {
        for (wxRadioButton* b : types_) b->SetValue(false);
    }
    ShowType();
}

void FilterPage::ShowType() {
    const int type = Record().filterType;
    const bool known = type >= 1 && type <= 4;
    typeLine_->SetLabel(wxString::Format(
        _("Type: %s"), known ? vox::wx::Translate(kFilterTypeNames[type - 1]) : _("unknown")));
    // Low pass: "To" only; high pass: "From" only; band types: both.
    lowCaption_->SetLabel(type == 1 ? _("To") : _("From"));
    if (int32_t* f = LowField()) low_->SetValue(*f);
    if (int32_t* f = HighField()) high_->SetValue(*f);
    const bool two = type == 3 || type == 4;
    highCaption_->Show(two);
    high_->Show(two);
    FindWindow("highUnit")->Show(two);
    const bool on = use_->GetValue();
    for (wxRadioButton* b : types_) b->Enable(on);
    low_->Enable(on && known);
    high_->Enable(on && two);
    Layout();
}

// ---- About ----------------------------------------------------------------

AboutPage::AboutPage(wxWindow* parent)
    : wxPanel(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize, 0, "about") {
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    timer_ = new wxTimer(this);
    Bind(wxEVT_PAINT, &AboutPage::OnPaint, this);
    Bind(wxEVT_TIMER, [this](wxTimerEvent&) {
        if (!IsShownOnScreen()) return;
        ++frame_;
        Refresh(false);
    });
    timer_->Start(50);
}

AboutPage::~AboutPage() {
    timer_->Stop();
    delete timer_;
}

void AboutPage::OnPaint(wxPaintEvent&) {
    wxAutoBufferedPaintDC dc(this);
    const wxSize size = GetClientSize();
    dc.GradientFillLinear(wxRect(size), wxColour(18, 32, 72), wxColour(60, 110, 190), wxSOUTH);
    // A voice's waveform drifting under the name: two voiced periods that
    // breathe in and out.
    const int mid = size.y * 2 / 3;
    const double phase = frame_ * 0.12;
    const int n = std::max(size.x, 0);
    std::vector<wxPoint> points(static_cast<size_t>(n));
    for (int x = 0; x < n; ++x) {
        const double t = x * 0.045 + phase;
        const double envelope = 0.55 + 0.45 * std::sin(frame_ * 0.05 + x * 0.006);
        const double y = (std::sin(t) + 0.5 * std::sin(2.7 * t) + 0.25 * std::sin(5.1 * t)) *
                         envelope * size.y * 0.12;
        points[size_t(x)] = wxPoint(x, mid + int(y));
    }
    dc.SetPen(wxPen(wxColour(255, 200, 80), 2));
    if (n > 1) dc.DrawLines(n, points.data());
    wxFont title = GetFont().Bold().Scaled(1.8f);
    dc.SetFont(title);
    dc.SetTextForeground(*wxWHITE);
    const wxString name = "Vostrelin TTS Engine 3.0";
    wxSize extent = dc.GetTextExtent(name);
    dc.DrawText(name, (size.x - extent.x) / 2, size.y / 6);
    dc.SetFont(GetFont());
    const wxString line = _("Settings of the Russian voices");
    extent = dc.GetTextExtent(line);
    dc.DrawText(line, (size.x - extent.x) / 2, size.y / 6 + title.GetPixelSize().y + 16);
}

}  // namespace setvane
