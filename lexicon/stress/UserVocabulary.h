// The user's stress vocabulary: the file named by the registry value
// "AccentorBase" under HKLM "Software\Vostrelin\Glossor Module\419", written
// by the stress editor. Windows-1251 text read as a change log, tokens
// separated by white space, later tokens overriding earlier ones:
//   коро+ва        sets the word "корова" (stress on its 2nd "о")
//   *ова+ть        sets an ending pattern:    any letters, then "овать"
//   эксклюзи+вн*   sets a beginning pattern:  "эксклюзивн", then any letters
//   *тирова+н*     sets an inner pattern:     "тирован" anywhere in the word
//   корова         (no "+") deletes the entry with that text
// A token of 127 bytes or more, with more than one "+", or whose "+" does not
// follow a Cyrillic vowel, is ignored. Texts are lower-cased.
//
// Matching (the file leaves it to the reader): a word entry matches the
// whole word; a pattern matches when its letters (without the "*") end,
// start or occur in the word, also when the "*" stands for no letters.
// Words are compared with "ё" read as "е". A word entry wins over ending
// patterns, those over beginning patterns, those over inner patterns;
// within a kind the longest pattern wins, and an inner pattern applies at
// its first occurrence. This class is shared with the stress editor.
#pragma once

#include <cstddef>
#include <cstdint>
#include <istream>
#include <map>
#include <string>
#include <string_view>

namespace lexicon {

class UserVocabulary {
  public:
    enum class Kind { Word, Ending, Beginning, Inner };

    // Files larger than this are read only up to it (a change log of
    // millions of edits is not a vocabulary a person keeps).
    static constexpr size_t kMaxFileBytes = 64u << 20;
    static constexpr size_t kMaxTokenBytes = 126;

    // Reads the file afresh. A missing file gives an empty vocabulary and
    // success; a read error empties it and fails with `error` set. A file
    // cut at kMaxFileBytes succeeds with `error` saying so.
    bool Load(const std::string& path, std::string* error);
    // The same for text already in memory, and for a stream.
    void Parse(std::string_view text);
    bool Read(std::istream& in, size_t maxBytes, std::string* error);
    void Clear();

    // Applies one token of the change log; false when it is ignored.
    bool Apply(std::string_view token);

    // The kind of an entry text by its "*" at the ends.
    static Kind KindOf(std::string_view text);

    // The word with "+" after its stressed vowel, when an entry matches.
    bool Match(std::string_view word, std::string& stressed) const;

    size_t Size() const;
    // Entries of one kind: text (with its "*") → stress index as the file
    // defines it (counted after the leading "*" of patterns that have one).
    const std::map<std::string, uint8_t>& Entries(Kind kind) const {
        return kinds_[static_cast<int>(kind)].byText;
    }

  private:
    struct KindMap {
        std::map<std::string, uint8_t> byText;  // as the file defines them
        // Folded letters without the "*" → stress index in them, and the
        // letters as written (for "ё").
        std::map<std::string, std::pair<uint8_t, std::string>, std::less<>> byBody;
        size_t longestBody = 0;
    };
    void Set(std::string text, uint8_t index);
    void Remove(const std::string& text);
    static std::string Body(std::string_view text);
    bool MatchWord(std::string_view key, std::string_view word, std::string& out) const;
    bool MatchEnding(std::string_view key, std::string_view word, std::string& out) const;
    bool MatchBeginning(std::string_view key, std::string_view word, std::string& out) const;
    bool MatchInner(std::string_view key, std::string_view word, std::string& out) const;

    KindMap kinds_[4];
};

}  // namespace lexicon
