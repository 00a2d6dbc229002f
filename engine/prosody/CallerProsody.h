// Per-word rate, volume and pitch steps from the caller (`CProsodyInfo`):
// element k of each array applies to the word after the k-th word boundary.
// An array shorter than the phrase's words holds its last element.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "engine/synthesis/PhraseRecords.h"

namespace vox {

// One caller array: `count` elements, or 0 when the caller gave no count
// (then one element per word is trusted, as the caller's contract says).
struct WordSteps {
    const int8_t* steps = nullptr;
    int32_t count = 0;
    int8_t At(size_t word, size_t words) const;
};

// Rate: time factors of each unit's segments × 1.1^step; while a slowing
// step is in force the plosives keep their length.
void ApplyCallerRateSteps(std::span<const uint64_t> sds, std::span<const UnitSpan> spans,
                          const WordSteps& rate, std::span<SynthesisSegment> segments);
// Pitch: periods of intonable units ÷ 1.03^step.
void ApplyCallerPitchSteps(std::span<const uint64_t> sds, std::span<const UnitSpan> spans,
                           const WordSteps& pitch, std::span<SynthesisSegment> segments);
// Volume: samples × step / 100, saturated.
void ApplyCallerVolumeSteps(std::span<const uint64_t> sds, std::span<const UnitSpan> spans,
                            const WordSteps& volume, std::span<int16_t> signal);

// Words of the phrase: word boundaries + 1.
size_t CountWords(std::span<const uint64_t> sds);

}  // namespace vox
