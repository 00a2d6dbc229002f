// Words that are not Russian words as written: letter names for spelling,
// initialisms, Latin words in a Russian reading, Roman numerals.
#pragma once

#include <string>
#include <string_view>

namespace lexicon {

// The Russian name of a letter (Cyrillic or Latin) or digit, "+" marked;
// empty for other characters.
std::string LetterName(unsigned char c);

// The word spelled: letter names joined by "-", the last one stressed
// ("сэ-шэ-а+"); characters without a name are left out.
std::string Spell(std::string_view word);

// An upper-case Cyrillic word of 2 to 6 letters is an initialism. It is
// spelled when it has no vowel or has two consonants in a row ("США",
// "МГУ", "РФ"), and read as a word otherwise ("МИД", "ВУЗ", "НАТО").
// Initialisms said as words against that rule ("ГОСТ", "МХАТ", "ТАСС",
// "СПИД", "ЗАГС", "МКАД") are listed.
bool IsInitialism(std::string_view word);
bool SpellInitialism(std::string_view word);
// An initialism's spoken spelling: the letter names of Spell, except the
// few said with other names by custom ("США" is "сэ-шэ-а+").
std::string ReadInitialism(std::string_view word);

// A Latin word in a Russian reading, lower-case 1251 Cyrillic, or the word
// spelled with Latin letter names when it cannot be pronounced (no vowel,
// all capitals of up to 4 letters).
std::string ReadLatin(std::string_view word);

// The value of an upper-case Roman numeral (I..MMMM), 0 when the word is
// not one.
int RomanValue(std::string_view word);

}  // namespace lexicon
