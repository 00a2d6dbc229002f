// Starting a program without waiting for it.
#pragma once

#include <string>
#include <vector>

namespace vox {

// Starts `program` with `args` (not including the program name) detached from
// the caller: the caller never waits for it and no zombie is left behind.
// False, with `error` set, when the program cannot be started.
bool StartProgram(const std::string& program, const std::vector<std::string>& args,
                  std::string* error = nullptr);

}  // namespace vox
