// The converter is soxr's emulation of libsamplerate's best sinc filter
// (pass band to 0.931 of the lower Nyquist frequency, stop band from it),
// computed in single precision: the 23-bit precision of the emulation only
// selects soxr's double-precision path, some ten times slower, and lies far
// below the 16-bit output's own noise. The rates go in as the exact pair
// 22050:R, so that soxr takes its rational (polyphase) path; the output
// length stays trunc(n × the single-precision ratio).
#include "engine/audio/Resampler.h"

#include <soxr.h>

#include <climits>
#include <cstddef>

namespace vox {

namespace {

constexpr float kInverseEngineRate = 4.5351473e-05f;
// The delivered block's size in bytes is a signed 32-bit count.
constexpr double kMaxOutputSamples = INT32_MAX / 2;
constexpr double kPrecisionBits = 20;

template <typename Sample>
void Convert(const Sample* in, size_t n, uint32_t rate, Sample* out, size_t m,
             soxr_datatype_t type) {
    soxr_quality_spec_t quality = soxr_quality_spec(SOXR_LSR0Q, 0);
    quality.precision = kPrecisionBits;
    soxr_io_spec_t io = soxr_io_spec(type, type);
    io.flags |= SOXR_NO_DITHER;
    const soxr_runtime_spec_t runtime = soxr_runtime_spec(1);
    size_t produced = 0;
    (void)soxr_oneshot(kEngineRate, rate, 1, in, n, nullptr, out, m, &produced, &io, &quality,
                       &runtime);
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

bool ResampleFrom22050(std::vector<int16_t>& signal, uint32_t rate) {
    const float ratio = ResampleRatio(rate);
    if (!IsConvertibleRatio(ratio)) return false;
    const double wanted = static_cast<double>(signal.size()) * ratio;
    if (wanted > kMaxOutputSamples) return false;
    const size_t m = static_cast<size_t>(wanted);
    std::vector<int16_t> out(m, 0);
    if (!signal.empty() && m != 0)
        Convert(signal.data(), signal.size(), rate, out.data(), m, SOXR_INT16_I);
    signal = std::move(out);
    return true;
}

}  // namespace vox
