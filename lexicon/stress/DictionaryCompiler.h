// Compiles a stressed word list into the memory-mappable dictionary file:
// the words sorted by their "ё"-folded spelling, and the model for unknown
// words learned from them (an ending tree; see EndingModel.h).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "FestvoxSource.h"

namespace lexicon {

// One dictionary word: its spelling ("ё" kept) and stressed letter.
struct LexiconWord {
    std::string word;
    uint8_t stress = 0;
    bool homograph = false;  // the source gives this spelling more than one stress
};

// Model settings stored in the file.
struct ModelSettings {
    uint8_t minStem = 3;    // a known word sharing at least this many first letters…
    uint8_t maxTail = 4;    // …and differing in at most this many last letters lends its stress
    uint8_t maxDepth = 10;  // longest ending the ending tree learns
};

// One word per folded spelling, sorted by it. Of several source entries for
// one folded spelling the one written with "ё" wins, else the first.
std::vector<LexiconWord> PrepareWords(const std::vector<SourceWord>& source);

// The whole file: words sorted as PrepareWords leaves them.
std::vector<uint8_t> CompileDictionary(const std::vector<LexiconWord>& words,
                                       const std::string& notice,
                                       const ModelSettings& settings = {});

// A file without words holding only the model learned from `words` (the
// model built into the program).
std::vector<uint8_t> CompileModelOnly(const std::vector<LexiconWord>& words,
                                      const std::string& notice,
                                      const ModelSettings& settings = {});

// The licence notice of the festvox-ru lexicon, kept inside the file.
std::string FestvoxNotice();

}  // namespace lexicon
