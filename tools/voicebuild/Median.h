// The middle value of a series (the upper one of an even count), the figure
// the voice builder's selection, fit and reports take of their samples.
#pragma once

#include <algorithm>
#include <vector>

namespace vox::voicebuild {

// 0 for an empty series.
inline double Median(std::vector<double> v) {
    if (v.empty()) return 0.0;
    const auto mid = v.begin() + long(v.size() / 2);
    std::nth_element(v.begin(), mid, v.end());
    return *mid;
}

}  // namespace vox::voicebuild
