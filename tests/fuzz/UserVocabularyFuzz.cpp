// The user's stress vocabulary on arbitrary bytes: every entry read has its
// stress on a vowel of its letters, and every match puts one "+" after a
// vowel of the word.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "lexicon/stress/StressText.h"
#include "lexicon/stress/UserVocabulary.h"

using lexicon::UserVocabulary;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    UserVocabulary v;
    std::istringstream in(text);
    std::string error;
    if (!v.Read(in, 1 << 20, &error)) std::abort();
    for (auto kind : {UserVocabulary::Kind::Word, UserVocabulary::Kind::Ending,
                      UserVocabulary::Kind::Beginning, UserVocabulary::Kind::Inner})
        for (const auto& [entry, index] : v.Entries(kind)) {
            size_t start = 0;
            if (kind == UserVocabulary::Kind::Ending || kind == UserVocabulary::Kind::Inner)
                start = entry.find_first_not_of('*');
            if (entry.size() > 126 || start + index >= entry.size() ||
                !lexicon::IsVowel1251(entry[start + index]))
                std::abort();
        }
    // The input's own tokens as words.
    std::istringstream words(text);
    std::string word, stressed;
    for (int n = 0; n < 64 && words >> word; ++n) {
        word.erase(std::remove(word.begin(), word.end(), '+'), word.end());
        if (!v.Match(word, stressed)) continue;
        const size_t plus = stressed.find('+');
        if (plus == std::string::npos || plus == 0 ||
            stressed.find('+', plus + 1) != std::string::npos ||
            !lexicon::IsVowel1251(stressed[plus - 1]) || stressed.size() != word.size() + 1)
            std::abort();
    }
    return 0;
}
