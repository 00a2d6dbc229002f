#include "tools/voicedb/Resample.h"

#include <soxr-lsr.h>
#include <algorithm>
#include <cmath>

namespace vox::voicedb {

bool Resample(const std::vector<int16_t>& in, uint32_t fromRate, uint32_t toRate,
              std::vector<int16_t>& out, std::string& error) {
    const double ratio = static_cast<double>(toRate) / fromRate;
    if (fromRate == 0 || !src_is_valid_ratio(ratio)) {
        error = "cannot convert " + std::to_string(fromRate) + " Hz to " + std::to_string(toRate) +
                " Hz (the ratio must lie between 1/256 and 256)";
        return false;
    }
    if (in.empty()) {
        out.clear();
        return true;
    }
    std::vector<float> input(in.size());
    src_short_to_float_array(in.data(), input.data(), static_cast<int>(in.size()));
    std::vector<float> output(static_cast<size_t>(std::ceil(in.size() * ratio)) + 16);
    SRC_DATA data{};
    data.data_in = input.data();
    data.data_out = output.data();
    data.input_frames = static_cast<long>(input.size());
    data.output_frames = static_cast<long>(output.size());
    data.end_of_input = 1;
    data.src_ratio = ratio;
    if (int rc = src_simple(&data, SRC_SINC_BEST_QUALITY, 1); rc != 0) {
        error = std::string("sample-rate conversion failed: ") + src_strerror(rc);
        return false;
    }
    out.resize(static_cast<size_t>(data.output_frames_gen));
    src_float_to_short_array(output.data(), out.data(), static_cast<int>(out.size()));
    return true;
}

std::vector<int32_t> ScaleMarks(const std::vector<int32_t>& marks, uint32_t fromRate,
                                uint32_t toRate, size_t length) {
    std::vector<int32_t> scaled;
    scaled.reserve(marks.size());
    const int64_t last = length == 0 ? 0 : static_cast<int64_t>(length) - 1;
    for (int32_t mark : marks) {
        const int64_t moved = (static_cast<int64_t>(mark) * toRate + fromRate / 2) / fromRate;
        scaled.push_back(static_cast<int32_t>(std::min(moved, last)));
    }
    return scaled;
}

}  // namespace vox::voicedb
