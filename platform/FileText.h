// Reading a whole (small) file into memory, for the text-file readers.
#pragma once

#include <optional>
#include <string>

namespace vox {

// The file's bytes, or nullopt when it cannot be opened or read or is not a
// regular file (a FIFO is refused at once, never waited on).
std::optional<std::string> ReadWholeFile(const std::string& path);

}  // namespace vox
