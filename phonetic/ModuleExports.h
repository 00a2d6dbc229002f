// The four exports every phonetic module library has: class object, unload
// test and self-registration. A module's Register file names its class and
// its entry of kPhoneticModules:
//   VOXAMEN_PHONETIC_MODULE_EXPORTS(vox::Allomod_419_1, vox::kPhoneticModules[1])
#pragma once

#include "phonetic/ModuleFacts.h"
#include "phonetic/ModuleRegistration.h"
#include "platform/ComKit.h"

#define VOXAMEN_PHONETIC_MODULE_EXPORTS(ModuleClass, facts)                             \
    extern "C" {                                                                        \
    __attribute__((visibility("default"))) HRESULT DllGetClassObject(const GUID& clsid, \
                                                                     const GUID& iid,   \
                                                                     void** object) {   \
        return vox::GetClassObjectFor<ModuleClass>((facts).clsid, clsid, iid, object);  \
    }                                                                                   \
    __attribute__((visibility("default"))) HRESULT DllCanUnloadNow() {                  \
        return vox::ServerLifetime::CanUnloadNow();                                     \
    }                                                                                   \
    __attribute__((visibility("default"))) HRESULT DllRegisterServer() {                \
        return vox::Guarded([] { return vox::RegisterModule(facts); });                 \
    }                                                                                   \
    __attribute__((visibility("default"))) HRESULT DllUnregisterServer() {              \
        return vox::Guarded([] { return vox::UnregisterModule(facts); });               \
    }                                                                                   \
    }
