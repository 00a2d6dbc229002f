#include "tools/voicebuild/SoundClass.h"

#include "tools/voicebuild/ModuleClient.h"

namespace vox::voicebuild {

namespace {

bool Bit(uint64_t sd, int bit) {
    return (sd >> bit) & 1u;
}

constexpr const char* kNames[] = {"pause",         "stressed vowel",   "unstressed vowel",
                                  "sonorant",      "voiced obstruent", "voiceless fricative",
                                  "voiceless stop"};

}  // namespace

SoundClass ClassifySound(uint64_t sd) {
    if (Bit(sd, 0) || sd == 0) return SoundClass::Pause;
    if (Bit(sd, sd::Vowel))
        return Bit(sd, sd::Stressed) ? SoundClass::StressedVowel : SoundClass::UnstressedVowel;
    if (Bit(sd, sd::Sonant)) return SoundClass::Sonorant;
    if (!Bit(sd, sd::Voiceless)) return SoundClass::VoicedObstruent;
    if (Bit(sd, sd::Fricative) || Bit(sd, sd::Affricate)) return SoundClass::VoicelessFricative;
    return SoundClass::VoicelessStop;
}

bool IsVowelClass(SoundClass c) {
    return c == SoundClass::StressedVowel || c == SoundClass::UnstressedVowel;
}

bool IsVoicedClass(SoundClass c) {
    return IsVowelClass(c) || c == SoundClass::Sonorant || c == SoundClass::VoicedObstruent;
}

const char* SoundClassName(SoundClass c) {
    return kNames[static_cast<int>(c)];
}

}  // namespace vox::voicebuild
