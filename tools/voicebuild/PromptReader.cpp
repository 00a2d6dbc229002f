#include "tools/voicebuild/PromptReader.h"

#include <set>
#include <sstream>

#include "platform/FileText.h"
#include "platform/Text.h"

namespace vox::voicebuild {

namespace {

bool IsIdChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '-' || c == '.';
}

// Parses one trimmed line; returns the problem or "".
std::string ParseLine(std::string_view s, Prompt& prompt) {
    if (s.empty() || s.front() != '(') return "expected ( ID \"text\" )";
    size_t pos = 1;
    while (pos < s.size() && (s[pos] == ' ' || s[pos] == '\t')) ++pos;
    size_t idStart = pos;
    while (pos < s.size() && IsIdChar(s[pos])) ++pos;
    if (pos == idStart) return "missing utterance id";
    prompt.id = std::string(s.substr(idStart, pos - idStart));
    while (pos < s.size() && (s[pos] == ' ' || s[pos] == '\t')) ++pos;
    if (pos >= s.size() || s[pos] != '"') return "missing quoted text after \"" + prompt.id + "\"";
    ++pos;
    prompt.text.clear();
    for (;; ++pos) {
        if (pos >= s.size()) return "unterminated text of \"" + prompt.id + "\"";
        if (s[pos] == '"') break;
        if (s[pos] == '\\' && pos + 1 < s.size()) ++pos;
        prompt.text += s[pos];
    }
    std::string_view rest = Trim(s.substr(pos + 1));
    if (rest != ")") return "expected \")\" after the text of \"" + prompt.id + "\"";
    return "";
}

}  // namespace

std::vector<Prompt> ParsePrompts(const std::string& text, const std::string& path,
                                 std::vector<std::string>& problems) {
    std::vector<Prompt> prompts;
    std::set<std::string> seen;
    std::istringstream in(text);
    std::string raw;
    int line = 0;
    while (std::getline(in, raw)) {
        ++line;
        std::string_view trimmed = Trim(raw);
        if (trimmed.empty() || trimmed.front() == ';') continue;
        Prompt prompt;
        prompt.line = line;
        std::string problem = ParseLine(trimmed, prompt);
        if (problem.empty() && !seen.insert(prompt.id).second)
            problem = "utterance \"" + prompt.id + "\" listed twice";
        if (!problem.empty()) {
            problems.push_back(path + ":" + std::to_string(line) + ": " + problem);
            continue;
        }
        prompts.push_back(std::move(prompt));
    }
    return prompts;
}

std::optional<std::vector<Prompt>> ReadPrompts(const std::string& path,
                                               std::vector<std::string>& problems) {
    const std::optional<std::string> text = ReadWholeFile(path);
    if (!text) return std::nullopt;
    return ParsePrompts(*text, path, problems);
}

}  // namespace vox::voicebuild
