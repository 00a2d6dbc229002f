// The writer's stress marks: "+" directly after the stressed vowel of a word,
// "-" directly after a vowel with secondary stress. Reading them gives every
// letter of the text its stress digit.
#pragma once

#include <string>
#include <string_view>

namespace vox::letters {

// The text without its stress marks, lower-cased, and one stress digit per
// letter: "0" the vowel marked "+", "5" a vowel marked "-", "1" before the
// word's "+", "2" after it.
struct MarkedLetters {
    std::string letters;
    std::string digits;
};

// Lower-cases `text` (fixed Windows-1251 table) and reads its stress marks.
// False for a misplaced mark: a "+" or "-" that does not follow a vowel, or a
// second "+" in one word.
bool ReadStressMarks(std::string_view text, MarkedLetters& out);

}  // namespace vox::letters
