#include "engine/synthesis/Pauses.h"

#include <algorithm>
#include <string>

#include "engine/audio/Samples.h"
#include "engine/synthesis/Fades.h"
#include "engine/voice/PauseMarks.h"
#include "interfaces/SoundDescription.h"

namespace vox {

namespace {

constexpr sd::Bit kPhraseTypeBits[] = {sd::Type1, sd::Type2, sd::Type3};

}  // namespace

int32_t PauseLength(const VoiceProperties& props, std::string_view mark) {
    auto it = props.pauses.find(std::string(mark));
    if (it == props.pauses.end()) return 0;
    const double samples = props.durationUnit * it->second * kSamplesPerMillisecond;
    if (!(samples >= 1.0)) return 0;  // also NaN
    if (samples >= kMaxPauseLength) return kMaxPauseLength;
    return static_cast<int32_t>(samples);
}

void AddPhraseType(std::span<uint64_t> sds, std::string_view phraseMark) {
    const uint64_t bit = SdMask(kPhraseTypeBits[PhraseTypeOfMark(phraseMark) - 1]);
    for (uint64_t& sd : sds) sd |= bit;
}

std::vector<int16_t> MakePause(int32_t length, const VoiceProperties& props,
                               NoiseGenerator& noise) {
    std::vector<int16_t> pause(static_cast<size_t>(std::max(length, 0)), 0);
    const int64_t level = props.noiseLevel;
    if (props.noiseFill && level > 0) {
        for (int16_t& s : pause) s = SaturateSample(noise.Next() % level - level / 2);
    }
    FadeEnds(pause, kPhraseFadeLength);
    return pause;
}

}  // namespace vox
