// The prosody hooks before their models exist: each leaves the phrase as it is.
#include "engine/synthesis/ProsodyHooks.h"

namespace vox {

void NormaliseUnitLoudness(PhraseState&, Unit&, const std::string&) {}

void ApplyAmplitudeContour(PhraseState&) {}

void ApplyFrequencyProsody(PhraseState&) {}

std::vector<float> RhythmicDurationFactors(PhraseState&) {
    return {};
}

void ApplyIntonation(PhraseState&) {}

void ApplyCallerRate(PhraseState&, const int8_t*) {}

void ApplyCallerPitch(PhraseState&, const int8_t*) {}

void ApplyCallerVolume(PhraseState&, const int8_t*) {}

}  // namespace vox
