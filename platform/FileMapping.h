// A whole file mapped read-only into memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace vox {

class MappedFile {
  public:
    MappedFile() = default;
    ~MappedFile() { Close(); }
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;
    MappedFile(MappedFile&& other) noexcept;
    MappedFile& operator=(MappedFile&& other) noexcept;

    // Maps the existing file; `error` says why on failure. An empty file maps
    // to a valid, empty view.
    bool Open(const std::string& path, std::string* error = nullptr);
    void Close();

    bool IsOpen() const { return open_; }
    const uint8_t* Data() const { return data_; }
    size_t Size() const { return size_; }

  private:
    const uint8_t* data_ = nullptr;
    size_t size_ = 0;
    bool open_ = false;
    bool mapped_ = false;  // false for an empty file (nothing to unmap)
};

}  // namespace vox
