// Second stage: tokens grouped into sentences and syntagmas. Boundaries come
// from punctuation (SyntagmaTypes.h); runs without punctuation are split at
// word boundaries so that no syntagma and no sentence is unbounded.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "text/SyntagmaTypes.h"
#include "text/Tokenizer.h"

namespace lexicon {

struct SyntagmaSpan {
    uint32_t begin = 0;  // token range [begin, end), boundary punctuation included
    uint32_t end = 0;
    Boundary boundary = Boundary::Period;
};

struct SentenceSpan {
    int64_t pos = 0;  // characters: first to last readable token
    int32_t len = 0;
    std::vector<SyntagmaSpan> syntagmas;
};

inline constexpr int kMaxSyntagmaTokens = 24;     // readable tokens before a split
inline constexpr int kMaxSentenceSyntagmas = 12;  // syntagmas of a run before a new sentence

// `readable(i)` tells whether token i gives words; sentences and syntagmas
// without readable tokens are dropped.
std::vector<SentenceSpan> SplitSentences(std::string_view text, const std::vector<Token>& tokens,
                                         const std::function<bool(size_t)>& readable);

// True for words that a period after them does not end ("т", "г", "руб").
bool IsAbbreviationWithPeriod(std::string_view lowerWord);

}  // namespace lexicon
