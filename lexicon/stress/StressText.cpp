#include "StressText.h"

namespace lexicon {

std::string FoldYo(std::string_view word) {
    std::string out(word);
    for (char& ch : out)
        if (ch == kYo) ch = kYe;
    return out;
}

size_t CountVowels(std::string_view word) {
    size_t n = 0;
    for (char ch : word) n += IsVowel1251(ch) ? 1 : 0;
    return n;
}

size_t VowelFromEnd(std::string_view word, int n) {
    for (size_t i = word.size(); i-- > 0;)
        if (IsVowel1251(word[i]) && --n == 0) return i;
    return std::string_view::npos;
}

int VowelNumberFromEnd(std::string_view word, size_t pos) {
    int n = 0;
    for (size_t i = pos; i < word.size(); ++i) n += IsVowel1251(word[i]) ? 1 : 0;
    return n;
}

std::string MarkStress(std::string_view word, size_t pos) {
    if (pos >= word.size()) return std::string(word);
    std::string out;
    out.reserve(word.size() + 1);
    out.append(word.substr(0, pos + 1));
    out.push_back('+');
    out.append(word.substr(pos + 1));
    return out;
}

}  // namespace lexicon
