// One text function for the one error vocabulary of the system.
#pragma once

#include <string>

#include "interfaces/ComTypes.h"

namespace vox {

// "E_INVALIDARG (0x80070057)", "S_OK", or the hexadecimal code for others.
std::string HresultText(HRESULT hr);

}  // namespace vox
