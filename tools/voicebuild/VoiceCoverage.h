// How well a voice serves a text: the text is split into syntagmas at
// punctuation, stressed (prompt marks, else the dictionary), transcribed and
// named by the voice's phonetic module; every allophone request ("#" and "_"
// aside) is served directly, through the module's substitute, or not at all
// (the engine then leaves silence).
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "tools/voicebuild/ModuleClient.h"
#include "tools/voicebuild/StressPlacement.h"

namespace vox::voicebuild {

struct Coverage {
    size_t syntagmas = 0;
    size_t direct = 0, substitute = 0, missing = 0;
    std::map<std::string, size_t> substituted;  // requested name → count
    std::map<std::string, size_t> absent;
    std::vector<std::string> problems;  // syntagmas the module could not take

    size_t Requests() const { return direct + substitute + missing; }
};

// The unit names of an "abs.07" file; nullopt with `error`.
std::optional<std::set<std::string>> ReadUnitNames(const std::string& path, std::string& error);

// Adds one text (UTF-8) to the counts.
void MeasureCoverage(const std::string& text, const std::set<std::string>& names,
                     const ModuleClient& module, const StressDictionary* dictionary,
                     PromptMarks marks, Coverage& coverage);

}  // namespace vox::voicebuild
