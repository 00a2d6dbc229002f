#include "engine/audio/Resampler.h"

#include <samplerate.h>

#include <climits>
#include <cstddef>

namespace vox {

namespace {

constexpr float kInverseEngineRate = 4.5351473e-05f;
// The delivered block's size in bytes is a signed 32-bit count.
constexpr double kMaxOutputSamples = INT32_MAX / 2;

}  // namespace

float ResampleRatio(uint32_t rate) {
    return static_cast<float>(rate) * kInverseEngineRate;
}

bool ResampleFrom22050(std::vector<int16_t>& signal, uint32_t rate) {
    const float ratio = ResampleRatio(rate);
    if (src_is_valid_ratio(ratio) == 0) return false;
    const double wanted = static_cast<double>(signal.size()) * ratio;
    if (wanted > kMaxOutputSamples) return false;
    const size_t m = static_cast<size_t>(wanted);
    if (signal.empty() || m == 0) {
        signal.assign(m, 0);
        return true;
    }
    std::vector<float> in(signal.size());
    std::vector<float> out(m, 0.0f);
    src_short_to_float_array(signal.data(), in.data(), static_cast<int>(in.size()));
    SRC_DATA data{};
    data.data_in = in.data();
    data.input_frames = static_cast<long>(in.size());
    data.data_out = out.data();
    data.output_frames = static_cast<long>(m);
    data.src_ratio = ratio;
    if (src_simple(&data, SRC_SINC_BEST_QUALITY, 1) != 0) return false;
    signal.resize(m);
    src_float_to_short_array(out.data(), signal.data(), static_cast<int>(m));
    return true;
}

}  // namespace vox
