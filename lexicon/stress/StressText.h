// Letters of lower-case Windows-1251 words as the stress code sees them:
// vowels, "ё" and its folding to "е", and the "+" that marks a stress.
#pragma once

#include <string>
#include <string_view>

namespace lexicon {

inline constexpr char kYo = '\xB8';  // ё
inline constexpr char kYe = '\xE5';  // е

inline bool IsVowel1251(char ch) {
    switch (static_cast<unsigned char>(ch)) {
        case 0xE0:
        case 0xE5:
        case 0xB8:
        case 0xE8:
        case 0xEE:  // а е ё и о
        case 0xF3:
        case 0xFB:
        case 0xFD:
        case 0xFE:
        case 0xFF:  // у ы э ю я
            return true;
        default:
            return false;
    }
}

// The word with every "ё" written "е": the key words are looked up by.
std::string FoldYo(std::string_view word);

size_t CountVowels(std::string_view word);

// Position of the n-th vowel counted from the end (1: the last), or npos.
size_t VowelFromEnd(std::string_view word, int n);

// Number of the vowel at `pos` counted from the end (1: the last).
int VowelNumberFromEnd(std::string_view word, size_t pos);

// The word with "+" inserted after position `pos`.
std::string MarkStress(std::string_view word, size_t pos);

}  // namespace lexicon
