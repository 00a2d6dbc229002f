// The exports of allomod-419-2.so: class object, unload test and
// self-registration of Allomod_419_2 under the language key "419.2".
#include "phonetic/ModuleFacts.h"
#include "phonetic/ModuleRegistration.h"
#include "phonetic/module-419-2/Allomod4192.h"

namespace {
constexpr const vox::ModuleFacts& kModule = vox::kPhoneticModules[2];
static_assert(kModule.languageKey == "419.2");
}  // namespace

extern "C" {

__attribute__((visibility("default"))) HRESULT DllGetClassObject(const GUID& clsid, const GUID& iid,
                                                                 void** object) {
    return vox::GetClassObjectFor<vox::Allomod_419_2>(kModule.clsid, clsid, iid, object);
}

__attribute__((visibility("default"))) HRESULT DllCanUnloadNow() {
    return vox::ServerLifetime::CanUnloadNow();
}

__attribute__((visibility("default"))) HRESULT DllRegisterServer() {
    return vox::Guarded([] { return vox::RegisterModule(kModule); });
}

__attribute__((visibility("default"))) HRESULT DllUnregisterServer() {
    return vox::Guarded([] { return vox::UnregisterModule(kModule); });
}
}
