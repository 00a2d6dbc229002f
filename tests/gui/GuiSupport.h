// What the window tests share: pumping the event loop, driving controls the
// way a user's input does (the control changes, then its event is sent),
// screenshots, and a check of a window's layout.
#pragma once

#include <wx/image.h>
#include <wx/window.h>

#include <string>
#include <vector>

class wxButton;
class wxCheckBox;
class wxRadioButton;
class wxSlider;
class wxSpinCtrl;

namespace vox::test {

// Runs the event loop for about `ms` milliseconds.
void Pump(int ms = 150);

void Click(wxButton* button);
void SetCheck(wxCheckBox* box, bool on);
void Choose(wxRadioButton* radio);
void Slide(wxSlider* slider, int value);
void Spin(wxSpinCtrl* spin, int value);

// The window's pixels as the X server shows them.
wxImage Capture(wxWindow* window);
// Writes build/screenshots/<name>.png; returns the path.
std::string SaveScreenshot(wxWindow* window, const std::string& name);

// Controls that stick out of their parent, overlap a sibling or are smaller
// than their text needs; empty when the layout is sound.
std::vector<std::string> LayoutProblems(wxWindow* window);

// Switches the interface language ("en", "ru") for windows made afterwards.
void UseLanguage(const std::string& code);

template <class T>
T* Find(wxWindow* parent, const char* name) {
    return dynamic_cast<T*>(parent->FindWindow(name));
}

}  // namespace vox::test
