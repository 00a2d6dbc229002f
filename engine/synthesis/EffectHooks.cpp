// The effect hooks before the effects exist: each leaves the signal as it is.
#include "engine/synthesis/EffectHooks.h"

namespace vox {

void ApplyChambrel(PhraseState&) {}

void ApplyReverberation(PhraseState&) {}

void ApplyOutputFilter(PhraseState&) {}

}  // namespace vox
