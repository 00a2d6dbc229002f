// Joining the phrase's voiced units into one signal, keeping where each lies,
// and reading the per-phoneme sizes back from those places.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "engine/synthesis/PhraseRecords.h"
#include "engine/voice/AudioBase.h"

namespace vox {

// Indices of the units with at least one sample, ascending.
std::vector<int32_t> VoicedList(std::span<const Unit> units);

// The samples of the voiced units in order, with one span per unit (named
// by the unit's allophone list item). Throws std::bad_alloc when the phrase
// is too long to be delivered.
void Concatenate(std::span<const Unit> units, std::span<const int32_t> voiced,
                 std::span<const std::string> allophones, std::vector<int16_t>& signal,
                 std::vector<UnitSpan>& spans);

// One size per phoneme: the length of its span, 0 for phonemes without one.
std::vector<int32_t> PhonemeSizes(size_t phonemeCount, std::span<const UnitSpan> spans);

}  // namespace vox
