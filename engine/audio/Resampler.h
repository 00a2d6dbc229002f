// Converting the engine's 22050-Hz signal to another rate with libsamplerate
// (best-quality sinc converter, one channel, one call over the whole phrase).
#pragma once

#include <cstdint>
#include <vector>

namespace vox {

inline constexpr uint32_t kEngineRate = 22050;

// R × (1/22050) in single precision, 1/22050 taken as 4.5351473e-05.
float ResampleRatio(uint32_t rate);

// Replaces `signal` (22050 Hz) by trunc(n × ratio) samples at `rate`. False,
// with the signal unchanged, when the converter rejects the ratio (below
// 1/256 or above 256) or fails.
bool ResampleFrom22050(std::vector<int16_t>& signal, uint32_t rate);

}  // namespace vox
