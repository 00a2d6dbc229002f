// accentor: the user stress editor. Its arguments are not used (the engine
// passes "."); only one editor runs at a time.
#include <wx/app.h>
#include <wx/init.h>

#include "platform/SingleInstance.h"
#include "platform/wx/WxSupport.h"
#include "stress-editor/AccentorDialog.h"

int main(int argc, char** argv) {
    // A second editor ends at once, before any window exists.
    vox::SingleInstance instance(accentor::kInstanceName);
    if (!instance.IsFirst()) return 0;
    wxApp::SetInstance(new wxApp);
    if (!wxEntryStart(argc, argv)) return 1;
    {
        vox::wx::SetUpTranslations();
        vox::wx::InstallDialogMessageSink();
        accentor::AccentorDialog dialog;
        dialog.ShowModal();
    }
    wxEntryCleanup();
    return 0;
}
