#include "stress-editor/Vocabulary.h"

#include <algorithm>

namespace accentor {

namespace {

// Windows-1251 bytes of the Russian vowels "ЁУЕЫАОЭЯИЮёуеыаоэяию".
constexpr std::string_view kCyrillicVowels =
    "\xA8\xD3\xC5\xDB\xC0\xCE\xDD\xDF\xC8\xDE\xB8\xF3\xE5\xFB\xE0\xEE\xFD\xFF\xE8\xFE";

bool IsWhite(char c) {
    return c == ' ' || c == '\n' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

}  // namespace

bool IsCyrillicVowel(char c) {
    return kCyrillicVowels.find(c) != std::string_view::npos;
}

std::string LowerCase(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        auto u = static_cast<unsigned char>(c);
        if (u >= 'A' && u <= 'Z')
            c = static_cast<char>(u + 32);
        else if (u >= 0xC0 && u <= 0xDF)  // А to Я
            c = static_cast<char>(u + 32);
        else if (u == 0xA8)  // Ё
            c = static_cast<char>(0xB8);
    }
    return out;
}

size_t LeadingStars(std::string_view text) {
    size_t n = 0;
    while (n < text.size() && text[n] == '*') ++n;
    return n;
}

EntryKind KindOf(std::string_view text) {
    const bool starts = !text.empty() && text.front() == '*';
    const bool ends = !text.empty() && text.back() == '*';
    if (starts && ends && text.size() >= 3) return EntryKind::InnerPattern;
    if (starts && text.size() >= 2) return EntryKind::EndingPattern;
    if (ends && text.size() >= 2) return EntryKind::BeginningPattern;
    return EntryKind::Word;
}

size_t StressedCharPosition(const Entry& entry) {
    return static_cast<size_t>(entry.stress) + LeadingStars(entry.text);
}

std::string ToToken(const Entry& entry) {
    std::string token = entry.text;
    const size_t at = std::min(StressedCharPosition(entry) + 1, token.size());
    token.insert(at, 1, '+');
    return token;
}

std::optional<Entry> ParseStressedToken(std::string_view token, bool severalPluses) {
    if (token.empty() || token.size() > kMaxTokenLength) return std::nullopt;
    if (std::any_of(token.begin(), token.end(), IsWhite)) return std::nullopt;
    const size_t plus = token.find('+');
    if (plus == std::string_view::npos || plus == 0) return std::nullopt;
    if (!severalPluses && token.find('+', plus + 1) != std::string_view::npos) return std::nullopt;
    if (!IsCyrillicVowel(token[plus - 1])) return std::nullopt;
    std::string text;
    text.reserve(token.size());
    for (char c : token)
        if (c != '+') text.push_back(c);
    Entry entry;
    entry.text = LowerCase(text);
    const size_t stars = LeadingStars(entry.text);
    if (plus - 1 < stars) return std::nullopt;
    entry.stress = static_cast<int>(plus - 1 - stars);
    return entry;
}

void Vocabulary::Clear() {
    for (auto& map : maps_) map.clear();
}

void Vocabulary::ApplyToken(std::string_view token) {
    if (token.empty() || token.size() > kMaxTokenLength) return;
    const size_t pluses = static_cast<size_t>(std::count(token.begin(), token.end(), '+'));
    if (pluses == 0) {
        Remove(token);
    } else if (pluses == 1) {
        if (auto entry = ParseStressedToken(token)) Set(*entry);
    }
}

void Vocabulary::ApplyLog(std::string_view contents) {
    size_t i = 0;
    while (i < contents.size()) {
        while (i < contents.size() && IsWhite(contents[i])) ++i;
        size_t start = i;
        while (i < contents.size() && !IsWhite(contents[i])) ++i;
        if (i > start) ApplyToken(contents.substr(start, i - start));
    }
}

bool Vocabulary::Set(const Entry& entry) {
    auto& map = MapOf(KindOf(entry.text));
    auto it = map.find(entry.text);
    if (it != map.end() && it->second == entry.stress) return false;
    map[entry.text] = entry.stress;
    return true;
}

bool Vocabulary::Remove(std::string_view text) {
    for (auto& map : maps_) {
        auto it = map.find(std::string(text));
        if (it != map.end()) {
            map.erase(it);
            return true;
        }
    }
    return false;
}

std::vector<Entry> Vocabulary::Merged() const {
    std::vector<Entry> all;
    all.reserve(Size());
    for (const auto& map : maps_)
        for (const auto& [text, stress] : map) all.push_back({text, stress});
    // Texts of different kinds never coincide: the kind follows from the text.
    std::sort(all.begin(), all.end(), [](const Entry& a, const Entry& b) {
        return std::string_view(a.text) < std::string_view(b.text);
    });
    return all;
}

std::optional<int> Vocabulary::Find(std::string_view text) const {
    for (const auto& map : maps_) {
        auto it = map.find(std::string(text));
        if (it != map.end()) return it->second;
    }
    return std::nullopt;
}

size_t Vocabulary::Size() const {
    size_t n = 0;
    for (const auto& map : maps_) n += map.size();
    return n;
}

}  // namespace accentor
