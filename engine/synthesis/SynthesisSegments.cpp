#include "engine/synthesis/SynthesisSegments.h"

#include <algorithm>

namespace vox {

std::vector<SynthesisSegment> MakeSegments(std::span<const Unit> units,
                                           std::span<const UnitSpan> spans, size_t signalLength,
                                           bool maxCut) {
    std::vector<SynthesisSegment> all;
    for (const UnitSpan& span : spans) {
        const std::vector<int32_t>& marks = units[span.unitIndex].marks;
        const size_t used = maxCut && !marks.empty() ? marks.size() - 1 : marks.size();
        for (size_t m = 0; m < used; ++m) all.push_back({span.start + marks[m], 0.0f, 1.0f});
    }
    all.push_back({static_cast<int32_t>(signalLength), 0.0f, 1.0f});

    std::vector<SynthesisSegment> segments;
    segments.reserve(all.size());
    for (size_t i = 0; i < all.size(); ++i)
        if (i + 1 == all.size() || all[i + 1].position != all[i].position)
            segments.push_back(all[i]);
    for (size_t i = 0; i + 1 < segments.size(); ++i)
        segments[i].pitchPeriod =
            static_cast<float>(segments[i + 1].position - segments[i].position);
    return segments;
}

void SetSpanTimeFactors(std::span<const float> unitFactors, std::span<const UnitSpan> spans,
                        std::span<SynthesisSegment> segments) {
    for (const UnitSpan& span : spans) {
        if (span.unitIndex < 0 || static_cast<size_t>(span.unitIndex) >= unitFactors.size())
            continue;
        const int64_t end = static_cast<int64_t>(span.start) + span.length;
        auto first = std::lower_bound(
            segments.begin(), segments.end(), span.start,
            [](const SynthesisSegment& s, int32_t position) { return s.position < position; });
        for (auto it = first; it != segments.end() && it->position < end; ++it)
            it->timeFactor = unitFactors[span.unitIndex];
    }
}

}  // namespace vox
