// Pauses and phrase types: the length of a mark's pause, the phrase type bit
// a phrase mark gives every sound description, and the pause signal itself.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "engine/synthesis/NoiseGenerator.h"
#include "engine/voice/VoiceProperties.h"

namespace vox {

// Milliseconds to samples at 22050 Hz, as the single-precision 22.05.
inline constexpr double kSamplesPerMillisecond = 22.049999237060547;
// Longest pause built: one minute (keeps absurd settings from exhausting memory).
inline constexpr int32_t kMaxPauseLength = 22050 * 60;

// trunc("DurationUnit" × factor × 22.05) for a mark of the voice's pause
// table; 0 for a mark not in the table (and for non-positive results).
int32_t PauseLength(const VoiceProperties& props, std::string_view mark);

// ORs the phrase type bit of `phraseMark` (53, 54 or 55; marks outside the
// phrase-type table give type 1) into every sound description.
void AddPhraseType(std::span<uint64_t> sds, std::string_view phraseMark);

// A pause of `length` samples: silence, or with "NoiseFill" noise of
// "NoiseLevel" peak to peak (a level of 0 or below gives silence); faded in
// and out over up to 100 samples.
std::vector<int16_t> MakePause(int32_t length, const VoiceProperties& props, NoiseGenerator& noise);

}  // namespace vox
