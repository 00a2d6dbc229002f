// The exports of allomod-419-3.so: class object, unload test and
// self-registration of Allomod_419_3 under the language key "419.3".
#include "phonetic/ModuleFacts.h"
#include "phonetic/ModuleRegistration.h"
#include "phonetic/module-419-3/Allomod4193.h"

namespace {
constexpr const vox::ModuleFacts& kModule = vox::kPhoneticModules[3];
static_assert(kModule.languageKey == "419.3");
}  // namespace

extern "C" {

__attribute__((visibility("default"))) HRESULT DllGetClassObject(const GUID& clsid, const GUID& iid,
                                                                 void** object) {
    return vox::GetClassObjectFor<vox::Allomod_419_3>(kModule.clsid, clsid, iid, object);
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
