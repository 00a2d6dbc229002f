// Clitics: prepositions, conjunctions and particles that have no stress of
// their own and are spoken as one phonetic word with their neighbour
// ("в э+том", "из до+ма", "о+н же"), and the letters that the phonetic
// module transcribes for such a word.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "text/Spoken.h"

namespace lexicon {

// Proclitics join the next word: one-syllable prepositions (в, из, без,
// под, над, об, от, с, к, на, по, за, до, о, у, при, про, для, ...), the
// conjunctions и, а, но and the particles не, ни.
bool IsProclitic(std::string_view lowerWord);
// Enclitics join the word before: ли, ль, же, ж, бы, б.
bool IsEnclitic(std::string_view lowerWord);

// Marks the clitics among words whose stress is not given.
void MarkClitics(std::vector<SpokenWord>& words);

// A proclitic that takes the stress of its word: "не+ был", "не+ было",
// "не+ дали" (the verb then has none). After MarkClitics.
void StressedProclitics(std::vector<SpokenWord>& words);

// A phonetic word: what it shows (words joined by blanks, "+" marks), the
// letters for the phonetic module, and its source span.
struct PhoneticWord {
    std::string shown;
    std::string letters;
    int64_t pos = 0;
    int32_t len = 0;
    std::string pron;  // the caller's transcription, used as it is
};

// Joins clitics with their neighbours inside one syntagma. Every word must
// carry its stress by now (clitics none).
std::vector<PhoneticWord> JoinClitics(const std::vector<SpokenWord>& words);

// The module's letters for one spoken word or a chain of them: pronunciation
// fixes, hyphens removed, "ъ" between a proclitic ending in a consonant and
// a word starting with a vowel (so "в игре" is read "въигре", not "вигре"),
// one primary stress (earlier ones become secondary "-") and every
// unstressed "ё" marked secondary so that it is never reduced.
std::string ModuleLetters(const std::vector<const SpokenWord*>& chain);

}  // namespace lexicon
