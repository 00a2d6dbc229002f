// Stress of Russian words: the compiled dictionary (memory-mapped), the
// user's vocabulary that overrides it, and the model that guesses the
// stress of words found in neither. Words are lower-case Windows-1251 text.
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace lexicon {

class StressLexicon {
  public:
    StressLexicon();
    ~StressLexicon();
    StressLexicon(const StressLexicon&) = delete;
    StressLexicon& operator=(const StressLexicon&) = delete;

    // Maps the compiled dictionary. On failure the lexicon keeps working
    // with the model only, `error` tells why, and the first failure of this
    // lexicon is also reported through the message sink (callers need not).
    bool OpenDictionary(const std::string& path, std::string* error);
    bool HasDictionary() const;

    // (Re)reads the user vocabulary file; a missing file means no entries.
    bool LoadUserVocabulary(const std::string& path, std::string* error);

    // The word with "+" after its stressed vowel ("молоко+", "ёлка" keeps
    // its "ё" and gets "ё+"); a word typed with "е" for "ё" comes back with
    // its "ё". A word without vowels comes back unchanged. Never empty for
    // a non-empty word.
    std::string Stress(std::string_view word) const;

    // Where the stress came from, for `voxamen lexicon lookup`.
    enum class Source { User, Dictionary, Model, None };
    std::string Stress(std::string_view word, Source* source) const;

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// Default location of the compiled dictionary: $VOXAMEN_STRESS_DICTIONARY
// when set, else ${XDG_DATA_HOME:-$HOME/.local/share}/voxamen/lexicon/ru-stress.vxs.
std::string DefaultDictionaryPath();

// The user vocabulary file the registry names (value "AccentorBase" of HKLM
// "Software\Vostrelin\Glossor Module\419"), or "" when it names none.
std::string UserVocabularyPathFromRegistry();

}  // namespace lexicon
