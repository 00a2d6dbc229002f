// Russian number words with their stress: cardinals and ordinals in the six
// cases, three genders and the plural, and the form a counted noun takes.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace lexicon {

enum class Case : unsigned char { Nom, Gen, Dat, Acc, Ins, Prep };
enum class Gender : unsigned char { Masc, Fem, Neut, Plural };

// Form of a noun counted by a number, in the nominative or accusative:
// "1 год" One, "2 года" Few, "5 лет" Many. In other cases One is singular
// and Few/Many plural.
enum class CountForm : unsigned char { One, Few, Many };

// Digits without leading zeros ("0" for zero), at most kMaxCardinalDigits.
inline constexpr size_t kMaxCardinalDigits = 15;

CountForm CountFormOf(std::string_view digits);

// Appends the words of the number (1251, "+" after the stressed vowel).
// Accusative is read as for inanimate nouns.
void Cardinal(std::string_view digits, Case c, Gender g, std::vector<std::string>& out);
// Only the last word is an ordinal ("тысяча девятьсот девяносто девятый");
// round thousands fuse ("двухтысячный").
void Ordinal(std::string_view digits, Case c, Gender g, std::vector<std::string>& out);

// The digit's own name for digit-by-digit reading ("ноль", "один", ...).
const std::string& DigitName(char digit);

// Words of a noun by count: forms[0] nominative singular, [1] genitive
// singular, [2] genitive plural; the other cases from the full table.
struct NounForms {
    std::string sg[6];
    std::string pl[6];
    Gender gender = Gender::Masc;
};
// The noun's form after the number in case c.
const std::string& CountedNoun(const NounForms& noun, std::string_view digits, Case c);

// Denominator words of decimals: "десятая", "сотая", ... for 10^k, k in 1..9.
void FractionOrdinal(int power, Case c, Gender g, std::vector<std::string>& out);

}  // namespace lexicon
