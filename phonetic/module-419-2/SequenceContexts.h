// Module 419.2's vowel sequences (two vowels, or a vowel and J', recorded
// as one unit) and the context classes that name them by the sound before.
#pragma once

#include <array>
#include <string_view>

namespace vox::sequences {

// The sequence phonemes without their stress digit.
inline constexpr std::array<std::string_view, 22> kSequenceNames = {
    "AA", "AE", "AU", "UA", "UE",  "UU",  "IA",  "IE",  "IU",  "YA",  "YE",
    "YU", "EA", "EE", "EU", "AJ'", "EJ'", "YJ'", "IJ'", "OJ'", "UJ'", "OE",
};

constexpr bool IsSequenceName(std::string_view stripped) {
    for (std::string_view name : kSequenceNames)
        if (name == stripped) return true;
    return false;
}

struct ContextClass {
    std::string_view phoneme;  // the sound before the sequence
    char digit;                // its class, the allophone's context part
};

// Soft consonants 1, soft velars 2, hard front consonants 3, hard labials
// and L 4, hard velars 5 (boundaries are class 5 too, by their attributes).
inline constexpr std::array<ContextClass, 36> kContextClasses = {{
    {"P'", '1'},  {"B'", '1'},  {"M'", '1'}, {"V'", '1'}, {"F'", '1'}, {"T'", '1'},
    {"D'", '1'},  {"N'", '1'},  {"L'", '1'}, {"S'", '1'}, {"Z'", '1'}, {"R'", '1'},
    {"SH'", '1'}, {"CH'", '1'}, {"J'", '1'}, {"G'", '2'}, {"K'", '2'}, {"X'", '2'},
    {"T", '3'},   {"D", '3'},   {"N", '3'},  {"S", '3'},  {"Z", '3'},  {"C", '3'},
    {"R", '3'},   {"SH", '3'},  {"ZH", '3'}, {"P", '4'},  {"B", '4'},  {"M", '4'},
    {"V", '4'},   {"F", '4'},   {"L", '4'},  {"G", '5'},  {"K", '5'},  {"X", '5'},
}};

// The class digit of the sound before a sequence; '\0' when it has none.
constexpr char ContextDigit(std::string_view before) {
    for (const ContextClass& c : kContextClasses)
        if (c.phoneme == before) return c.digit;
    return '\0';
}

}  // namespace vox::sequences
