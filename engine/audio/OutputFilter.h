// The voice's optional output filter ("\Filter" settings): one 16th-order
// CFilter over the whole phrase at 22050 Hz.
#pragma once

#include <cstdint>
#include <span>

#include "engine/audio/Filter.h"
#include "engine/voice/VoiceProperties.h"

namespace vox {

struct FilterBand {
    int32_t type;
    double f1, f2;
};

// "Type" 1: "LowPassCutoff"; 2: "HighPassCutoff"; 3 and 4: the band's two
// edges in rising order; frequencies above 11025 Hz or negative taken as
// 11025; any other type keeps its number with both edges 0.
FilterBand OutputFilterBand(const VoiceProperties& settings);

void ApplyOutputFilter(std::span<int16_t> signal, const VoiceProperties& settings, CFilter& filter);

}  // namespace vox
