#include "engine/audio/OutputConversion.h"

#include <bit>
#include <cstdint>
#include <cstring>
#include <optional>

#include "engine/audio/Resampler.h"
#include "platform/ComBinding.h"

namespace vox {

namespace {

constexpr double kInverseSizeBase = 2.834467120181406e-06;  // 1 / (16 × 22050)

void WriteSixteenBit(const std::vector<int16_t>& signal, uint8_t* block) {
    if constexpr (std::endian::native == std::endian::little) {
        if (!signal.empty()) std::memcpy(block, signal.data(), signal.size() * sizeof(int16_t));
        return;
    }
    for (size_t i = 0; i < signal.size(); ++i) {
        const auto v = static_cast<uint16_t>(signal[i]);
        block[2 * i] = static_cast<uint8_t>(v & 0xFF);
        block[2 * i + 1] = static_cast<uint8_t>(v >> 8);
    }
}

// A block the converter can write native 16-bit samples into.
bool CanHoldSamples(const uint8_t* block) {
    return std::endian::native == std::endian::little &&
           reinterpret_cast<uintptr_t>(block) % alignof(int16_t) == 0;
}

}  // namespace

uint8_t EightBitSample(int16_t sample) {
    const int32_t shifted = sample + 32640;
    return shifted < 0 ? 0 : static_cast<uint8_t>(shifted >> 8);
}

float SizeScale(const WAVEFORMATEX& format) {
    return static_cast<float>(static_cast<double>(format.wBitsPerSample) * format.nSamplesPerSec *
                              kInverseSizeBase);
}

HRESULT ConvertAndDeliver(std::vector<int16_t> signal, std::vector<int32_t>& sizes,
                          const WAVEFORMATEX& format, uint8_t** audio, int32_t* size,
                          BlockAllocator allocate) {
    if (allocate == nullptr) allocate = CoTaskMemAlloc;
    const uint32_t rate = format.nSamplesPerSec;
    const bool resample = rate != kEngineRate;
    const std::optional<size_t> count =
        resample ? ResampledLength(signal.size(), rate) : std::optional<size_t>(signal.size());
    if (!count) return E_FAIL;
    const bool sixteen = format.wBitsPerSample == 16;
    const size_t bytes = *count * (sixteen ? 2 : 1);
    auto* block = static_cast<uint8_t*>(allocate(bytes));
    if (block == nullptr) return E_OUTOFMEMORY;
    if (sixteen && resample && CanHoldSamples(block)) {
        // Straight into the caller's block: no intermediate phrase-sized copy.
        ResampleInto(signal, rate, {reinterpret_cast<int16_t*>(block), *count});
    } else {
        if (resample) ResampleFrom22050(signal, rate);
        if (sixteen) {
            WriteSixteenBit(signal, block);
        } else {
            for (size_t i = 0; i < signal.size(); ++i) block[i] = EightBitSample(signal[i]);
        }
    }
    *audio = block;
    *size = static_cast<int32_t>(bytes);

    const double scale = SizeScale(format);
    for (int32_t& s : sizes) s = static_cast<int32_t>(s * scale);
    return S_OK;
}

}  // namespace vox
