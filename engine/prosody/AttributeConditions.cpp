#include "engine/prosody/AttributeConditions.h"

#include <algorithm>
#include <array>

namespace vox {

namespace {

struct Keyword {
    std::string_view text;
    int bit;
};

// Bits 46-48, 56, 57 and 60-63 have no keyword: rule files cannot test them.
constexpr Keyword kKeywords[] = {
    {"None", 0},
    {"Any", 1},
    {"Vowel", 2},
    {"Stressed", 3},
    {"Unstressed", 4},
    {"FullStressed", 5},
    {"PartialStressed", 6},
    {"Pretonic", 7},
    {"Posttonic", 8},
    {"Consonant", 9},
    {"Voiced", 10},
    {"Voiceless", 11},
    {"Occlusive", 12},
    {"Fricative", 13},
    {"Plosive", 14},
    {"Sonant", 15},
    {"Affricate", 16},
    {"Hard", 17},
    {"Soft", 18},
    {"Vibrant", 19},
    {"Open", 20},
    {"Closed", 21},
    {"FirstSyl", 22},
    {"MidSyl", 23},
    {"LastSyl", 24},
    {"NonFirstSyl", 25},
    {"NonMidSyl", 26},
    {"NonLastSyl", 27},
    {"StressedSyl", 28},
    {"UnstressedSyl", 29},
    {"PretonicSyl", 30},
    {"PosttonicSyl", 31},
    {"Adjoining", 32},
    {"NonAdjoining", 33},
    {"FirstAU", 34},
    {"MidAU", 35},
    {"LastAU", 36},
    {"NonFirstAU", 37},
    {"NonMidAU", 38},
    {"NonLastAU", 39},
    {"HasPretonicSyl", 40},
    {"NoPretonicSyl", 41},
    {"HasPosttonicSyl", 42},
    {"NoPosttonicSyl", 43},
    {"Homoorganic", 44},
    {"NonHomoorganic", 45},
    {"SamePhoneme1", 49},
    {"SamePhoneme2", 50},
    {"Diphthong", 51},
    {"Neutral", 52},
    {"Type1", 53},
    {"Type2", 54},
    {"Type3", 55},
    {"Short", 58},
    {"Long", 59},
};

constexpr auto kSorted = [] {
    std::array<Keyword, std::size(kKeywords)> sorted{};
    std::copy(std::begin(kKeywords), std::end(kKeywords), sorted.begin());
    std::sort(sorted.begin(), sorted.end(),
              [](const Keyword& a, const Keyword& b) { return a.text < b.text; });
    return sorted;
}();

bool IsSeparator(char c) {
    return c == ' ' || c == ',' || c == '=';
}

int PositionWord(std::string_view token) {
    if (token == "L2") return kL2;
    if (token == "L1") return kL1;
    if (token == "R1") return kR1;
    if (token == "R2") return kR2;
    return -1;
}

}  // namespace

std::optional<uint64_t> KeywordMask(std::string_view keyword) {
    auto it = std::lower_bound(kSorted.begin(), kSorted.end(), keyword,
                               [](const Keyword& k, std::string_view t) { return k.text < t; });
    if (it == kSorted.end() || it->text != keyword) return std::nullopt;
    return uint64_t{1} << it->bit;
}

bool ParseConditionLine(std::string_view line, ConditionRecord& record, std::string& unknown) {
    int position = -1;
    size_t pos = 0;
    while (pos < line.size()) {
        while (pos < line.size() && IsSeparator(line[pos])) ++pos;
        size_t end = pos;
        while (end < line.size() && !IsSeparator(line[end])) ++end;
        if (end == pos) break;
        const std::string_view token = line.substr(pos, end - pos);
        pos = end;
        const int word = PositionWord(token);
        if (position < 0) position = word >= 0 ? word : kSelf;
        if (word >= 0) continue;
        const std::optional<uint64_t> mask = KeywordMask(token);
        if (!mask) {
            unknown.assign(token);
            return false;
        }
        record.mask[position] |= *mask;
    }
    return true;
}

PhonemeContext BuildContext(std::span<const uint64_t> sds, size_t i) {
    constexpr uint64_t kOutside = 1;  // "None" alone
    const size_t n = sds.size();
    PhonemeContext c;
    c.sd[kSelf] = i < n ? sds[i] : kOutside;
    c.sd[kL2] = i >= 2 && i - 2 < n ? sds[i - 2] : kOutside;
    c.sd[kL1] = i >= 1 && i - 1 < n ? sds[i - 1] : kOutside;
    c.sd[kR1] = i + 1 < n ? sds[i + 1] : kOutside;
    c.sd[kR2] = i + 2 < n ? sds[i + 2] : kOutside;
    return c;
}

}  // namespace vox
