// Module 419.0's allophone rules as read from its rule file
// (docs/formats/allomod-419-0-cfg.md), and the choice of one allophone.
//
// A rules block names phonemes and gives, per neighbour distance and side, the
// class (group name) of each neighbour; the classes of the neighbours form a
// context key such as "L2Vow,L1Son-R1Pal", and the key selects the suffix that
// follows the phoneme's name without its stress digit.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace vox {

// Group names carry their distance as the second character ("L1Son"), so
// there are ten distances, 0 to 9 (0 is never looked up).
inline constexpr size_t kRuleDistances = 10;

using ClassMap = std::map<std::string, std::string, std::less<>>;  // phoneme name → class

struct RuleRecord {
    std::array<ClassMap, kRuleDistances> left;
    std::array<ClassMap, kRuleDistances> right;
    std::map<std::string, std::string, std::less<>> keys;  // context key → suffix
    std::string defaultSuffix;
};

struct PhonemeAttribute {
    bool vowel = false;
    int32_t number = 0;
    int32_t viseme = 0;
};

struct RuleSet {
    std::map<std::string, std::vector<std::string>, std::less<>> groups;  // in file order
    std::map<std::string, bool, std::less<>> chained;  // declared with a leading "*"
    // One record per rules block, shared by every phoneme the block names.
    std::map<std::string, std::shared_ptr<const RuleRecord>, std::less<>> rules;
    // Read and checked, but not used for choosing allophones.
    std::map<std::string, PhonemeAttribute, std::less<>> attributes;
    std::map<std::string, std::vector<std::string>, std::less<>> otherBlocks;
};

// The allophone of phonemes[i]: its name cut at the first digit plus the
// suffix its context selects; "" when no rules block names the phoneme. The
// walk along a chain of groups stops at the ends of the list.
std::string ChooseAllophone(const RuleSet& rules, std::span<const std::string> phonemes, size_t i);

}  // namespace vox
