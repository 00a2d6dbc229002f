#include "tools/voicebuild/PhraseRenderer.h"

#include "engine/synthesis/Concatenation.h"
#include "engine/synthesis/Fades.h"
#include "engine/synthesis/JoinSmoothing.h"
#include "engine/synthesis/Pauses.h"
#include "engine/voice/VoiceProperties.h"

namespace vox::voicebuild {

RenderedPhrase RenderPhrase(const std::vector<std::string>& phonemes,
                            const std::vector<std::string>& allophones, const AudioBase& base,
                            const ModuleClient& module) {
    const VoiceProperties defaults;
    const size_t n = std::min(phonemes.size(), allophones.size());
    std::vector<Unit> units(n);
    std::vector<std::string> names(n);
    for (size_t i = 0; i < n; ++i) {
        Unit& u = units[i];
        names[i] = allophones[i];
        const std::string& p = phonemes[i];
        if (p == "#" || p == "_") {
            if (p == "#" && i == 0) continue;
            const int32_t length = PauseLength(defaults, p == "#" ? "(.)" : "(W)");
            u.samples.assign(size_t(std::max(0, length)), 0);
            continue;
        }
        u.name = allophones[i];
        if (base.GetUnit(u)) continue;
        std::optional<std::string> s = module.Substitute(allophones[i]);
        if (!s) continue;
        u.name = *s;
        base.GetUnit(u);
    }
    const std::vector<int32_t> voiced = VoicedList(units);
    const std::vector<uint64_t> sds(n, 0);  // only "MaxCut" reads them
    SmoothJoins(units, sds, voiced, false);
    RenderedPhrase out;
    std::vector<UnitSpan> spans;
    Concatenate(units, voiced, names, out.signal, spans);
    FadeEnds(out.signal, kPhraseFadeLength);
    for (const UnitSpan& s : spans) {
        const size_t i = size_t(s.unitIndex);
        const bool pause = phonemes[i] == "#" || phonemes[i] == "_";
        out.units.push_back(
            {pause ? phonemes[i] : units[i].name, phonemes[i], pause, s.start, s.length});
    }
    return out;
}

}  // namespace vox::voicebuild
