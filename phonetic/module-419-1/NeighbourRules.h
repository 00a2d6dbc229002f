// The fixed tables of the neighbour-named allophones of modules 419.1 and
// 419.2: consonant clusters recorded as one transition, the consonants that
// join the first sound of the next word, and the substitutes of vowels.
#pragma once

#include <algorithm>
#include <array>
#include <string_view>

namespace vox::neighbours {

struct PhonemePair {
    std::string_view first;
    std::string_view second;
};

// A consonant named after the consonant that follows it ("T" before "L'"
// gives "T-L'"); any other consonant before a consonant keeps its bare name.
inline constexpr std::array<PhonemePair, 20> kClusters = {{
    {"T", "L"},   {"D", "L"},  {"T", "L'"}, {"D", "L'"}, {"T", "N"},  {"D", "N"},  {"T", "N'"},
    {"D", "N'"},  {"B", "M"},  {"B", "M'"}, {"P", "M"},  {"T", "S"},  {"D", "Z'"}, {"T", "CH'"},
    {"T", "SH'"}, {"T", "SH"}, {"T", "C"},  {"D", "ZH"}, {"P", "M'"}, {"T", "S'"},
}};

// A consonant before "_" joined to the first sound of the next word: the
// allophone is `prefix` + "-" + that sound. "T'" takes the hard prefix.
struct WordJoin {
    std::string_view consonant;
    std::string_view prefix;  // "" keeps the consonant's own name
    std::array<std::string_view, 10> next;
};

inline constexpr std::array<WordJoin, 5> kWordJoins = {{
    {"T", "T", {"L", "L'", "N", "N'", "S", "S'", "SH", "SH'", "C", "CH'"}},
    {"T'", "T", {"L", "L'", "N", "N'", "S", "S'", "SH", "SH'", "C", "CH'"}},
    {"D", "D", {"L", "L'", "N", "N'", "Z'", "ZH"}},
    {"B", "", {"M", "M'"}},
    {"P", "", {"M", "M'"}},
}};

// The substitute of a vowel allophone without "5", "O1" or "O2": the
// context the voice is sure to have for the vowel of its phoneme part.
struct VowelSubstitute {
    std::string_view phoneme;
    std::string_view context;
};

inline constexpr std::array<VowelSubstitute, 16> kVowelSubstitutes = {{
    {"A0", "#"},
    {"A1", "#"},
    {"E0", "#"},
    {"E1", "#"},
    {"U0", "#"},
    {"U1", "#"},
    {"I0", "#"},
    {"I1", "#"},
    {"O0", "#"},
    {"Y0", "K"},
    {"A2", "K"},
    {"U2", "K"},
    {"Y1", "K"},
    {"E2", "C"},
    {"I2", "K'"},
    {"Y2", "T"},
}};

constexpr bool IsCluster(std::string_view first, std::string_view second) {
    return std::any_of(kClusters.begin(), kClusters.end(), [&](const PhonemePair& p) {
        return p.first == first && p.second == second;
    });
}

}  // namespace vox::neighbours
