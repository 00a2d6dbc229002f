// The voxamen command line: one table of subcommands, one file per command.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace vox::cli {

// Arguments after the command name; output and errors go to the streams so
// that tests can run commands in-process.
struct Invocation {
    std::vector<std::string> args;
    std::ostream& out;
    std::ostream& err;
};

using CommandFn = int (*)(const Invocation&);

struct Command {
    const char* name;
    const char* synopsis;  // one line for the overview
    CommandFn run;
};

const std::vector<Command>& Commands();

// Runs "voxamen ARGS…"; returns the exit status.
int RunCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// Exit statuses.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

}  // namespace vox::cli
