#include "UserVocabulary.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <vector>

#include "StressText.h"
#include "platform/CodePage.h"

namespace lexicon {

namespace {

bool IsSpace(char c) {
    return c == ' ' || c == '\n' || c == '\t' || c == '\r';
}

// The word with the letters of `body` at `at`: the entry's "ё" is kept.
std::string Restore(std::string_view word, size_t at, std::string_view body) {
    std::string out(word);
    for (size_t i = 0; i < body.size() && at + i < out.size(); ++i)
        if (body[i] == kYo) out[at + i] = kYo;
    return out;
}

}  // namespace

UserVocabulary::Kind UserVocabulary::KindOf(std::string_view text) {
    const bool lead = !text.empty() && text.front() == '*';
    const bool trail = !text.empty() && text.back() == '*';
    if (lead && trail && text.size() >= 3) return Kind::Inner;
    if (lead && text.size() >= 2) return Kind::Ending;
    if (trail && text.size() >= 2) return Kind::Beginning;
    return Kind::Word;
}

std::string UserVocabulary::Body(std::string_view text) {
    const Kind kind = KindOf(text);
    if (kind == Kind::Ending || kind == Kind::Inner)
        while (!text.empty() && text.front() == '*') text.remove_prefix(1);
    if (kind == Kind::Beginning || kind == Kind::Inner)
        while (!text.empty() && text.back() == '*') text.remove_suffix(1);
    return std::string(text);
}

void UserVocabulary::Clear() {
    for (KindMap& k : kinds_) k = KindMap{};
}

size_t UserVocabulary::Size() const {
    size_t n = 0;
    for (const KindMap& k : kinds_) n += k.byText.size();
    return n;
}

void UserVocabulary::Set(std::string text, uint8_t index) {
    KindMap& k = kinds_[static_cast<int>(KindOf(text))];
    std::string body = Body(text);
    k.longestBody = std::max(k.longestBody, body.size());
    k.byBody[FoldYo(body)] = {index, body};
    k.byText[std::move(text)] = index;
}

void UserVocabulary::Remove(const std::string& text) {
    KindMap& k = kinds_[static_cast<int>(KindOf(text))];
    if (k.byText.erase(text) > 0) k.byBody.erase(FoldYo(Body(text)));
}

bool UserVocabulary::Apply(std::string_view token) {
    if (token.empty() || token.size() > kMaxTokenBytes) return false;
    const size_t plus = token.find('+');
    if (plus == std::string_view::npos) {
        Remove(vox::ToLower1251(token));
        return true;
    }
    if (token.find('+', plus + 1) != std::string_view::npos || plus == 0) return false;
    std::string text = vox::ToLower1251(token.substr(0, plus));
    if (!IsVowel1251(text.back())) return false;  // only a Cyrillic vowel takes a stress
    text += vox::ToLower1251(token.substr(plus + 1));
    size_t index = plus - 1;
    if (text.front() == '*') {
        const size_t stars = text.find_first_not_of('*');
        if (stars > index) return false;
        index -= stars;
    }
    Set(std::move(text), static_cast<uint8_t>(index));
    return true;
}

void UserVocabulary::Parse(std::string_view text) {
    Clear();
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && IsSpace(text[i])) ++i;
        size_t start = i;
        while (i < text.size() && !IsSpace(text[i])) ++i;
        if (i > start) Apply(text.substr(start, i - start));
    }
}

bool UserVocabulary::Read(std::istream& in, size_t maxBytes, std::string* error) {
    Clear();
    std::vector<char> chunk(64 * 1024);
    std::string token;
    bool overlong = false;
    size_t total = 0;
    auto finish = [&] {
        if (!overlong && !token.empty()) Apply(token);
        token.clear();
        overlong = false;
    };
    while (total < maxBytes) {
        in.read(chunk.data(),
                static_cast<std::streamsize>(std::min(chunk.size(), maxBytes - total)));
        const auto got = static_cast<size_t>(in.gcount());
        if (in.bad()) {
            Clear();
            if (error) *error = "the file cannot be read";
            return false;
        }
        total += got;
        for (size_t i = 0; i < got; ++i) {
            const char c = chunk[i];
            if (IsSpace(c))
                finish();
            else if (token.size() > kMaxTokenBytes)
                overlong = true;  // skipped up to the next white space
            else
                token += c;
        }
        if (got == 0 || in.eof()) break;
    }
    const bool cut = total >= maxBytes && in.peek() != std::char_traits<char>::eof();
    if (!cut) finish();  // a last line without its end still counts
    if (cut && error)
        *error = "the file is larger than " + std::to_string(maxBytes) +
                 " bytes; only that much of it is read";
    return true;
}

bool UserVocabulary::Load(const std::string& path, std::string* error) {
    Clear();
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in.is_open()) {
        if (errno == ENOENT) return true;  // no vocabulary yet
        if (error) *error = path + ": cannot be opened: " + std::strerror(errno);
        return false;
    }
    std::string why;
    const bool ok = Read(in, kMaxFileBytes, &why);
    if (!why.empty() && error) *error = path + ": " + why;
    return ok;
}

bool UserVocabulary::Match(std::string_view word, std::string& stressed) const {
    if (word.empty() || word.size() > kMaxTokenBytes * 8 || Size() == 0) return false;
    const std::string key = FoldYo(word);
    return MatchWord(key, word, stressed) || MatchEnding(key, word, stressed) ||
           MatchBeginning(key, word, stressed) || MatchInner(key, word, stressed);
}

bool UserVocabulary::MatchWord(std::string_view key, std::string_view word,
                               std::string& out) const {
    const KindMap& k = kinds_[static_cast<int>(Kind::Word)];
    auto it = k.byBody.find(key);
    if (it == k.byBody.end()) return false;
    out = MarkStress(Restore(word, 0, it->second.second), it->second.first);
    return true;
}

bool UserVocabulary::MatchEnding(std::string_view key, std::string_view word,
                                 std::string& out) const {
    const KindMap& k = kinds_[static_cast<int>(Kind::Ending)];
    for (size_t len = std::min(k.longestBody, key.size()); len > 0; --len) {
        auto it = k.byBody.find(key.substr(key.size() - len));
        if (it == k.byBody.end()) continue;
        const size_t at = key.size() - len;
        out = MarkStress(Restore(word, at, it->second.second), at + it->second.first);
        return true;
    }
    return false;
}

bool UserVocabulary::MatchBeginning(std::string_view key, std::string_view word,
                                    std::string& out) const {
    const KindMap& k = kinds_[static_cast<int>(Kind::Beginning)];
    for (size_t len = std::min(k.longestBody, key.size()); len > 0; --len) {
        auto it = k.byBody.find(key.substr(0, len));
        if (it == k.byBody.end()) continue;
        out = MarkStress(Restore(word, 0, it->second.second), it->second.first);
        return true;
    }
    return false;
}

bool UserVocabulary::MatchInner(std::string_view key, std::string_view word,
                                std::string& out) const {
    const KindMap& k = kinds_[static_cast<int>(Kind::Inner)];
    if (k.byBody.empty()) return false;
    for (size_t len = std::min(k.longestBody, key.size()); len > 0; --len)
        for (size_t at = 0; at + len <= key.size(); ++at) {
            auto it = k.byBody.find(key.substr(at, len));
            if (it == k.byBody.end()) continue;
            out = MarkStress(Restore(word, at, it->second.second), at + it->second.first);
            return true;
        }
    return false;
}

}  // namespace lexicon
