#include "FestvoxSource.h"

#include <cerrno>
#include <cstring>
#include <optional>

#include "StressText.h"
#include "platform/CodePage.h"
#include "platform/FileText.h"
#include "platform/Text.h"

namespace lexicon {

namespace {

// A cursor over one line of the source.
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
        while (pos < s.size() && s[pos] != ' ' && s[pos] != '\t' && s[pos] != '(' &&
               s[pos] != ')' && s[pos] != '\r')
            ++pos;
        return s.substr(start, pos - start);
    }
    bool AtEnd() {
        SkipBlanks();
        return pos >= s.size();
    }
};

struct Entry {
    std::string word;  // still UTF-8
    long long vowel = 0;
    bool yo = false;
};

// One entry at the cursor; returns the problem or "".
std::string ParseEntry(Cursor& c, Entry& e) {
    if (!c.Take('(') || !c.Take('"')) return "expected (\"word\" POS (N))";
    size_t end = c.s.find('"', c.pos);
    if (end == std::string_view::npos) return "unterminated word";
    e.word = std::string(c.s.substr(c.pos, end - c.pos));
    c.pos = end + 1;
    if (c.Symbol().empty()) return "missing part of speech of \"" + e.word + "\"";
    if (!c.Take('(')) return "missing stress number of \"" + e.word + "\"";
    std::optional<long long> n = vox::ParseInteger(c.Symbol());
    if (!n || *n < 0 || *n > 255 || !c.Take(')')) return "bad stress number of \"" + e.word + "\"";
    e.vowel = *n;
    e.yo = false;
    while (!c.Take(')')) {
        std::string_view flag = c.Symbol();
        if (flag.empty()) return "unterminated entry \"" + e.word + "\"";
        if (flag == "fix_yo") e.yo = true;
    }
    return "";
}

// The entry as a word with its stressed letter; returns the problem or "".
std::string Convert(const Entry& e, SourceLexicon& out) {
    std::string word = vox::ToLower1251(vox::Utf8ToCp1251(e.word));
    if (word.empty() || word.size() > 255 || word.find('?') != std::string::npos)
        return "word \"" + e.word + "\" is empty, too long or not Windows-1251 text";
    if (e.vowel == 0) {
        ++out.unstressed;
        return "";
    }
    size_t n = CountVowels(word);
    if (static_cast<size_t>(e.vowel) > n)
        return "word \"" + e.word + "\" has no vowel number " + std::to_string(e.vowel);
    size_t pos = VowelFromEnd(word, static_cast<int>(n - e.vowel + 1));
    if (e.yo && word[pos] == kYe) word[pos] = kYo;
    out.words.push_back({std::move(word), static_cast<uint8_t>(pos)});
    return "";
}

}  // namespace

SourceLexicon ParseFestvoxLexicon(std::string_view utf8, const std::string& path) {
    SourceLexicon out;
    size_t line = 0;
    size_t start = 0;
    while (start < utf8.size()) {
        size_t end = utf8.find('\n', start);
        if (end == std::string_view::npos) end = utf8.size();
        std::string_view raw = vox::Trim(utf8.substr(start, end - start));
        start = end + 1;
        ++line;
        if (raw.empty() || raw.front() == ';' || (line == 1 && raw == "MNCL")) continue;
        Cursor c{raw};
        while (!c.AtEnd()) {
            Entry e;
            std::string problem = ParseEntry(c, e);
            if (problem.empty()) problem = Convert(e, out);
            if (!problem.empty()) {
                out.problems.push_back(path + ":" + std::to_string(line) + ": " + problem);
                break;
            }
        }
    }
    return out;
}

bool LoadFestvoxLexicon(const std::string& path, SourceLexicon& out, std::string& error) {
    errno = 0;
    std::optional<std::string> text = vox::ReadWholeFile(path);
    if (!text) {
        error = path + ": cannot be read" + (errno ? std::string(": ") + std::strerror(errno) : "");
        return false;
    }
    out = ParseFestvoxLexicon(*text, path);
    return true;
}

}  // namespace lexicon
