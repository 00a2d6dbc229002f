#include "gui/GuiSupport.h"

#include <dlfcn.h>
#include <wx/app.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/notebook.h>
#include <wx/propgrid/manager.h>
#include <wx/radiobut.h>
#include <wx/slider.h>
#include <wx/spinctrl.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/utils.h>
#include <wx/vlbox.h>

#include <cstdlib>
#include <filesystem>

#include "platform/wx/WxSupport.h"

namespace vox::test {

void Pump(int ms) {
    for (int waited = 0; waited < ms; waited += 10) {
        wxTheApp->Yield(true);
        wxMilliSleep(10);
    }
    wxTheApp->Yield(true);
}

namespace {

void Send(wxWindow* window, wxCommandEvent& event) {
    event.SetEventObject(window);
    event.SetId(window->GetId());
    window->GetEventHandler()->ProcessEvent(event);
}

}  // namespace

void Click(wxButton* button) {
    wxCommandEvent e(wxEVT_BUTTON);
    Send(button, e);
}

void SetCheck(wxCheckBox* box, bool on) {
    box->SetValue(on);
    wxCommandEvent e(wxEVT_CHECKBOX);
    e.SetInt(on ? 1 : 0);
    Send(box, e);
}

void Choose(wxRadioButton* radio) {
    radio->SetValue(true);
    wxCommandEvent e(wxEVT_RADIOBUTTON);
    e.SetInt(1);
    Send(radio, e);
}

void Slide(wxSlider* slider, int value) {
    slider->SetValue(value);
    wxCommandEvent e(wxEVT_SLIDER);
    e.SetInt(value);
    Send(slider, e);
}

void Spin(wxSpinCtrl* spin, int value) {
    spin->SetValue(value);
    wxSpinEvent e(wxEVT_SPINCTRL, spin->GetId());
    e.SetPosition(spin->GetValue());
    e.SetEventObject(spin);
    spin->GetEventHandler()->ProcessEvent(e);
}

// GDK reads the window back from the X server. Its functions are already
// loaded with wxWidgets' GTK port; no GTK headers are needed.
wxImage Capture(wxWindow* window) {
    using GetWindow = void* (*)(void*);
    using FromWindow = void* (*)(void*, int, int, int, int);
    using IntOf = int (*)(const void*);
    using PixelsOf = unsigned char* (*)(const void*);
    using Unref = void (*)(void*);
    auto getWindow = reinterpret_cast<GetWindow>(dlsym(RTLD_DEFAULT, "gtk_widget_get_window"));
    auto fromWindow =
        reinterpret_cast<FromWindow>(dlsym(RTLD_DEFAULT, "gdk_pixbuf_get_from_window"));
    auto width = reinterpret_cast<IntOf>(dlsym(RTLD_DEFAULT, "gdk_pixbuf_get_width"));
    auto height = reinterpret_cast<IntOf>(dlsym(RTLD_DEFAULT, "gdk_pixbuf_get_height"));
    auto stride = reinterpret_cast<IntOf>(dlsym(RTLD_DEFAULT, "gdk_pixbuf_get_rowstride"));
    auto channels = reinterpret_cast<IntOf>(dlsym(RTLD_DEFAULT, "gdk_pixbuf_get_n_channels"));
    auto pixels = reinterpret_cast<PixelsOf>(dlsym(RTLD_DEFAULT, "gdk_pixbuf_get_pixels"));
    auto unref = reinterpret_cast<Unref>(dlsym(RTLD_DEFAULT, "g_object_unref"));
    if (!getWindow || !fromWindow || !width || !height || !stride || !channels || !pixels || !unref)
        return wxImage();
    window->Update();
    Pump(50);
    const wxSize size = window->GetSize();
    void* gdkWindow = getWindow(window->GetHandle());
    if (gdkWindow == nullptr) return wxImage();
    void* pixbuf = fromWindow(gdkWindow, 0, 0, size.x, size.y);
    if (pixbuf == nullptr) return wxImage();
    const int w = width(pixbuf), h = height(pixbuf), rs = stride(pixbuf), n = channels(pixbuf);
    wxImage image(w, h);
    const unsigned char* src = pixels(pixbuf);
    unsigned char* dst = image.GetData();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            for (int c = 0; c < 3; ++c) dst[(y * w + x) * 3 + c] = src[y * rs + x * n + c];
    unref(pixbuf);
    return image;
}

std::string SaveScreenshot(wxWindow* window, const std::string& name) {
    static bool handlers = false;
    if (!handlers) {
        wxImage::AddHandler(new wxPNGHandler);
        handlers = true;
    }
    const std::filesystem::path dir =
        std::filesystem::path(VOXAMEN_BIN_DIR).parent_path() / "screenshots";
    std::filesystem::create_directories(dir);
    const std::string path = (dir / (name + ".png")).string();
    wxImage image = Capture(window);
    if (!image.IsOk() || !image.SaveFile(wxString::FromUTF8(path), wxBITMAP_TYPE_PNG)) return {};
    return path;
}

namespace {

std::string Describe(wxWindow* w) {
    std::string text = vox::wx::ToUtf8(w->GetClassInfo()->GetClassName());
    text += " \"" + vox::wx::ToUtf8(w->GetName()) + "\"";
    const wxString label = w->GetLabel();
    if (!label.empty()) text += " '" + vox::wx::ToUtf8(label) + "'";
    return text;
}

// Composite controls are checked as a whole.
bool IsLeaf(wxWindow* w) {
    return dynamic_cast<wxPropertyGridManager*>(w) || dynamic_cast<wxSpinCtrl*>(w) ||
           dynamic_cast<wxChoice*>(w) || dynamic_cast<wxTextCtrl*>(w) ||
           dynamic_cast<wxVListBox*>(w) || dynamic_cast<wxSlider*>(w);
}

bool NeedsItsText(wxWindow* w) {
    return dynamic_cast<wxStaticText*>(w) || dynamic_cast<wxCheckBox*>(w) ||
           dynamic_cast<wxRadioButton*>(w) || dynamic_cast<wxButton*>(w);
}

void Check(wxWindow* parent, std::vector<std::string>& problems) {
    const wxSize client = parent->GetClientSize();
    std::vector<wxWindow*> shown;
    for (wxWindow* child : parent->GetChildren()) {
        if (!child->IsShown() || child->IsTopLevel()) continue;
        if (auto* book = dynamic_cast<wxNotebook*>(parent); book && child != book->GetCurrentPage())
            continue;
        shown.push_back(child);
        const wxRect r = child->GetRect();
        if (!dynamic_cast<wxNotebook*>(parent) &&
            (r.x < 0 || r.y < 0 || r.GetRight() >= client.x || r.GetBottom() >= client.y))
            problems.push_back(Describe(child) + " sticks out of " + Describe(parent));
        if (NeedsItsText(child)) {
            const wxSize best = child->GetBestSize();
            if (r.width + 1 < best.x || r.height + 1 < best.y)
                problems.push_back(Describe(child) + " is clipped");
        }
        if (!IsLeaf(child)) Check(child, problems);
    }
    for (size_t i = 0; i < shown.size(); ++i)
        for (size_t k = i + 1; k < shown.size(); ++k) {
            if (dynamic_cast<wxStaticBox*>(shown[i]) || dynamic_cast<wxStaticBox*>(shown[k]))
                continue;
            if (shown[i]->GetRect().Intersects(shown[k]->GetRect()))
                problems.push_back(Describe(shown[i]) + " overlaps " + Describe(shown[k]));
        }
}

}  // namespace

std::vector<std::string> LayoutProblems(wxWindow* window) {
    std::vector<std::string> problems;
    Check(window, problems);
    return problems;
}

void UseLanguage(const std::string& code) {
    setenv("LANGUAGE", code.c_str(), 1);
    setenv("VOXAMEN_LOCALE_DIR", VOXAMEN_LOCALE_DIR, 1);
    vox::wx::SetUpTranslations();
}

}  // namespace vox::test
