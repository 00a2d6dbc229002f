#include "phonetic/module-419-0/AllophoneRules.h"

#include <optional>

namespace vox {

namespace {

bool IsChained(const RuleSet& rules, std::string_view group) {
    auto it = rules.chained.find(group);
    return it != rules.chained.end() && it->second;
}

// The class of the neighbour at distance d on one side; nullopt when the
// neighbour lies beyond the list or belongs to no group of that distance.
std::optional<std::string_view> ClassAt(const std::array<ClassMap, kRuleDistances>& classes,
                                        std::span<const std::string> phonemes, size_t i, size_t d,
                                        bool toTheRight) {
    if (d >= kRuleDistances) return std::nullopt;
    if (toTheRight ? i + d >= phonemes.size() : d > i) return std::nullopt;
    const ClassMap& map = classes[d];
    auto it = map.find(phonemes[toTheRight ? i + d : i - d]);
    if (it == map.end()) return std::nullopt;
    return std::string_view(it->second);
}

// The classes along one side, nearest first, following chained groups;
// nullopt when even the nearest neighbour has no class.
std::optional<std::vector<std::string_view>> SideClasses(const RuleSet& rules,
                                                         const RuleRecord& record,
                                                         std::span<const std::string> phonemes,
                                                         size_t i, bool toTheRight) {
    std::vector<std::string_view> found;
    const auto& classes = toTheRight ? record.right : record.left;
    for (size_t d = 1;; ++d) {
        std::optional<std::string_view> cls = ClassAt(classes, phonemes, i, d, toTheRight);
        if (!cls) return std::nullopt;
        found.push_back(*cls);
        if (!IsChained(rules, *cls)) return found;
    }
}

}  // namespace

std::string ChooseAllophone(const RuleSet& rules, std::span<const std::string> phonemes, size_t i) {
    const std::string& name = phonemes[i];
    auto rule = rules.rules.find(name);
    if (rule == rules.rules.end()) return {};
    const RuleRecord& record = *rule->second;

    size_t digit = 0;
    while (digit < name.size() && (name[digit] < '0' || name[digit] > '9')) ++digit;
    std::string allophone = name.substr(0, digit);

    auto right = SideClasses(rules, record, phonemes, i, true);
    auto left = right ? SideClasses(rules, record, phonemes, i, false) : std::nullopt;
    if (!right || !left) return allophone + record.defaultSuffix;

    // Left classes farthest first, then "-", then right classes nearest first.
    std::string key;
    for (auto it = left->rbegin(); it != left->rend(); ++it) {
        if (it != left->rbegin()) key += ',';
        key += *it;
    }
    key += '-';
    for (size_t k = 0; k < right->size(); ++k) {
        if (k > 0) key += ',';
        key += (*right)[k];
    }
    auto suffix = record.keys.find(key);
    if (suffix == record.keys.end() || suffix->second.empty())
        return allophone + record.defaultSuffix;
    return allophone + suffix->second;
}

}  // namespace vox
