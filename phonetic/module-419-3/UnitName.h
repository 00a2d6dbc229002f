// Unit names of module 419.3: "(" left group ")" (optional), phoneme names
// joined by "-", "(" right group ")" (optional), then "." and the 1-based
// position of the named phoneme (optional, default 1). "T-A0.2" is the "A0"
// of the unit "T-A0"; "(Lab)A0.1" is "A0" after a member of the group Lab.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vox {

struct UnitName {
    std::string_view base;  // the name before its "." ("(Lab)A0")
    std::optional<std::string_view> leftGroup;
    std::optional<std::string_view> rightGroup;
    std::vector<std::string_view> phonemes;  // at least one, none empty
    size_t position = 1;                     // 1 to phonemes.size()

    std::string_view Phoneme() const { return phonemes[position - 1]; }
    bool HasGroup() const { return leftGroup || rightGroup; }
};

// The parts of a valid unit name (views into `name`); nullopt when the name
// is not one: a position outside the unit, a "(" without its ")" or the
// other way round, or an empty phoneme.
std::optional<UnitName> ParseUnitName(std::string_view name);

}  // namespace vox
