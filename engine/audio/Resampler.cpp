// The converter is soxr's emulation of libsamplerate's best sinc filter
// (pass band to 0.931 of the lower Nyquist frequency, stop band from it),
// computed in single precision: the 23-bit precision of the emulation only
// selects soxr's double-precision path, some ten times slower, and lies far
// below the 16-bit output's own noise. The rates go in as the exact pair
// 22050:R, so that soxr takes its rational (polyphase) path; the output
// length stays trunc(n × the single-precision ratio).
#include "engine/audio/Resampler.h"

#include <soxr.h>

#include <algorithm>
#include <climits>
#include <cstddef>

namespace vox {

namespace {

constexpr float kInverseEngineRate = 4.5351473e-05f;
// The delivered block's size in bytes is a signed 32-bit count.
constexpr double kMaxOutputSamples = INT32_MAX / 2;
constexpr double kPrecisionBits = 20;

// The converter is fed in blocks rather than in one call: given the whole
// phrase at once, soxr buffers all of it, and buffers that large come from
// fresh pages on every phrase (the C library maps them afresh), which cost
// three to six times the filtering itself. Blocks keep its buffers small
// and reused; the output is the same sample for sample.
constexpr size_t kBlockSamples = 4096;

template <typename Sample>
void Convert(const Sample* in, size_t n, uint32_t rate, Sample* out, size_t m,
             soxr_datatype_t type) {
    soxr_quality_spec_t quality = soxr_quality_spec(SOXR_LSR0Q, 0);
    quality.precision = kPrecisionBits;
    soxr_io_spec_t io = soxr_io_spec(type, type);
    io.flags |= SOXR_NO_DITHER;
    const soxr_runtime_spec_t runtime = soxr_runtime_spec(1);
    soxr_error_t error = nullptr;
    soxr_t converter = soxr_create(kEngineRate, rate, 1, &error, &io, &quality, &runtime);
    if (converter == nullptr || error != nullptr) {
        soxr_delete(converter);
        return;
    }
    size_t consumed = 0, produced = 0;
    while (produced < m) {
        // A null input tells the converter that the phrase has ended.
        const bool ended = consumed >= n;
        const size_t offer = ended ? 0 : std::min(kBlockSamples, n - consumed);
        size_t used = 0, made = 0;
        error = soxr_process(converter, ended ? nullptr : in + consumed, offer, &used,
                             out + produced, std::min(m - produced, 4 * kBlockSamples), &made);
        if (error != nullptr || (ended && made == 0)) break;
        consumed += used;
        produced += made;
    }
    soxr_delete(converter);
}

}  // namespace

float ResampleRatio(uint32_t rate) {
    return static_cast<float>(rate) * kInverseEngineRate;
}

bool IsConvertibleRatio(float ratio) {
    return ratio >= 1.0f / 256 && ratio <= 256.0f;
}

void ResampleFloats(std::span<const float> in, uint32_t rate, std::span<float> out) {
    if (in.empty() || out.empty()) return;
    Convert(in.data(), in.size(), rate, out.data(), out.size(), SOXR_FLOAT32_I);
}

std::optional<size_t> ResampledLength(size_t n, uint32_t rate) {
    const float ratio = ResampleRatio(rate);
    if (!IsConvertibleRatio(ratio)) return std::nullopt;
    const double wanted = static_cast<double>(n) * ratio;
    if (wanted > kMaxOutputSamples) return std::nullopt;
    return static_cast<size_t>(wanted);
}

void ResampleInto(std::span<const int16_t> in, uint32_t rate, std::span<int16_t> out) {
    std::fill(out.begin(), out.end(), int16_t{0});
    if (!in.empty() && !out.empty())
        Convert(in.data(), in.size(), rate, out.data(), out.size(), SOXR_INT16_I);
}

bool ResampleFrom22050(std::vector<int16_t>& signal, uint32_t rate) {
    const std::optional<size_t> m = ResampledLength(signal.size(), rate);
    if (!m) return false;
    std::vector<int16_t> out(*m);
    ResampleInto(signal, rate, out);
    signal = std::move(out);
    return true;
}

}  // namespace vox
