// Reader of module 419.0's allophone rule file; the format is described in
// docs/formats/allomod-419-0-cfg.md.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "phonetic/module-419-0/AllophoneRules.h"

namespace vox {

// The first malformed line of a rule file: the message the module shows
// (caption and text as users of the module know them) and where it is.
struct RuleFileError {
    std::string caption;
    std::string text;
    int line = 0;  // 1-based
};

// Parses the whole text. On success `rules` is replaced; on error it is left
// as it was and the error is returned. Never shows anything itself.
std::optional<RuleFileError> ParseRuleFile(std::string_view text, RuleSet& rules);

}  // namespace vox
