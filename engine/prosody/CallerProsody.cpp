#include "engine/prosody/CallerProsody.h"

#include <algorithm>
#include <cmath>

#include "engine/audio/Samples.h"
#include "interfaces/SoundDescription.h"

namespace vox {

namespace {

// Walks the units, counting the word boundaries between one unit's phoneme
// and the next; `f(span, wordBefore, word)` for each.
template <class F>
void ForUnitsByWord(std::span<const uint64_t> sds, std::span<const UnitSpan> spans, F f) {
    size_t word = 0;
    size_t phoneme = 0;
    for (const UnitSpan& span : spans) {
        const size_t before = word;
        const size_t to = std::min(static_cast<size_t>(std::max(span.unitIndex, 0)), sds.size());
        for (; phoneme < to; ++phoneme)
            if (HasBit(sds[phoneme], sd::Space)) ++word;
        f(span, before, word);
    }
}

template <class F>
void ForSegmentsIn(std::span<SynthesisSegment> segments, const UnitSpan& span, F f) {
    const int64_t end = int64_t{span.start} + span.length;
    auto it = std::lower_bound(segments.begin(), segments.end(), span.start,
                               [](const SynthesisSegment& s, int32_t p) { return s.position < p; });
    for (; it != segments.end() && it->position < end; ++it) f(*it);
}

bool UnitHas(std::span<const uint64_t> sds, const UnitSpan& span, sd::Bit bit) {
    return span.unitIndex >= 0 && static_cast<size_t>(span.unitIndex) < sds.size() &&
           HasBit(sds[static_cast<size_t>(span.unitIndex)], bit);
}

}  // namespace

int8_t WordSteps::At(size_t word, size_t words) const {
    const size_t n = count > 0 ? static_cast<size_t>(count) : std::max<size_t>(words, 1);
    return steps[std::min(word, n - 1)];
}

size_t CountWords(std::span<const uint64_t> sds) {
    size_t words = 1;
    for (uint64_t s : sds) words += HasBit(s, sd::Space) ? 1 : 0;
    return words;
}

void ApplyCallerRateSteps(std::span<const uint64_t> sds, std::span<const UnitSpan> spans,
                          const WordSteps& rate, std::span<SynthesisSegment> segments) {
    if (rate.steps == nullptr) return;
    const size_t words = CountWords(sds);
    ForUnitsByWord(sds, spans, [&](const UnitSpan& span, size_t before, size_t word) {
        const double inForce = std::pow(1.1, rate.At(before, words));
        if (inForce < 1.0 && UnitHas(sds, span, sd::Plosive)) return;
        const float factor = static_cast<float>(std::pow(1.1, rate.At(word, words)));
        ForSegmentsIn(segments, span, [&](SynthesisSegment& s) { s.timeFactor *= factor; });
    });
}

void ApplyCallerPitchSteps(std::span<const uint64_t> sds, std::span<const UnitSpan> spans,
                           const WordSteps& pitch, std::span<SynthesisSegment> segments) {
    if (pitch.steps == nullptr) return;
    const size_t words = CountWords(sds);
    ForUnitsByWord(sds, spans, [&](const UnitSpan& span, size_t, size_t word) {
        if (!UnitHas(sds, span, sd::Intonable)) return;
        const float factor = static_cast<float>(std::pow(1.03, pitch.At(word, words)));
        ForSegmentsIn(segments, span, [&](SynthesisSegment& s) { s.pitchPeriod /= factor; });
    });
}

void ApplyCallerVolumeSteps(std::span<const uint64_t> sds, std::span<const UnitSpan> spans,
                            const WordSteps& volume, std::span<int16_t> signal) {
    if (volume.steps == nullptr) return;
    const size_t words = CountWords(sds);
    ForUnitsByWord(sds, spans, [&](const UnitSpan& span, size_t, size_t word) {
        const double factor = volume.At(word, words) * 0.01;
        const int64_t from = std::clamp<int64_t>(span.start, 0, int64_t(signal.size()));
        const int64_t to =
            std::clamp<int64_t>(int64_t{span.start} + span.length, from, int64_t(signal.size()));
        for (int64_t i = from; i < to; ++i)
            signal[static_cast<size_t>(i)] = ScaleSample(signal[static_cast<size_t>(i)], factor);
    });
}

}  // namespace vox
