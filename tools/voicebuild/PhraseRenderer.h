// One phrase spoken from a voice database the way the engine speaks it with
// every prosody switch off: a unit per allophone (the module's substitute
// when the database lacks it), pauses of the voice's default marks, the
// engine's own join smoothing, concatenation and phrase fades. What comes
// out is what a listener hears at the joins, without resynthesis.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/voice/AudioBase.h"
#include "tools/voicebuild/ModuleClient.h"

namespace vox::voicebuild {

struct RenderedUnit {
    std::string name;     // the unit used (a substitute's name when substituted)
    std::string phoneme;  // the phoneme it stands for
    bool pause = false;   // "#" or "_"
    long start = 0, length = 0;
};

struct RenderedPhrase {
    std::vector<int16_t> signal;      // 22050 Hz
    std::vector<RenderedUnit> units;  // the units with samples, in signal order
};

// `phonemes` framed by "#" with "_" between words, `allophones` one per
// phoneme (as the module names them).
RenderedPhrase RenderPhrase(const std::vector<std::string>& phonemes,
                            const std::vector<std::string>& allophones, const AudioBase& base,
                            const ModuleClient& module);

}  // namespace vox::voicebuild
