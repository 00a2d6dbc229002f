// Numbers in their context: cardinals and ordinals that agree with the
// preposition and noun around them, dates, times, decimals, fractions,
// ranges, signs, percentages, currencies, ordinals with endings, digit
// groups and very long digit strings.
#pragma once

#include <vector>

#include "text/Spoken.h"

namespace lexicon {

// A caller's hint ("Context=" attribute) that overrides guessing.
enum class NumberHint : unsigned char { None, Date, Time, Number, Telephone, Spell };

// Reads the number construct at token i of the view (a digit run, or a sign
// or currency symbol glued to one) and the unit or ordinal ending that
// belongs to it. Returns the index of the first token not consumed (> i).
// Every word produced carries the span of the whole construct.
size_t ReadNumber(const TokenView& v, size_t i, NumberHint hint, std::vector<SpokenWord>& out);

// True when token i starts a number construct (a digit run, or "+", "-",
// "$", "€", "№" right before one).
bool StartsNumber(const TokenView& v, size_t i);

// Digits read in groups of at most three ("007" "ноль ноль семь"); for
// numbers too long to read as one and for telephone-like groups.
void DigitGroups(std::string_view digits, std::vector<std::string>& out);

}  // namespace lexicon
