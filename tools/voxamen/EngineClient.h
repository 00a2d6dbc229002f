// The engine as a client creates it: by its class id through the registry.
#pragma once

#include <iosfwd>
#include <string>

#include "interfaces/IVoxamen.h"
#include "platform/ComKit.h"

namespace vox::cli {

// Null, with the reason on `err` after `command` ("voxamen …: "), when the
// engine is not registered or cannot be created.
ComPtr<IVoxamen> CreateEngine(std::ostream& err, const std::string& command);

}  // namespace vox::cli
