// The registry files as the commands that only read them see them: a
// malformed file reads as empty, so a listing checks the files first rather
// than report that nothing is installed.
#pragma once

#include <initializer_list>
#include <iosfwd>
#include <string_view>

#include "platform/Registry.h"

namespace vox::cli {

// False, after a message to `err` naming `command`, the file and the line,
// when one of the hives' files is malformed or cannot be read.
bool RegistryReadable(std::initializer_list<reg::Root> roots, std::string_view command,
                      std::ostream& err);

}  // namespace vox::cli
