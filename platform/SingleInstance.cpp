#include "SingleInstance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#include <cstdlib>

namespace vox {

namespace {

// Keeps the name usable as a file name.
std::string SafeName(const std::string& name) {
    std::string out;
    for (char c : name) {
        bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                  c == '-' || c == '_' || c == '.';
        out += ok ? c : '_';
    }
    return out;
}

}  // namespace

SingleInstance::SingleInstance(const std::string& name) {
    const char* dir = std::getenv("XDG_RUNTIME_DIR");
    path_ = std::string(dir != nullptr && *dir != 0 ? dir : "/tmp") + "/voxamen-" + SafeName(name) +
            ".lock";
    fd_ = ::open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd_ >= 0 && ::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

SingleInstance::~SingleInstance() {
    if (fd_ >= 0) ::close(fd_);
}

}  // namespace vox
