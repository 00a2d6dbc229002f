// The one table from punctuation to syntagma types: a phrase mark and a
// final pause mark joined by "|", both from the engine's mark vocabulary.
//
//   boundary                                  type
//   "." or the end of the text                "(.)|(.)"      declarative
//   "..." or "…" ending a sentence            "(..)|(..)"    trailing off
//   "!" (also "!!", "?!" counts as question)  "(!)|(!.)"     exclamation
//   "?" general question                      "(?)|(?.)"     rising
//   "?" special question (question word)      "(?.)|(?.)"    falling, like a statement
//   ","                                       "(,)|(,)"
//   ";"                                       "(;)|(;)"
//   ":"                                       "(:)|(:)"
//   dash between blanks ("—", "–", " - ")     "(-)|(-)"
//   "(" ")" "[" "]"                           "(())|(())"
//   a long run split at a word boundary       "(,,)|(,,)"
#pragma once

#include <string_view>

namespace lexicon {

enum class Boundary : unsigned char {
    Period,
    Ellipsis,
    Exclamation,
    GeneralQuestion,
    SpecialQuestion,
    Comma,
    Semicolon,
    Colon,
    Dash,
    Parenthesis,
    Split,
};

const char* SyntagmaType(Boundary b);

// Words that make a question special ("где", "когда", ...); lower-case 1251.
bool IsQuestionWord(std::string_view word);

}  // namespace lexicon
