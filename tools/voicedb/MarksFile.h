// Pitch-mark files of the voice database tools (NAME.marks beside NAME.wav):
// text, one sample offset per line, ascending; "#" starts a comment, blank
// lines are skipped.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vox::voicedb {

// False with `error` ("FILE:LINE: what") for a line that is not a
// non-negative 32-bit integer. Order is checked where the unit is known.
bool ParseMarks(std::string_view text, const std::string& fileName, std::vector<int32_t>& marks,
                std::string& error);
bool ReadMarksFile(const std::string& path, std::vector<int32_t>& marks, std::string& error);

std::string MarksText(const std::string& unitName, const std::vector<int32_t>& marks);
bool WriteMarksFile(const std::string& path, const std::string& unitName,
                    const std::vector<int32_t>& marks, std::string& error);

}  // namespace vox::voicedb
