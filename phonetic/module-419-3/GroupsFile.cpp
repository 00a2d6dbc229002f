#include "phonetic/module-419-3/GroupsFile.h"

#include <algorithm>

#include "platform/FileMapping.h"
#include "platform/Messages.h"
#include "platform/Text.h"

namespace vox {

namespace {

constexpr const char* kCaption = "AllomodRus";
constexpr std::string_view kOpenBlock = "{Groups";
constexpr std::string_view kCloseBlock = "}";

struct Line {
    size_t number;
    std::string_view text;  // trimmed, never empty
};

// The file's non-empty trimmed lines with their numbers.
std::vector<Line> ReadLines(std::string_view text) {
    std::vector<Line> lines;
    size_t number = 0;
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        ++number;
        if (std::string_view line = Trim(text.substr(start, end - start)); !line.empty())
            lines.push_back({number, line});
        start = end + 1;
    }
    return lines;
}

std::string WithoutBlanks(std::string_view text) {
    std::string out;
    for (char c : text)
        if (c != ' ' && c != '\t') out += c;
    return out;
}

}  // namespace

std::optional<GroupsFileError> ParseGroupsFile(std::string_view text, GroupTable& groups) {
    const std::vector<Line> lines = ReadLines(text);
    if (lines.empty() || lines[0].text != kGroupsFileHeader) {
        return GroupsFileError{lines.empty() ? 1 : lines[0].number,
                               "the first line is not \"" + std::string(kGroupsFileHeader) + "\""};
    }
    std::optional<GroupsFileError> first;
    const auto fault = [&](size_t line, std::string what) {
        if (!first) first = GroupsFileError{line, std::move(what)};
    };
    std::optional<size_t> openedAt;  // the line of the open "{Groups"
    for (size_t i = 1; i < lines.size(); ++i) {
        const Line& line = lines[i];
        if (!openedAt) {
            if (line.text == kOpenBlock) {
                groups.clear();
                openedAt = line.number;
            }
            continue;
        }
        if (line.text == kCloseBlock) {
            openedAt.reset();
            continue;
        }
        const size_t colon = line.text.find(':');
        const std::string_view name =
            colon == std::string_view::npos ? std::string_view() : Trim(line.text.substr(0, colon));
        if (name.empty()) {
            fault(line.number, colon == std::string_view::npos
                                   ? "a group line is \"Name: member, member\" (no \":\")"
                                   : "a group needs a name before \":\"");
            continue;
        }
        std::set<std::string>& members = groups[std::string(name)];
        for (std::string& member : SplitList(WithoutBlanks(line.text.substr(colon + 1))))
            members.insert(std::move(member));
    }
    if (openedAt) fault(*openedAt, "\"{Groups\" is not closed by \"}\"");
    return first;
}

void LoadGroupsFile(const std::string& path, GroupTable& groups) {
    MappedFile file;
    if (!file.Open(path)) return;
    const std::string_view text(reinterpret_cast<const char*>(file.Data()), file.Size());
    if (std::optional<GroupsFileError> error = ParseGroupsFile(text, groups))
        MessageBox(kCaption, path + ":" + std::to_string(error->line) + ": " + error->text);
}

}  // namespace vox
