// A named, machine-wide single-instance lock (the named mutex of Windows): an
// exclusive flock on a file in $XDG_RUNTIME_DIR (or /tmp) named after it.
#pragma once

#include <string>

namespace vox {

class SingleInstance {
  public:
    explicit SingleInstance(const std::string& name);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // True when this object holds the lock (no other instance runs).
    bool IsFirst() const { return fd_ >= 0; }
    const std::string& LockPath() const { return path_; }

  private:
    std::string path_;
    int fd_ = -1;
};

}  // namespace vox
