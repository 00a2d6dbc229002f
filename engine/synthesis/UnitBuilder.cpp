#include "engine/synthesis/UnitBuilder.h"

#include "engine/synthesis/Gemination.h"
#include "engine/synthesis/Pauses.h"
#include "engine/synthesis/PhoneticCalls.h"
#include "engine/synthesis/ProsodyHooks.h"
#include "interfaces/SoundDescription.h"

namespace vox {

namespace {

constexpr int32_t kEvenMarkPeriod = 147;

bool FetchUnit(const AudioBase& base, Unit& unit) {
    if (!base.GetUnit(unit)) return false;
    KeepUsableMarks(unit);
    return true;
}

// The recorded unit of allophone `a`, or of its substitute; stays empty when
// neither is in the database or it has no samples.
void BuildSound(PhraseState& state, Unit& unit, const std::string& a, uint64_t sd) {
    if (a.empty()) return;  // the module named no allophone for this phoneme
    const AudioBase& base = *state.engine.audioBase;
    if (!FetchUnit(base, unit)) {
        unit.name = SubstituteAllophone(*state.engine.phonetic, a);
        if (!FetchUnit(base, unit)) return;
    }
    if (unit.samples.empty()) {
        unit.marks.clear();
        return;
    }
    const VoiceProperties& props = state.Settings();
    CutGeminate(unit, sd, props.maxCut);
    if (props.useAmpProsody && !props.useAmpContour) NormaliseUnitLoudness(state, unit, a);
}

void BuildPause(PhraseState& state, Unit& unit, std::string_view mark) {
    unit.samples =
        MakePause(PauseLength(state.Settings(), mark), state.Settings(), state.engine.noise);
}

}  // namespace

void KeepUsableMarks(Unit& unit) {
    const int64_t n = static_cast<int64_t>(unit.samples.size());
    size_t kept = 0;
    for (int32_t m : unit.marks) {
        if (m < 0 || m > n || (kept > 0 && m < unit.marks[kept - 1])) continue;
        unit.marks[kept++] = m;
    }
    unit.marks.resize(kept);
}

void SetEvenMarks(Unit& unit) {
    const int32_t n = static_cast<int32_t>(unit.samples.size());
    const int32_t count = std::max(n / kEvenMarkPeriod, 1);
    const int32_t step = n / count;
    unit.marks.resize(static_cast<size_t>(count));
    for (int32_t j = 0; j < count; ++j) unit.marks[j] = j * step;
}

void BuildUnits(PhraseState& state) {
    const size_t n = state.sds.size();
    state.units.assign(n, Unit{});
    // Phonemes beyond the end of the allophone list get no unit.
    const size_t covered = std::min(n, state.allophones.size());
    for (size_t i = 0; i < covered; ++i) {
        Unit& unit = state.units[i];
        const std::string& a = state.allophones[i];
        const uint64_t sd = state.sds[i];
        unit.name = a;
        if (HasBit(sd, sd::Terminator)) {
            if (i > 0) BuildPause(state, unit, state.finalPauseMark);
        } else if (HasBit(sd, sd::Space)) {
            BuildPause(state, unit, "(W)");
        } else if (HasBit(sd, sd::JoinedPause)) {
            BuildPause(state, unit, "(W=)");
        } else {
            BuildSound(state, unit, a, sd);
        }
    }
    for (size_t i = 0; i < n; ++i) {
        Unit& unit = state.units[i];
        if (!unit.samples.empty() && !HasBit(state.sds[i], sd::Intonable)) SetEvenMarks(unit);
    }
}

}  // namespace vox
