// Broad acoustic classes of phonemes, from the module's sound descriptions:
// what a boundary detector and the instance selection need to know.
#pragma once

#include <cstdint>

namespace vox::voicebuild {

enum class SoundClass {
    Pause,
    StressedVowel,
    UnstressedVowel,
    Sonorant,            // M N L R J' and their soft forms
    VoicedObstruent,     // B D G V Z ZH …
    VoicelessFricative,  // S SH F X and the affricates C CH'
    VoicelessStop,       // P T K
};

// From a table sound description (bit numbers as in IPhonetic).
SoundClass ClassifySound(uint64_t sd);

bool IsVowelClass(SoundClass c);
bool IsVoicedClass(SoundClass c);  // vowels, sonorants, voiced obstruents

const char* SoundClassName(SoundClass c);

}  // namespace vox::voicebuild
