#include "tools/voicebuild/FallbackPlanner.h"

#include <bit>

#include "tools/voicebuild/Aligner.h"
#include "tools/voicebuild/ConsonantClasses.h"

namespace vox::voicebuild {

namespace {

// Articulation bits of a sound description (vowel, consonant, voicing,
// manner, hardness, vibrant): the ones that tell two contexts apart.
constexpr uint64_t kArticulation = (uint64_t(1) << 20) - 1;

std::string ContextOf(const std::string& name) {
    size_t dash = name.find('-');
    return dash == std::string::npos ? "" : name.substr(dash + 1);
}

// The sound description of a context: a phoneme, a stripped vowel ("A"
// stands for "A0") or "#"/"_".
uint64_t ContextDescription(const ModuleClient& module, const std::string& context) {
    if (context.empty()) return 0;
    uint64_t sd = module.SoundDescription(context);
    return sd != 0 ? sd : module.SoundDescription(context + "0");
}

// How alike two contexts sound to the unit beside them: the place of
// articulation first (it shapes the formant transitions), then the family,
// then the shared articulation bits.
int Likeness(const ModuleClient& module, const std::string& a, const std::string& b) {
    uint64_t x = ContextDescription(module, a) & kArticulation;
    uint64_t y = ContextDescription(module, b) & kArticulation;
    int score = std::popcount(x & y) - std::popcount(x ^ y);
    if (ConsonantPlace(a) != Place::None && ConsonantPlace(a) == ConsonantPlace(b)) score += 20;
    if (!ConsonantFamily(a).empty() && ConsonantFamily(a) == ConsonantFamily(b)) score += 10;
    return score;
}

}  // namespace

std::vector<std::string> FixedSubstituteTargets(const ModuleClient& module) {
    std::set<std::string> targets;
    for (const std::string& p : module.Inventory()) {
        if (IsBoundaryPhoneme(p)) continue;
        std::optional<std::string> a = module.Substitute(p + "-#");
        std::optional<std::string> b = module.Substitute(p + "-_");
        if (a && b && *a == *b && !a->empty()) targets.insert(*a);
    }
    return {targets.begin(), targets.end()};
}

FallbackPlan PlanFallbacks(const ModuleClient& module,
                           const std::map<std::string, size_t>& instances) {
    FallbackPlan plan;
    plan.targets = FixedSubstituteTargets(module);
    for (const std::string& target : plan.targets) {
        if (instances.count(target)) continue;
        std::optional<std::string> phoneme = module.AllophoneToPhoneme(target);
        std::string best;
        int bestLikeness = 0;
        size_t bestCount = 0;
        for (const auto& [name, count] : instances) {
            if (!phoneme || module.AllophoneToPhoneme(name) != phoneme) continue;
            int likeness = Likeness(module, ContextOf(target), ContextOf(name));
            if (best.empty() || likeness > bestLikeness ||
                (likeness == bestLikeness && count > bestCount))
                best = name, bestLikeness = likeness, bestCount = count;
        }
        if (best.empty())
            plan.missing.push_back(target);
        else
            plan.fill.emplace_back(target, best);
    }
    return plan;
}

}  // namespace vox::voicebuild
