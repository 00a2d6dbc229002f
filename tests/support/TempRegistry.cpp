#include "support/TempRegistry.h"

#include <dirent.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace vox::test {

namespace {

std::string MakeTempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "voxamen-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    return pattern;
}

}  // namespace

TempRegistry::TempRegistry() : dir_(MakeTempDir()) {
    if (const char* old = std::getenv("VOXAMEN_REGISTRY_DIR")) {
        previous_ = old;
        hadPrevious_ = true;
    }
    ::setenv("VOXAMEN_REGISTRY_DIR", dir_.c_str(), 1);
}

TempRegistry::~TempRegistry() {
    if (hadPrevious_)
        ::setenv("VOXAMEN_REGISTRY_DIR", previous_.c_str(), 1);
    else
        ::unsetenv("VOXAMEN_REGISTRY_DIR");
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
}

void TempRegistry::WriteMachine(const std::string& text) const {
    WriteFile(MachineFile(), text);
}
void TempRegistry::WriteUser(const std::string& text) const {
    WriteFile(UserFile(), text);
}

TempDir::TempDir() : path_(MakeTempDir()) {}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

void WriteFile(const std::string& path, const std::string& contents) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << contents;
    if (!out) throw std::runtime_error("cannot write " + path);
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::vector<std::string> FolderEntries(const std::string& dir) {
    std::vector<std::string> names;
    if (DIR* d = ::opendir(dir.c_str())) {
        while (const dirent* e = ::readdir(d)) {
            const std::string name = e->d_name;
            if (name != "." && name != "..") names.push_back(name);
        }
        ::closedir(d);
    }
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace vox::test
