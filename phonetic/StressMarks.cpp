#include "phonetic/StressMarks.h"

#include "phonetic/LetterTable.h"
#include "platform/CodePage.h"

namespace vox::letters {

bool ReadStressMarks(std::string_view text, MarkedLetters& out) {
    out.letters.clear();
    out.digits.clear();
    out.letters.reserve(text.size());
    out.digits.reserve(text.size());

    bool wordHasStress = false;
    bool afterVowel = false;  // the previous character of the text is a vowel letter
    for (char raw : text) {
        const char c = ToLower1251(raw);
        if (c == '+') {
            if (!afterVowel || wordHasStress) return false;
            out.digits.back() = '0';
            wordHasStress = true;
        } else if (c == '-') {
            if (!afterVowel) return false;
            out.digits.back() = '5';
        } else {
            // Every word break starts a new word, not only a blank: "до+м,до+м"
            // has two stressed words.
            if (LetterOf(c).kind == LetterKind::WordBreak) wordHasStress = false;
            out.letters.push_back(c);
            out.digits.push_back(wordHasStress ? '2' : '1');
        }
        afterVowel = LetterOf(c).kind == LetterKind::Vowel;
    }
    return true;
}

}  // namespace vox::letters
