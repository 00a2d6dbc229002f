#include "platform/FileReader.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace vox {

namespace {

FileIdentity FromStat(const struct stat& st) {
    FileIdentity id;
    id.exists = true;
    id.device = st.st_dev;
    id.inode = st.st_ino;
    id.size = st.st_size;
    id.modifiedNs = int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    return id;
}

}  // namespace

FileIdentity IdentifyFile(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return {};
    return FromStat(st);
}

int OpenRegularFile(const std::string& path, std::string* error) {
    auto fail = [&](const char* what, int fd) {
        const int saved = errno;
        if (fd >= 0) ::close(fd);
        if (error != nullptr)
            *error =
                path + ": " + what + (saved != 0 ? std::string(": ") + std::strerror(saved) : "");
        return -1;
    };
    // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a writer.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return fail("cannot be opened", fd);
    struct stat st {};
    if (::fstat(fd, &st) != 0) return fail("cannot be examined", fd);
    if (!S_ISREG(st.st_mode)) {
        errno = 0;
        return fail(S_ISFIFO(st.st_mode)  ? "is a FIFO, not a regular file"
                    : S_ISDIR(st.st_mode) ? "is a folder, not a regular file"
                                          : "is not a regular file",
                    fd);
    }
    // Reads of a regular file never block; clear the flag for plain semantics.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

bool FileReader::Open(const std::string& path, std::string* error) {
    Close();
    const int fd = OpenRegularFile(path, error);
    if (fd < 0) return false;
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        if (error != nullptr) *error = path + ": cannot be examined: " + std::strerror(errno);
        ::close(fd);
        return false;
    }
    fd_ = fd;
    identity_ = FromStat(st);
    return true;
}

void FileReader::Close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    identity_ = {};
}

bool FileReader::ReadAt(uint64_t offset, std::span<uint8_t> out) const {
    if (fd_ < 0) return false;
    size_t done = 0;
    while (done < out.size()) {
        const ssize_t n =
            ::pread(fd_, out.data() + done, out.size() - done, static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;  // an error, or the file ends early
        done += static_cast<size_t>(n);
    }
    return true;
}

bool SparseImage::Create(size_t size) {
    Release();
    if (size == 0) return true;
    // Anonymous pages read as zeros and take memory only once written.
    void* p = ::mmap(nullptr, size, PROT_READ | PROT_WRITE,
                     MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (p == MAP_FAILED) return false;
    data_ = static_cast<uint8_t*>(p);
    size_ = size;
    return true;
}

void SparseImage::Release() {
    if (data_ != nullptr) ::munmap(data_, size_);
    data_ = nullptr;
    size_ = 0;
}

bool SparseImage::Load(const FileReader& file, size_t offset, size_t length) {
    if (offset > size_ || length > size_ - offset) return false;
    return file.ReadAt(offset, {data_ + offset, length});
}

}  // namespace vox
