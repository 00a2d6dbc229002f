// Creates a voice's phonetic module by the class id registered under
// HKEY_LOCAL_MACHINE\Software\Vostrelin\Phonetic\<name> (value "CLSID").
#pragma once

#include <string>

#include "interfaces/IPhonetic.h"
#include "platform/ComKit.h"

namespace vox {

// Module name of a voice: Language, or Language "." Sublang ("419.0").
std::string PhoneticModuleName(const std::string& language, const std::string& sublang);

// The module's IPhonetic, or empty when any step fails.
ComPtr<IPhonetic> CreatePhoneticModule(const std::string& name);

}  // namespace vox
