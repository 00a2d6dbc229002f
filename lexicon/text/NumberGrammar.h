// How a number agrees with its sentence: the case from the governing
// preposition and the noun after it, the gender from that noun, and the
// nouns of units, currencies and abbreviations counted by numbers.
#pragma once

#include <string>
#include <string_view>

#include "text/NumberWords.h"

namespace lexicon {

struct Agreement {
    Case c = Case::Nom;
    Gender g = Gender::Masc;
};

// `preposition`: the lower-case word before the number ("" when none);
// `noun`: the lower-case word after it ("" when none); `digits` the number.
Agreement Agree(std::string_view preposition, std::string_view noun, std::string_view digits);

// The case a preposition governs when nothing else tells; Nom when the word
// is not a preposition. Ambiguous ones (в, на, с, за, под) take the noun's
// ending into account.
Case CaseOfPreposition(std::string_view preposition, std::string_view noun, bool one);

// The case and gender an ordinal's written ending gives ("1-й", "2-го",
// "90-е", "в 3-м"), with the preposition before and the noun after it;
// false when `ending` is not an ordinal ending.
bool OrdinalEnding(std::string_view ending, std::string_view digits, std::string_view preposition,
                   std::string_view noun, Agreement* out);

// A unit, currency or abbreviation read after (or, for currency signs,
// before) a number: "%", "руб", "км", "$". Null when unknown. `word` is
// lower-case, without its period.
const NounForms* UnitNoun(std::string_view word);
// The case of a number counting a unit after `preposition`: "в" with a unit
// of length is a distance ("в 5 км от города", prepositional); otherwise
// `c`, the case the preposition gives.
Case UnitCase(std::string_view preposition, std::string_view unitWord, Case c);
// Currency signs that stand before the number ("$5").
bool IsLeadingCurrency(std::string_view symbol);

// Month names in the genitive ("января" ... "декабря"), 1-based; 0 if not one.
int MonthOfGenitive(std::string_view lowerWord);
const std::string& MonthGenitive(int month);  // "+" marked
// The noun "год" in all cases, "лет" for the counted plural.
const NounForms& YearNoun();
// Forms of "год" after an ordinal: "году" for in-year, etc.; Nom..Prep.
bool IsYearWord(std::string_view lowerWord, Case* c, bool* plural);

}  // namespace lexicon
