// Self-registration of a server library: the standard class keys under
// HKEY_CLASSES_ROOT (ProgIDs, CLSID key, InprocServer32 with this library's
// absolute path, TypeLib) written in one registry transaction together with
// whatever keys the server adds of its own.
#pragma once

#include <functional>
#include <string>

#include "Registry.h"
#include "interfaces/ComTypes.h"

namespace vox {

struct ClassRegistration {
    CLSID clsid;
    std::string description;               // "Vostrelin Voxamen Class"
    std::string progId;                    // "Voxamen.Voxamen.1"
    std::string versionIndependentProgId;  // "Voxamen.Voxamen"
    GUID typeLib;
    std::string typeLibHelp;  // "Voxamen 1.0 Type Library"
    std::string threadingModel = "Both";
};

// The absolute path of the library (or program) this code is linked into.
std::string ThisLibraryPath();

// Writes the class keys into a machine hive under edit.
void WriteClassKeys(reg::Hive& machine, const ClassRegistration& cls,
                    const std::string& serverPath);
// Removes the class's own keys (ProgIDs, CLSID key, type library key).
void RemoveClassKeys(reg::Hive& machine, const ClassRegistration& cls);

// DllRegisterServer / DllUnregisterServer bodies; `extra` adds or removes the
// server's own keys in the same transaction. Failures are reported through
// the message sink and returned as SELFREG_E_CLASS.
HRESULT RegisterServer(const ClassRegistration& cls,
                       const std::function<void(reg::Hive&)>& extra = nullptr);
HRESULT UnregisterServer(const ClassRegistration& cls,
                         const std::function<void(reg::Hive&)>& extra = nullptr);

}  // namespace vox
