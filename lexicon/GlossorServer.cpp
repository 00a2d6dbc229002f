// The exports of glossor.so: class object, unload test and self-registration
// (ProgIDs "Glossor.Glossor.1" and "Glossor.Glossor", the CLSID key with
// InprocServer32 and ThreadingModel "Both", the type library GLOSSORLib).
#include "Glossor.h"
#include "platform/ComServer.h"

namespace {

// {0B0E5A36-7C1D-4E8B-A5F2-6D3C9B1E2F47}
constexpr GUID LIBID_GLOSSORLib = {
    0x0B0E5A36, 0x7C1D, 0x4E8B, {0xA5, 0xF2, 0x6D, 0x3C, 0x9B, 0x1E, 0x2F, 0x47}};

vox::ClassRegistration GlossorClass() {
    return {CLSID_Glossor,       "Vostrelin Glossor Module Class",
            "Glossor.Glossor.1", "Glossor.Glossor",
            LIBID_GLOSSORLib,    "Glossor 1.0 Type Library"};
}

}  // namespace

extern "C" {

__attribute__((visibility("default"))) HRESULT DllGetClassObject(const GUID& clsid, const GUID& iid,
                                                                 void** object) {
    return vox::GetClassObjectFor<lexicon::Glossor>(CLSID_Glossor, clsid, iid, object);
}

__attribute__((visibility("default"))) HRESULT DllCanUnloadNow() {
    return vox::ServerLifetime::CanUnloadNow();
}

__attribute__((visibility("default"))) HRESULT DllRegisterServer() {
    return vox::Guarded([] { return vox::RegisterServer(GlossorClass()); });
}

__attribute__((visibility("default"))) HRESULT DllUnregisterServer() {
    return vox::Guarded([] { return vox::UnregisterServer(GlossorClass()); });
}
}
