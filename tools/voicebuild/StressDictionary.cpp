#include "tools/voicebuild/StressDictionary.h"

#include <sstream>

#include "platform/CodePage.h"
#include "platform/FileText.h"
#include "platform/Text.h"

namespace vox::voicebuild {

namespace {

// A cursor over one line of the dictionary.
struct Cursor {
    std::string_view s;
    size_t pos = 0;
    void SkipBlanks() {
        while (pos < s.size() && (s[pos] == ' ' || s[pos] == '\t' || s[pos] == '\r')) ++pos;
    }
    bool Take(char c) {
        SkipBlanks();
        if (pos < s.size() && s[pos] == c) {
            ++pos;
            return true;
        }
        return false;
    }
    std::string_view Symbol() {
        SkipBlanks();
        size_t start = pos;
        while (pos < s.size() && s[pos] != ' ' && s[pos] != '\t' && s[pos] != '(' && s[pos] != ')')
            ++pos;
        return s.substr(start, pos - start);
    }
    bool AtEnd() {
        SkipBlanks();
        return pos >= s.size();
    }
};

// One entry at the cursor; returns the problem or "".
std::string ParseEntry(Cursor& c, std::string& word, StressReading& reading) {
    if (!c.Take('(') || !c.Take('"')) return "expected (\"word\" POS (N))";
    size_t end = c.s.find('"', c.pos);
    if (end == std::string_view::npos) return "unterminated word";
    word = std::string(c.s.substr(c.pos, end - c.pos));
    c.pos = end + 1;
    if (word.empty() || word.find('?') != std::string::npos)
        return "word \"" + word + "\" is empty or not Windows-1251 text";
    if (c.Symbol().empty()) return "missing part of speech of \"" + word + "\"";
    if (!c.Take('(')) return "missing stress number of \"" + word + "\"";
    std::optional<long long> n = ParseInteger(c.Symbol());
    if (!n || *n < 0 || *n > 64 || !c.Take(')')) return "bad stress number of \"" + word + "\"";
    reading.vowel = int(*n);
    reading.yo = false;
    while (!c.Take(')')) {
        std::string_view flag = c.Symbol();
        if (flag.empty()) return "unterminated entry \"" + word + "\"";
        if (flag == "fix_yo") reading.yo = true;
    }
    return "";
}

}  // namespace

StressDictionary StressDictionary::Parse(std::string_view text, const std::string& path,
                                         std::vector<std::string>& problems) {
    StressDictionary dictionary;
    const std::string cp1251 = Utf8ToCp1251(text);
    std::istringstream in(cp1251);
    std::string raw;
    int line = 0;
    while (std::getline(in, raw)) {
        ++line;
        std::string_view trimmed = Trim(raw);
        if (trimmed.empty() || trimmed.front() == ';' || (line == 1 && trimmed == "MNCL")) continue;
        Cursor c{trimmed};
        while (!c.AtEnd()) {
            std::string word;
            StressReading reading;
            std::string problem = ParseEntry(c, word, reading);
            if (!problem.empty()) {
                problems.push_back(path + ":" + std::to_string(line) + ": " +
                                   Cp1251ToUtf8(problem));
                break;
            }
            dictionary.entries_.emplace(std::move(word), reading);  // the first reading stays
        }
    }
    return dictionary;
}

std::optional<StressDictionary> StressDictionary::Load(const std::string& path,
                                                       std::vector<std::string>& problems) {
    const std::optional<std::string> text = ReadWholeFile(path);
    if (!text) return std::nullopt;
    return Parse(*text, path, problems);
}

const StressReading* StressDictionary::Find(std::string_view word) const {
    auto it = entries_.find(std::string(word));
    return it == entries_.end() ? nullptr : &it->second;
}

}  // namespace vox::voicebuild
