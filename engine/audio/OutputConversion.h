// The last step of a phrase: the 22050-Hz 16-bit signal converted to the
// output format's rate and sample width, handed out in a CoTaskMemAlloc
// block, and the phoneme sizes scaled to match.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "interfaces/ComTypes.h"
#include "interfaces/WaveFormat.h"

namespace vox {

using BlockAllocator = void* (*)(size_t bytes);

// Resamples when the rate is not 22050; 16-bit output is little-endian
// signed, every other width unsigned 8-bit with byte = (s + 32640) >> 8
// (0 below); sizes become trunc(size × B × R / 352800).
// S_OK; E_OUTOFMEMORY when the block cannot be allocated; E_FAIL when the
// rate cannot be converted to.
HRESULT ConvertAndDeliver(std::vector<int16_t> signal, std::vector<int32_t>& sizes,
                          const WAVEFORMATEX& format, uint8_t** audio, int32_t* size,
                          BlockAllocator allocate = nullptr);

// 8-bit output byte of a 16-bit sample.
uint8_t EightBitSample(int16_t sample);

// B × R × (1/352800), single precision.
float SizeScale(const WAVEFORMATEX& format);

}  // namespace vox
