#include "platform/FileText.h"

#include <unistd.h>

#include <cerrno>

#include "platform/FileReader.h"

namespace vox {

std::optional<std::string> ReadWholeFile(const std::string& path) {
    const int fd = OpenRegularFile(path, nullptr);
    if (fd < 0) return std::nullopt;
    std::string text;
    char buffer[65536];
    while (true) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            ::close(fd);
            return std::nullopt;
        }
        if (n == 0) break;
        text.append(buffer, static_cast<size_t>(n));
    }
    ::close(fd);
    return text;
}

}  // namespace vox
