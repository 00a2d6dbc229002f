// Placeholder until the dictionary and the model land: stress on the
// first vowel, "ё" always stressed.
#include "StressLexicon.h"

namespace lexicon {

namespace {
bool IsVowel1251(unsigned char c) {
    static constexpr unsigned char kVowels[] = {0xE0, 0xE5, 0xB8, 0xE8, 0xEE, 0xF3,
                                                0xFB, 0xFD, 0xFE, 0xFF};  // а е ё и о у ы э ю я
    for (unsigned char v : kVowels)
        if (c == v) return true;
    return false;
}
}  // namespace

struct StressLexicon::Impl {};

StressLexicon::StressLexicon() : impl_(std::make_unique<Impl>()) {}
StressLexicon::~StressLexicon() = default;

bool StressLexicon::OpenDictionary(const std::string&, std::string* error) {
    if (error) *error = "the dictionary is not built yet";
    return false;
}
bool StressLexicon::HasDictionary() const { return false; }
bool StressLexicon::LoadUserVocabulary(const std::string&, std::string*) { return true; }

std::string StressLexicon::Stress(std::string_view word) const { return Stress(word, nullptr); }

std::string StressLexicon::Stress(std::string_view word, Source* source) const {
    std::string out(word);
    if (source) *source = Source::None;
    size_t at = out.find('\xB8');
    if (at == std::string::npos)
        for (size_t i = 0; i < out.size(); ++i)
            if (IsVowel1251(static_cast<unsigned char>(out[i]))) {
                at = i;
                break;
            }
    if (at != std::string::npos) {
        out.insert(at + 1, "+");
        if (source) *source = Source::Model;
    }
    return out;
}

std::string DefaultDictionaryPath() { return {}; }

}  // namespace lexicon
