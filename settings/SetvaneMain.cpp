// setvane: the voices' settings. Arguments as the engine passes them (".",
// voice key) select the voice to show first.
#include <wx/app.h>
#include <wx/choice.h>
#include <wx/init.h>

#include "platform/UiLanguage.h"
#include "platform/wx/WxSupport.h"
#include "settings/SettingsSheet.h"

int main(int argc, char** argv) {
    wxApp::SetInstance(new wxApp);
    if (!wxEntryStart(argc, argv)) return 1;
    {
        vox::wx::SetUpTranslations();
        vox::wx::InstallDialogMessageSink();
        setvane::SettingsSheet sheet(nullptr, vox::UserDefaultUILanguage());
        if (argc >= 3) {
            const auto& voices = sheet.Settings().Voices();
            for (size_t i = 0; i < voices.size(); ++i)
                if (voices[i].key == argv[2]) sheet.SelectVoice(static_cast<int>(i));
        }
        sheet.ShowModal();
    }
    wxEntryCleanup();
    return 0;
}
