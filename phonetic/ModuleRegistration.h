// Self-registration of a phonetic module: the class keys (ProgIDs, CLSID key
// with InprocServer32 and ThreadingModel "Both", TypeLib), the component
// category, "Properties" (Name, Lang) and the value CLSID under
// HKLM\SOFTWARE\Vostrelin\Phonetic\<language key>, by which clients find it.
#pragma once

#include "interfaces/ComTypes.h"
#include "phonetic/ModuleFacts.h"

namespace vox {

HRESULT RegisterModule(const ModuleFacts& module);
// Removes the class keys and the CLSID value; the language key itself and
// its parents stay.
HRESULT UnregisterModule(const ModuleFacts& module);

}  // namespace vox
