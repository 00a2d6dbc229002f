#include "tools/voicedb/MarksFile.h"

#include <climits>
#include <fstream>

#include "platform/FileText.h"
#include "platform/Text.h"

namespace vox::voicedb {

bool ParseMarks(std::string_view text, const std::string& fileName, std::vector<int32_t>& marks,
                std::string& error) {
    std::vector<int32_t> parsed;
    size_t lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        line = Trim(line.substr(0, line.find('#')));
        if (line.empty()) continue;
        const std::optional<long long> value = ParseInteger(line);
        if (!value || *value < 0 || *value > INT32_MAX) {
            error = fileName + ":" + std::to_string(lineNumber) + ": \"" + std::string(line) +
                    "\" is not a sample offset (a whole number from 0 to 2147483647)";
            return false;
        }
        parsed.push_back(static_cast<int32_t>(*value));
    }
    marks = std::move(parsed);
    return true;
}

bool ReadMarksFile(const std::string& path, std::vector<int32_t>& marks, std::string& error) {
    const std::optional<std::string> text = ReadWholeFile(path);
    if (!text) {
        error = path + ": cannot be opened";
        return false;
    }
    return ParseMarks(*text, path, marks, error);
}

std::string MarksText(const std::string& unitName, const std::vector<int32_t>& marks) {
    std::string text = "# pitch marks of " + unitName + ": sample offsets at 22050 Hz\n";
    for (int32_t mark : marks) text += std::to_string(mark) + "\n";
    return text;
}

bool WriteMarksFile(const std::string& path, const std::string& unitName,
                    const std::vector<int32_t>& marks, std::string& error) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << MarksText(unitName, marks);
    file.close();
    if (!file) {
        error = path + ": cannot be written";
        return false;
    }
    return true;
}

}  // namespace vox::voicedb
