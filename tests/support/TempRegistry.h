// A fresh, empty registry folder for one test: VOXAMEN_REGISTRY_DIR points
// at it while the object lives, and the folder is removed afterwards.
#pragma once

#include <string>
#include <vector>

namespace vox::test {

class TempRegistry {
  public:
    TempRegistry();
    ~TempRegistry();
    TempRegistry(const TempRegistry&) = delete;
    TempRegistry& operator=(const TempRegistry&) = delete;

    const std::string& Dir() const { return dir_; }
    std::string MachineFile() const { return dir_ + "/machine.reg"; }
    std::string UserFile() const { return dir_ + "/user.reg"; }
    // Writes a hive file by hand (the text of a .reg file).
    void WriteMachine(const std::string& text) const;
    void WriteUser(const std::string& text) const;

  private:
    std::string dir_;
    std::string previous_;
    bool hadPrevious_ = false;
};

// A fresh temporary folder, removed with its contents afterwards.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "/" + name; }

  private:
    std::string path_;
};

void WriteFile(const std::string& path, const std::string& contents);
std::string ReadFile(const std::string& path);
// The names in a folder, "." and ".." left out, sorted.
std::vector<std::string> FolderEntries(const std::string& dir);

}  // namespace vox::test
