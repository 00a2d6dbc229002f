#include "text/Charset.h"

#include "platform/CodePage.h"
#include "stress/StressText.h"

namespace lexicon {

bool IsVowel(unsigned char c) {
    return IsVowel1251(static_cast<char>(c));
}

char Lower(char c) {
    return vox::ToLower1251(c);
}
std::string Lower(std::string_view text) {
    return vox::ToLower1251(text);
}
std::string W(std::string_view utf8) {
    return vox::Utf8ToCp1251(utf8);
}

}  // namespace lexicon

#include <algorithm>

namespace lexicon {

WordSet::WordSet(std::initializer_list<const char*> utf8) {
    for (const char* w : utf8) words_.push_back(W(w));
    std::sort(words_.begin(), words_.end());
}

bool WordSet::Has(std::string_view word) const {
    return std::binary_search(words_.begin(), words_.end(), word,
                              [](std::string_view a, std::string_view b) { return a < b; });
}

}  // namespace lexicon
