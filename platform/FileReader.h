// A regular file read by offset. Unlike a mapping, a file that another
// process truncates or rewrites in place while it is read gives a short read,
// never a fault that ends the process. Opening never blocks: a FIFO or device
// in a file's place is refused at once.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace vox {

// What tells one version of a file from another: the file itself (device and
// inode: a file renamed into place is another file), its size and its
// modification time (a file rewritten in place).
struct FileIdentity {
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
    int64_t size = 0;
    int64_t modifiedNs = 0;
    bool operator==(const FileIdentity&) const = default;
};

// The identity of the file a path names now (exists = false when none).
FileIdentity IdentifyFile(const std::string& path);

// Opens `path` for reading without blocking and returns the descriptor; -1
// with `error` set (the path and why) when it cannot be opened or is not a
// regular file.
int OpenRegularFile(const std::string& path, std::string* error);

class FileReader {
  public:
    FileReader() = default;
    ~FileReader() { Close(); }
    FileReader(const FileReader&) = delete;
    FileReader& operator=(const FileReader&) = delete;

    // Opens an existing regular file; `error` says why not.
    bool Open(const std::string& path, std::string* error = nullptr);
    void Close();

    bool IsOpen() const { return fd_ >= 0; }
    // The size and identity the file had when it was opened.
    uint64_t Size() const { return static_cast<uint64_t>(identity_.size); }
    const FileIdentity& Identity() const { return identity_; }

    // Reads exactly out.size() bytes at `offset`; false when the file (now)
    // ends before them or cannot be read.
    bool ReadAt(uint64_t offset, std::span<uint8_t> out) const;

  private:
    int fd_ = -1;
    FileIdentity identity_;
};

// A zero-filled, read-write image of a file's size in which only the ranges
// copied in take memory: a parser of the whole file's layout can run on it
// when only some ranges (a header, an index) are to be read.
class SparseImage {
  public:
    SparseImage() = default;
    ~SparseImage() { Release(); }
    SparseImage(const SparseImage&) = delete;
    SparseImage& operator=(const SparseImage&) = delete;

    bool Create(size_t size);
    void Release();
    // Copies bytes [offset, offset + length) of the file into the image.
    bool Load(const FileReader& file, size_t offset, size_t length);
    std::span<const uint8_t> Bytes() const { return {data_, size_}; }

  private:
    uint8_t* data_ = nullptr;
    size_t size_ = 0;
};

}  // namespace vox
