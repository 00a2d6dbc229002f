// The stressed word list of Debian's festvox-ru voice (`dict/*_dict.scm`,
// UTF-8): a header line "MNCL", then entries ("word" POS (N)) with an
// optional flag fix_yo, several entries allowed on one line. N is the
// 1-based number of the stressed vowel letter (0: unstressed word); fix_yo
// says the stressed "е" is "ё". Only `voxamen lexicon build` reads it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lexicon {

struct SourceWord {
    std::string word;  // lower-case Windows-1251, "ё" restored from fix_yo
    uint8_t stress;    // position of the stressed vowel letter in `word`
};

struct SourceLexicon {
    std::vector<SourceWord> words;      // in file order, duplicates kept
    std::vector<std::string> problems;  // "file:line: what" (UTF-8), entries skipped
    size_t unstressed = 0;              // entries with N = 0 (skipped)
};

// Default source: the festvox-ru package's lexicon.
inline constexpr const char* kFestvoxLexiconPath =
    "/usr/share/festival/voices/russian/msu_ru_nsh_clunits/dict/msu_ru_nsh_dict.scm";

SourceLexicon ParseFestvoxLexicon(std::string_view utf8, const std::string& path);

// False with `error` set when the file cannot be read.
bool LoadFestvoxLexicon(const std::string& path, SourceLexicon& out, std::string& error);

}  // namespace lexicon
