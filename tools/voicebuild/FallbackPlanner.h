// The substitute names a module falls back to whatever the context (419.1:
// "A0-#" for any A0, "Y0-K" for any Y0, the bare consonant for any
// consonant). The engine tries a name's substitute when the voice lacks the
// name, then leaves silence, so every such fixed target must exist. A target
// the corpus did not give is filled with a copy of the unit of the same
// phoneme whose context sounds most alike (place of articulation, family,
// sound-description bits); with no unit of that phoneme at all it is
// reported missing.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "tools/voicebuild/ModuleClient.h"

namespace vox::voicebuild {

// Asked of the module: a phoneme's substitute is fixed when the names with
// the contexts "#" and "_" give the same substitute.
std::vector<std::string> FixedSubstituteTargets(const ModuleClient& module);

struct FallbackPlan {
    std::vector<std::string> targets;                       // all fixed targets
    std::vector<std::pair<std::string, std::string>> fill;  // missing target ← present name
    std::vector<std::string> missing;                       // no unit of the phoneme
};

// `instances` gives, per present name, how many instances the corpus had.
FallbackPlan PlanFallbacks(const ModuleClient& module,
                           const std::map<std::string, size_t>& instances);

}  // namespace vox::voicebuild
