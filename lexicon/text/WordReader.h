// Third stage: the tokens of one syntagma turned into the words that are
// spoken: Russian words as written, abbreviations expanded, initialisms and
// Latin words read, numbers through NumberReader, symbols named, and
// punctuation named where the caller asked for it.
#pragma once

#include <vector>

#include "text/NumberReader.h"
#include "text/Spoken.h"

namespace lexicon {

// Per-token requests of the caller's attributes.
struct TokenRequest {
    bool spell = false;                  // "Spell": letters by their names
    bool punctuation = false;            // "Punc": punctuation read aloud
    NumberHint hint = NumberHint::None;  // "Context="
    int pron = -1;                       // "Pron=": index of the caller's transcription
};

// `requests` is empty or parallel to the tokens.
void ReadWords(const TokenView& v, const std::vector<TokenRequest>& requests,
               std::vector<SpokenWord>& out);

// Whether token i gives any word (for dropping empty syntagmas).
bool IsReadable(const TokenView& v, size_t i, const TokenRequest* request);

// The reading of a symbol ("%" "проце+нт"), empty when it has none.
const std::string& SymbolReading(unsigned char c);
const std::string& PunctuationReading(unsigned char c);

}  // namespace lexicon
