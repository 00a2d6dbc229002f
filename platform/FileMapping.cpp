#include "FileMapping.h"

#include "FileReader.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>
#include <utility>

namespace vox {

MappedFile::MappedFile(MappedFile&& o) noexcept {
    *this = std::move(o);
}

MappedFile& MappedFile::operator=(MappedFile&& o) noexcept {
    if (this != &o) {
        Close();
        std::swap(data_, o.data_);
        std::swap(size_, o.size_);
        std::swap(open_, o.open_);
        std::swap(mapped_, o.mapped_);
    }
    return *this;
}

bool MappedFile::Open(const std::string& path, std::string* error) {
    Close();
    auto fail = [&](const char* what) {
        if (error != nullptr) *error = path + ": " + what + ": " + std::strerror(errno);
        return false;
    };
    const int fd = OpenRegularFile(path, error);
    if (fd < 0) return false;
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        int saved = errno;
        ::close(fd);
        errno = saved;
        return fail("cannot be examined");
    }
    size_t size = static_cast<size_t>(st.st_size);
    if (size > 0) {
        void* view = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
        if (view == MAP_FAILED) {
            int saved = errno;
            ::close(fd);
            errno = saved;
            return fail("cannot be mapped");
        }
        data_ = static_cast<const uint8_t*>(view);
        mapped_ = true;
    }
    ::close(fd);  // the mapping keeps the file
    size_ = size;
    open_ = true;
    return true;
}

void MappedFile::Close() {
    if (mapped_) ::munmap(const_cast<uint8_t*>(data_), size_);
    data_ = nullptr;
    size_ = 0;
    open_ = false;
    mapped_ = false;
}

}  // namespace vox
