// The exports of voxamen.so: class object, unload test and self-registration
// (ProgIDs "Voxamen.Voxamen.1" and "Voxamen.Voxamen", the CLSID key with
// InprocServer32 and ThreadingModel "Both", the type library VOXAMENLib).
#include "engine/Voxamen.h"
#include "platform/ComServer.h"

namespace {

vox::ClassRegistration VoxamenClass() {
    return {CLSID_Voxamen,     "Vostrelin Voxamen Class", "Voxamen.Voxamen.1",
            "Voxamen.Voxamen", LIBID_VOXAMENLib,          "Voxamen 1.0 Type Library"};
}

}  // namespace

extern "C" {

__attribute__((visibility("default"))) HRESULT DllGetClassObject(const GUID& clsid, const GUID& iid,
                                                                 void** object) {
    return vox::GetClassObjectFor<vox::Voxamen>(CLSID_Voxamen, clsid, iid, object);
}

__attribute__((visibility("default"))) HRESULT DllCanUnloadNow() {
    return vox::ServerLifetime::CanUnloadNow();
}

__attribute__((visibility("default"))) HRESULT DllRegisterServer() {
    return vox::Guarded([] { return vox::RegisterServer(VoxamenClass()); });
}

__attribute__((visibility("default"))) HRESULT DllUnregisterServer() {
    return vox::Guarded([] { return vox::UnregisterServer(VoxamenClass()); });
}
}
