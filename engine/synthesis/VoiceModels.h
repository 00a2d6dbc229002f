// The voice's prosody models and the effect state kept between phrases
// (intonation profile, new intonation model, rhythmics model, prosodic
// dataset, amplitude profile, reverberation tail). The engine owns one; the
// prosody and effect stages of the phrase pipeline read it.
#pragma once

namespace vox {

struct VoiceModels {
    // Filled by the prosody models and effects as they are added.
};

}  // namespace vox
