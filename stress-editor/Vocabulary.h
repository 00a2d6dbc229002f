// The user's stress vocabulary in memory: four kinds of entries (whole
// words and "*" patterns), each a map from lower-case Windows-1251 text to
// the 0-based position of its stressed vowel. The vocabulary file is a
// change log of whitespace-separated tokens, later tokens overriding earlier
// ones: "коро+ва" sets an entry, a token without "+" deletes one.
#pragma once

#include <array>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace accentor {

enum class EntryKind { Word, EndingPattern, BeginningPattern, InnerPattern };

// The kind a text belongs to, by the "*" at its ends.
EntryKind KindOf(std::string_view text);

struct Entry {
    std::string text;  // lower-case Windows-1251, "*" included
    int stress = 0;    // counted after the leading "*" characters
};

// Character classes of Windows-1251 text.
bool IsCyrillicVowel(char c);
// Lower-cases the Latin and Russian letters ("Ё" to "ё"), nothing else.
std::string LowerCase(std::string_view text);
size_t LeadingStars(std::string_view text);

// Where the stressed character of an entry stands in its text.
size_t StressedCharPosition(const Entry& entry);
// The entry as a file token: its text with "+" after the stressed vowel.
std::string ToToken(const Entry& entry);

// Reads a token with a "+" after its stressed vowel, lower-cased. The file's
// tokens must hold exactly one "+"; typed words may hold several, the first
// one counting (`severalPluses`). Nullopt unless the character before the
// "+" is a Russian vowel, or when the token is empty, holds white space or
// is longer than kMaxTokenLength (the file's reader would ignore it).
std::optional<Entry> ParseStressedToken(std::string_view token, bool severalPluses = false);

inline constexpr size_t kMaxTokenLength = 126;

class Vocabulary {
  public:
    void Clear();
    // One token of the change log: set, delete or ignore.
    void ApplyToken(std::string_view token);
    // Applies every token of a file's contents.
    void ApplyLog(std::string_view contents);

    // False when the same text already holds the same stress.
    bool Set(const Entry& entry);
    // Removes the text from the first kind holding it (word, ending,
    // beginning, inner); false when no kind held it.
    bool Remove(std::string_view text);

    // All entries of all kinds, ordered by the bytes of their texts.
    std::vector<Entry> Merged() const;
    std::optional<int> Find(std::string_view text) const;
    size_t Size() const;

  private:
    std::map<std::string, int>& MapOf(EntryKind kind) { return maps_[static_cast<size_t>(kind)]; }
    std::array<std::map<std::string, int>, 4> maps_;
};

}  // namespace accentor
