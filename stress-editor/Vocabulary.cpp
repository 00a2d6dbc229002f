#include "stress-editor/Vocabulary.h"

#include <algorithm>

#include "lexicon/stress/StressText.h"
#include "platform/CodePage.h"

namespace accentor {

size_t LeadingStars(std::string_view text) {
    size_t n = 0;
    while (n < text.size() && text[n] == '*') ++n;
    return n;
}

size_t StressedCharPosition(const Entry& entry) {
    return static_cast<size_t>(entry.stress) + LeadingStars(entry.text);
}

std::string ToToken(const Entry& entry) {
    std::string token = entry.text;
    token.insert(std::min(StressedCharPosition(entry) + 1, token.size()), 1, '+');
    return token;
}

std::optional<Entry> ParseTypedWord(std::string_view typed) {
    const size_t plus = typed.find('+');
    if (plus == std::string_view::npos || plus == 0) return std::nullopt;
    if (typed.find_first_of(" \t\r\n\v\f") != std::string_view::npos) return std::nullopt;
    Entry entry;
    for (char c : typed)
        if (c != '+') entry.text.push_back(c);
    entry.text = vox::ToLower1251(entry.text);
    // The token written to the file holds one "+" more.
    if (entry.text.empty() || entry.text.size() + 1 > UserVocabulary::kMaxTokenBytes)
        return std::nullopt;
    if (!lexicon::IsVowel1251(entry.text[plus - 1])) return std::nullopt;
    const size_t stars = LeadingStars(entry.text);
    if (plus - 1 < stars) return std::nullopt;
    entry.stress = static_cast<int>(plus - 1 - stars);
    return entry;
}

std::vector<Entry> Merged(const UserVocabulary& vocabulary) {
    std::vector<Entry> all;
    using Kind = UserVocabulary::Kind;
    for (Kind kind : {Kind::Word, Kind::Ending, Kind::Beginning, Kind::Inner})
        for (const auto& [text, stress] : vocabulary.Entries(kind)) all.push_back({text, stress});
    // A text belongs to one kind only, so texts never repeat.
    std::sort(all.begin(), all.end(),
              [](const Entry& a, const Entry& b) { return a.text < b.text; });
    return all;
}

std::optional<int> Find(const UserVocabulary& vocabulary, const std::string& text) {
    const auto& entries = vocabulary.Entries(UserVocabulary::KindOf(text));
    auto it = entries.find(text);
    if (it == entries.end()) return std::nullopt;
    return it->second;
}

}  // namespace accentor
