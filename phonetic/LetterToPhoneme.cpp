#include "phonetic/LetterToPhoneme.h"

namespace vox {

std::string LettersToPhonemes(std::string_view, const LetterToPhonemeOptions&) {
    return {};  // conversion rules arrive with the letter-to-phoneme work
}

}  // namespace vox
