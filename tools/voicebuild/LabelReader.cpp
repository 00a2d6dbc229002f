#include "tools/voicebuild/LabelReader.h"

#include <sstream>

#include "platform/FileText.h"
#include "platform/Text.h"

namespace vox::voicebuild {

namespace {

std::string At(const std::string& path, int line, const std::string& what) {
    return path + ":" + std::to_string(line) + ": " + what;
}

// Blank-separated fields of a line.
std::vector<std::string> Fields(std::string_view line) {
    std::vector<std::string> fields;
    size_t pos = 0;
    while (pos < line.size()) {
        while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t')) ++pos;
        size_t end = pos;
        while (end < line.size() && line[end] != ' ' && line[end] != '\t') ++end;
        if (end > pos) fields.emplace_back(line.substr(pos, end - pos));
        pos = end;
    }
    return fields;
}

}  // namespace

std::optional<std::vector<LabelSegment>> ParseLabels(const std::string& text,
                                                     const std::string& path, std::string& error) {
    std::vector<LabelSegment> segments;
    std::istringstream in(text);
    std::string raw;
    int line = 0;
    bool inHeader = true;
    double previousEnd = 0.0;
    while (std::getline(in, raw)) {
        ++line;
        std::string_view trimmed = Trim(raw);
        if (inHeader) {
            if (trimmed == "#") inHeader = false;
            continue;
        }
        if (trimmed.empty()) continue;
        std::vector<std::string> fields = Fields(trimmed);
        if (fields.size() != 3) {
            error =
                At(path, line,
                   "expected \"END_TIME COLOUR PHONE\", found \"" + std::string(trimmed) + "\"");
            return std::nullopt;
        }
        std::optional<double> end = ParseDouble(fields[0]);
        if (!end || !(*end >= 0.0) || *end > 86400.0) {
            error = At(path, line, "bad end time \"" + fields[0] + "\"");
            return std::nullopt;
        }
        if (*end < previousEnd) {
            error = At(path, line, "end time " + fields[0] + " is before the previous phone's end");
            return std::nullopt;
        }
        segments.push_back({fields[2], previousEnd, *end, line});
        previousEnd = *end;
    }
    if (inHeader) {
        error = At(path, line, "no \"#\" line ends the header");
        return std::nullopt;
    }
    if (segments.empty()) {
        error = At(path, line, "no phones");
        return std::nullopt;
    }
    return segments;
}

std::optional<std::vector<LabelSegment>> ReadLabels(const std::string& path, std::string& error) {
    const std::optional<std::string> text = ReadWholeFile(path);
    if (!text) {
        error = path + ": cannot be read";
        return std::nullopt;
    }
    return ParseLabels(*text, path, error);
}

}  // namespace vox::voicebuild
