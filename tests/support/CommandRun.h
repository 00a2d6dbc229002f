// The `voxamen` command line run in-process, as the tests of its commands
// drive it: exit status and everything written to standard output and error.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "tools/voxamen/Command.h"

namespace vox::test {

struct CommandRun {
    int status;
    std::string out, err;
};

inline CommandRun RunVoxamen(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int status = cli::RunCommandLine(args, out, err);
    return {status, out.str(), err.str()};
}

}  // namespace vox::test
