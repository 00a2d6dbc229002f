// Sample-rate conversion of recorded units to the database's 22050 Hz, with
// libsamplerate's best sinc converter (soxr's emulation of it), and the matching move of pitch marks.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vox::voicedb {

inline constexpr uint32_t kDatabaseRate = 22050;

// False with `error` when the rates are outside what the converter takes
// (ratios 1/256 to 256) or the conversion fails. Samples are saturated.
bool Resample(const std::vector<int16_t>& in, uint32_t fromRate, uint32_t toRate,
              std::vector<int16_t>& out, std::string& error);

// Marks at `fromRate` moved to the nearest sample at `toRate`, kept inside
// a unit of `length` samples.
std::vector<int32_t> ScaleMarks(const std::vector<int32_t>& marks, uint32_t fromRate,
                                uint32_t toRate, size_t length);

}  // namespace vox::voicedb
