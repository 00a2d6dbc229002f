#include "phonetic/module-419-3/UnitName.h"

#include <algorithm>

namespace vox {

namespace {

std::optional<size_t> ParsePosition(std::string_view digits) {
    if (digits.empty() || digits.size() > 9) return std::nullopt;
    size_t value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + static_cast<size_t>(c - '0');
    }
    return value;
}

std::vector<std::string_view> SplitAtDashes(std::string_view core) {
    std::vector<std::string_view> parts;
    size_t start = 0;
    for (size_t dash; (dash = core.find('-', start)) != std::string_view::npos; start = dash + 1)
        parts.push_back(core.substr(start, dash - start));
    parts.push_back(core.substr(start));
    return parts;
}

}  // namespace

std::optional<UnitName> ParseUnitName(std::string_view name) {
    UnitName unit;
    const size_t dot = name.find('.');
    unit.base = name.substr(0, dot);
    if (dot != std::string_view::npos) {
        const std::optional<size_t> position = ParsePosition(name.substr(dot + 1));
        if (!position) return std::nullopt;
        unit.position = *position;
    }
    std::string_view core = unit.base;
    if (!core.empty() && core.front() == '(') {
        const size_t close = core.find(')');
        if (close == std::string_view::npos || close + 1 == core.size()) return std::nullopt;
        unit.leftGroup = core.substr(1, close - 1);
        core.remove_prefix(close + 1);
    }
    if (!core.empty() && core.back() == ')') {
        const size_t open = core.rfind('(');
        if (open == std::string_view::npos || open == 0) return std::nullopt;
        unit.rightGroup = core.substr(open + 1, core.size() - open - 2);
        core = core.substr(0, open);
    }
    unit.phonemes = SplitAtDashes(core);
    if (std::any_of(unit.phonemes.begin(), unit.phonemes.end(),
                    [](std::string_view p) { return p.empty(); }))
        return std::nullopt;
    if (unit.position < 1 || unit.position > unit.phonemes.size()) return std::nullopt;
    return unit;
}

}  // namespace vox
