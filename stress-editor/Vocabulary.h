// The stress editor's view of the user vocabulary (lexicon::UserVocabulary
// reads the file and keeps the entries): words as a user types them, the
// tokens the editor appends, and the merged list it shows.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "lexicon/stress/UserVocabulary.h"

namespace accentor {

using lexicon::UserVocabulary;

struct Entry {
    std::string text;  // lower-case Windows-1251, "*" included
    int stress = 0;    // counted after the leading "*" characters
};

size_t LeadingStars(std::string_view text);
// Where the stressed character of an entry stands in its text.
size_t StressedCharPosition(const Entry& entry);
// The entry as a file token: its text with "+" after the stressed vowel.
std::string ToToken(const Entry& entry);

// A word as typed (Windows-1251, trimmed): the first "+" follows the
// stressed vowel, every "+" is dropped, the text is lower-cased. Nullopt
// unless that character is a Russian vowel, or when the text is empty, holds
// white space, or is longer than the file's reader accepts.
std::optional<Entry> ParseTypedWord(std::string_view typed);

// All entries of all kinds, ordered by the bytes of their texts.
std::vector<Entry> Merged(const UserVocabulary& vocabulary);
// The stress a text holds, if any.
std::optional<int> Find(const UserVocabulary& vocabulary, const std::string& text);

}  // namespace accentor
