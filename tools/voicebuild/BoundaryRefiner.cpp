#include "tools/voicebuild/BoundaryRefiner.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace vox::voicebuild {

namespace {

struct Series {
    const std::vector<float>& values;
    double step;  // seconds between frames; frame t at t·step
};

// Times where the series crosses `threshold` in the given direction inside
// [from, to]; the one nearest to `target`.
std::optional<double> NearestCrossing(const Series& s, double threshold, bool rising, double from,
                                      double to, double target) {
    std::optional<double> best;
    long first = std::max(1L, long(std::floor(from / s.step)));
    long last = std::min(long(s.values.size()) - 1, long(std::ceil(to / s.step)));
    for (long t = first; t <= last; ++t) {
        double a = s.values[size_t(t - 1)], b = s.values[size_t(t)];
        bool crosses =
            rising ? (a < threshold && b >= threshold) : (a >= threshold && b < threshold);
        if (!crosses) continue;
        double at = (double(t - 1) + (threshold - a) / (b - a)) * s.step;
        if (at < from || at > to) continue;
        if (!best || std::abs(at - target) < std::abs(*best - target)) best = at;
    }
    return best;
}

double MiddleLevel(const FrameFeatures& f, const TimedPhone& p) {
    double quarter = (p.end - p.start) / 4.0;
    size_t from = f.FrameAt(p.start + quarter), to = f.FrameAt(p.end - quarter);
    double sum = 0.0;
    for (size_t t = from; t <= to; ++t) sum += f.levelDb[t];
    return sum / double(to - from + 1);
}

std::optional<double> Detect(Detector d, const TimedPhone& left, const FrameFeatures& f,
                             const std::vector<float>& voicing, double pitchStep,
                             const RefineOptions& o, double from, double to, double label) {
    const Series high{f.highShare, double(f.hopSamples) / f.rate};
    const Series level{f.levelDb, double(f.hopSamples) / f.rate};
    switch (d) {
        case Detector::HighBandRise:
            return NearestCrossing(high, o.highShareThreshold, true, from, to, label);
        case Detector::HighBandFall:
            return NearestCrossing(high, o.highShareThreshold, false, from, to, label);
        case Detector::ClosureDrop:
            return NearestCrossing(level, MiddleLevel(f, left) - o.closureDropDb, false, from, to,
                                   label);
        case Detector::VoicingOnset:
            return NearestCrossing(Series{voicing, pitchStep}, 0.5, true, from, to,
                                   label);  // refined below
        case Detector::None:
            break;
    }
    return std::nullopt;
}

}  // namespace

Detector DetectorFor(SoundClass left, SoundClass right) {
    const bool voicedLeft = IsVoicedClass(left), voicedRight = IsVoicedClass(right);
    if (voicedLeft && right == SoundClass::VoicelessFricative) return Detector::HighBandRise;
    if (left == SoundClass::VoicelessFricative && voicedRight) return Detector::HighBandFall;
    if ((IsVowelClass(left) || left == SoundClass::Sonorant) && right == SoundClass::VoicelessStop)
        return Detector::ClosureDrop;
    if (left == SoundClass::VoicelessStop && (IsVowelClass(right) || right == SoundClass::Sonorant))
        return Detector::VoicingOnset;
    return Detector::None;
}

// The first glottal pulse of the voicing that the frames show from `onset`.
double FirstPulse(double onset, double from, std::span<const long> marks, int rate,
                  const RefineOptions& o) {
    const double earliest = std::max(from, onset - o.onsetLead);
    auto it = std::lower_bound(marks.begin(), marks.end(), long(std::ceil(earliest * rate)));
    if (it == marks.end() || double(*it) / rate > onset + o.onsetLead) return onset;
    return double(*it) / rate;
}

size_t RefineBoundaries(std::vector<TimedPhone>& phones, const FrameFeatures& features,
                        const PitchTrack& pitch, std::span<const long> marks,
                        const RefineOptions& o) {
    if (features.Frames() == 0 || pitch.Frames() == 0) return 0;
    std::vector<float> voicing(pitch.Frames());
    for (size_t t = 0; t < pitch.Frames(); ++t) voicing[t] = pitch.f0[t] > 0.0f ? 1.0f : 0.0f;
    const double pitchStep = double(pitch.hopSamples) / pitch.rate;

    size_t moved = 0;
    for (size_t i = 0; i + 1 < phones.size(); ++i) {
        TimedPhone& left = phones[i];
        TimedPhone& right = phones[i + 1];
        if (left.end != right.start) continue;
        Detector d = DetectorFor(left.cls, right.cls);
        if (d == Detector::None) continue;
        const double label = left.end;
        const double from = std::max(label - o.searchRadius, left.start + o.minDuration);
        const double to = std::min(label + o.searchRadius, right.end - o.minDuration);
        if (from >= to) continue;
        std::optional<double> event =
            Detect(d, left, features, voicing, pitchStep, o, from, to, label);
        if (event && d == Detector::VoicingOnset)
            event = FirstPulse(*event, from, marks, pitch.rate, o);
        if (!event || *event == label) continue;
        left.end = right.start = *event;
        ++moved;
    }
    return moved;
}

}  // namespace vox::voicebuild
