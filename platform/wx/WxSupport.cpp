#include "platform/wx/WxSupport.h"

#include <wx/filename.h>
#include <wx/msgdlg.h>
#include <wx/stdpaths.h>
#include <wx/translation.h>

#include <cstdlib>

#include "platform/CodePage.h"
#include "platform/Messages.h"
#include "platform/UiLanguage.h"

namespace vox::wx {

namespace {

void DialogSink(const std::string& caption, const std::string& text, MessageIcon icon) {
    const long style = icon == MessageIcon::Error     ? wxICON_ERROR
                       : icon == MessageIcon::Warning ? wxICON_WARNING
                                                      : wxICON_INFORMATION;
    wxMessageBox(FromUtf8(text), FromUtf8(caption), wxOK | style);
}

}  // namespace

bool SetUpTranslations() {
    auto* translations = new wxTranslations;
    wxTranslations::Set(translations);  // deletes the earlier one
    const std::string code = UserUiLanguageCode();
    if (code == "en") return false;
    if (const char* dir = std::getenv("VOXAMEN_LOCALE_DIR"); dir != nullptr && *dir != '\0')
        wxFileTranslationsLoader::AddCatalogLookupPathPrefix(wxString::FromUTF8(dir));
    wxFileName exe(wxStandardPaths::Get().GetExecutablePath());
    exe.RemoveLastDir();
    wxFileTranslationsLoader::AddCatalogLookupPathPrefix(exe.GetPath() + "/share/locale");
    translations->SetLanguage(wxString::FromUTF8(code));
    return translations->AddCatalog(kCatalogue) && translations->IsLoaded(kCatalogue);
}

void InstallDialogMessageSink() {
    SetMessageSink(DialogSink);
}

wxString FromUtf8(const std::string& text) {
    return wxString::FromUTF8(text.data(), text.size());
}

wxString From1251(const std::string& text) {
    return FromUtf8(Cp1251ToUtf8(text));
}

std::string ToUtf8(const wxString& text) {
    const wxScopedCharBuffer utf8 = text.utf8_str();
    return std::string(utf8.data(), utf8.length());
}

}  // namespace vox::wx
