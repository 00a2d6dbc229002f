// The exports of orvalink.so: class object, unload test and self-registration
// (ProgIDs "Orvalink.Orvalink.1" and "Orvalink.Orvalink", the CLSID key with
// InprocServer32 and ThreadingModel "Both", the type library ORVALINKLib).
// The second class, VoxamenUI ("Orvalink.VoxamenUI.1"), is the voices'
// user-interface object. Only the class keys are written: voice tokens are
// the installer's.
#include "adapter/Orvalink.h"
#include "adapter/VoxamenUI.h"
#include "interfaces/AdapterIds.h"
#include "platform/ComServer.h"

namespace {

vox::ClassRegistration OrvalinkClass() {
    return {CLSID_Orvalink,        "Vostrelin Adapter Sapi5 Class",
            "Orvalink.Orvalink.1", "Orvalink.Orvalink",
            LIBID_ORVALINKLib,     "Orvalink 1.0 Type Library"};
}

vox::ClassRegistration VoxamenUIClass() {
    return {CLSID_VoxamenUI,        "Vostrelin TTS Engine UI Class",
            "Orvalink.VoxamenUI.1", "Orvalink.VoxamenUI",
            LIBID_ORVALINKLib,      "Orvalink 1.0 Type Library"};
}

}  // namespace

extern "C" {

__attribute__((visibility("default"))) HRESULT DllGetClassObject(const GUID& clsid, const GUID& iid,
                                                                 void** object) {
    if (clsid == CLSID_VoxamenUI)
        return vox::GetClassObjectFor<vox::VoxamenUI>(CLSID_VoxamenUI, clsid, iid, object);
    return vox::GetClassObjectFor<vox::Orvalink>(CLSID_Orvalink, clsid, iid, object);
}

__attribute__((visibility("default"))) HRESULT DllCanUnloadNow() {
    return vox::ServerLifetime::CanUnloadNow();
}

__attribute__((visibility("default"))) HRESULT DllRegisterServer() {
    return vox::Guarded([] {
        return vox::RegisterServer(OrvalinkClass(), [](vox::reg::Hive& machine) {
            vox::WriteClassKeys(machine, VoxamenUIClass(), vox::ThisLibraryPath());
        });
    });
}

__attribute__((visibility("default"))) HRESULT DllUnregisterServer() {
    return vox::Guarded([] {
        return vox::UnregisterServer(OrvalinkClass(), [](vox::reg::Hive& machine) {
            vox::RemoveClassKeys(machine, VoxamenUIClass());
        });
    });
}
}
