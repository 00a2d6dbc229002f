// Creates a voice's phonetic module by the class id registered under
// HKEY_LOCAL_MACHINE\Software\Vostrelin\Phonetic\<name> (value "CLSID"):
// CoCreateInstance for IUnknown, OleRun, then a query for IPhonetic.
#pragma once

#include <string>

#include "interfaces/IPhonetic.h"
#include "platform/ComKit.h"

namespace vox {

inline constexpr const char* kPhoneticModulesRoot = "Software\\Vostrelin\\Phonetic\\";

// Module name of a voice: Language, or Language "." Sublang ("419.0").
std::string PhoneticModuleName(const std::string& language, const std::string& sublang);

// The module's IPhonetic, or empty when any step fails; `why` then says
// which step (for tools; the engine shows its own message).
ComPtr<IPhonetic> CreatePhoneticModule(const std::string& name, std::string* why = nullptr);

}  // namespace vox
