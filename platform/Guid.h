// GUID text form "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}".
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "interfaces/ComTypes.h"

namespace vox {

// Parses the braced text form, case-insensitively; nullopt for anything else.
std::optional<GUID> GuidFromString(std::string_view text);

// Upper-case braced text form.
std::string GuidToString(const GUID& guid);

}  // namespace vox

// The Windows name for the parser; returns E_INVALIDARG for malformed text.
HRESULT CLSIDFromString(const char* text, CLSID* clsid);
