// Where the voice's audio effects act on a finished phrase (22050 Hz, before
// output conversion). The pipeline calls each only when its "Enabled"
// switch is on; each effect keeps its state in the engine object.
#pragma once

#include "engine/synthesis/PhraseState.h"

namespace vox {

void ApplyChambrel(PhraseState& state);       // "\Chambrel"
void ApplyReverberation(PhraseState& state);  // "\Rever"
void ApplyOutputFilter(PhraseState& state);   // "\Filter"

}  // namespace vox
