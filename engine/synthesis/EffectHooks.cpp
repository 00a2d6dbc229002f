// The pipeline's effect steps: each hands the phrase's signal and the voice's
// settings to its effect, whose state the engine object keeps.
#include "engine/synthesis/EffectHooks.h"

#include "engine/audio/OutputFilter.h"

namespace vox {

void ApplyChambrel(PhraseState& state) {
    const VoiceProperties& s = state.Settings();
    state.engine.effects.chambrel.Apply(state.signal,
                                        {s.chambrelIsMale, s.chambrelDepth, s.chambrelFeedback});
}

void ApplyReverberation(PhraseState& state) {
    state.engine.effects.reverberation.Apply(state.signal, state.Settings());
}

void ApplyOutputFilter(PhraseState& state) {
    ApplyOutputFilter(state.signal, state.Settings(), state.engine.effects.outputFilter);
}

}  // namespace vox
