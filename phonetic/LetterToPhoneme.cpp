#include "phonetic/LetterToPhoneme.h"

#include "phonetic/ClusterRules.h"
#include "phonetic/LetterPass.h"
#include "phonetic/StressMarks.h"

namespace vox {

std::string LettersToPhonemes(std::string_view letters, const LetterToPhonemeOptions& options) {
    letters::MarkedLetters marked;
    if (!letters::ReadStressMarks(letters, marked)) return {};

    std::string phonemes;
    phonemes.reserve(4 * marked.letters.size() + 8);
    letters::AppendLetterPhonemes(marked, phonemes, options.reduceUnstressedJo);
    letters::RewriteClusters(phonemes, marked.letters, {options.zhClusterRule});
    letters::ClosePhrase(phonemes);
    return phonemes;
}

}  // namespace vox
