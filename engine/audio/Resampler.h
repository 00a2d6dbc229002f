// Converting the engine's 22050-Hz signal to another rate with soxr's
// emulation of libsamplerate's best sinc converter (one channel, one call
// over the whole phrase, 16-bit samples in and out, rounded, no dither).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace vox {

inline constexpr uint32_t kEngineRate = 22050;

// R × (1/22050) in single precision, 1/22050 taken as 4.5351473e-05.
float ResampleRatio(uint32_t rate);

// True for the ratios the converter takes (1/256 to 256).
bool IsConvertibleRatio(float ratio);

// The same converter on floats: `in` at 22050 Hz into `out` at `rate`; what
// the converter does not produce stays as `out` held it.
void ResampleFloats(std::span<const float> in, uint32_t rate, std::span<float> out);

// trunc(n × ratio), the length a phrase of n samples gets at `rate`; none
// when the ratio is outside 1/256 to 256 or the output would not fit a block.
std::optional<size_t> ResampledLength(size_t n, uint32_t rate);

// Converts `in` (22050 Hz) into `out`, which holds ResampledLength samples;
// zeros where the converter produced nothing.
void ResampleInto(std::span<const int16_t> in, uint32_t rate, std::span<int16_t> out);

// Replaces `signal` (22050 Hz) by trunc(n × ratio) samples at `rate` (zeros
// where the converter produced nothing). False, with the signal unchanged,
// when the ratio is outside 1/256 to 256 or the output would not fit a block.
bool ResampleFrom22050(std::vector<int16_t>& signal, uint32_t rate);

}  // namespace vox
