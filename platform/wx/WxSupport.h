// What the two desktop programs share on top of wxWidgets: the message sink
// that shows a real dialog, and the user-interface language taken from the
// environment through the gettext catalogue "voxamen" (English is built in;
// a missing catalogue leaves English). The process locale is never changed.
#pragma once

#include <wx/string.h>
#include <wx/translation.h>

#include <string>

// Messages are UTF-8 in the sources; wx's own _() would decode them with the
// process locale, which stays "C". The catalogue's keys are these texts.
#undef _
#define _(text) wxGetTranslation(wxString::FromUTF8(text))
// N_() (wx's) marks a message for the catalogue where it is defined;
// Translate() translates it where it is shown.

namespace vox::wx {

inline constexpr const char* kCatalogue = "voxamen";

// Loads the catalogue of the environment's language (LANGUAGE, LC_ALL,
// LC_MESSAGES, LANG), looked up in <program dir>/../share/locale and in
// VOXAMEN_LOCALE_DIR. Replaces any earlier setting; true when a catalogue
// other than the built-in English is in use.
bool SetUpTranslations();

// Message boxes become modal dialogs.
void InstallDialogMessageSink();

// A message marked with N_().
inline wxString Translate(const char* message) {
    return wxGetTranslation(wxString::FromUTF8(message));
}

// UTF-8 and Windows-1251 text as wx strings and back.
wxString FromUtf8(const std::string& text);
wxString From1251(const std::string& text);
std::string ToUtf8(const wxString& text);

}  // namespace vox::wx
