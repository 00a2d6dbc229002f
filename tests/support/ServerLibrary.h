// Loads a server library of the build (build/lib/NAME) the way an outside
// client does: dlopen, then its exported entry points.
#pragma once

#include <string>

#include "interfaces/ComTypes.h"

namespace vox::test {

class ServerLibrary {
  public:
    explicit ServerLibrary(const std::string& fileName);  // e.g. "voxamen.so"
    const std::string& Path() const { return path_; }
    bool Loaded() const { return handle_ != nullptr; }

    // Creates an object of `clsid` and asks for `iid` through the class factory.
    HRESULT Create(const CLSID& clsid, const IID& iid, void** object) const;
    HRESULT CanUnloadNow() const;
    HRESULT Register() const;
    HRESULT Unregister() const;

  private:
    void* Symbol(const char* name) const;
    std::string path_;
    void* handle_ = nullptr;
};

}  // namespace vox::test
