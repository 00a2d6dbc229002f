#include "Process.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>

extern char** environ;

namespace vox {

// A short-lived shell starts the program in the background and exits at
// once; the caller reaps the shell, and the program, orphaned, is reaped by
// init. So the host neither waits for the program nor collects its status.
bool StartProgram(const std::string& program, const std::vector<std::string>& args,
                  std::string* error) {
    if (::access(program.c_str(), X_OK) != 0) {
        if (error != nullptr) *error = program + ": cannot be run: " + std::strerror(errno);
        return false;
    }
    std::vector<std::string> argv = {"/bin/sh", "-c", "\"$0\" \"$@\" </dev/null &", program};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char*> raw;
    for (auto& a : argv) raw.push_back(a.data());
    raw.push_back(nullptr);
    pid_t pid = 0;
    int rc = ::posix_spawn(&pid, "/bin/sh", nullptr, nullptr, raw.data(), environ);
    if (rc != 0) {
        if (error != nullptr) *error = program + ": cannot be started: " + std::strerror(rc);
        return false;
    }
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return true;
}

}  // namespace vox
