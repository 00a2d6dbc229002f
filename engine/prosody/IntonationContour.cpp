#include "engine/prosody/IntonationContour.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "interfaces/SoundDescription.h"
#include "platform/Messages.h"

namespace vox {

namespace {

constexpr double kSampleRate = 22050.0;
constexpr float kDefaultSplit = 0.4f;
constexpr size_t kMaxCurve = size_t{1} << 28;

struct WordParts {
    int64_t before = 0, stressed = 0, after = 0;
};

// Step 1: words with their part lengths, and the anchors (framed by the
// first and the last phoneme).
void Words(std::span<const uint64_t> sds, std::span<const int32_t> lengths,
           std::vector<WordParts>& words, std::vector<size_t>& anchors) {
    WordParts open;
    anchors.push_back(0);
    for (size_t i = 0; i < sds.size(); ++i) {
        const uint64_t sd = sds[i];
        const int64_t len = std::max(lengths[i], 0);
        if (HasBit(sd, sd::Space)) {
            words.push_back(open);
            open = {};
            continue;
        }
        if (HasBit(sd, sd::Vowel)) {
            anchors.push_back(i);
            if (HasBit(sd, sd::InPretonicSyl))
                open.before += len;
            else if (HasBit(sd, sd::InStressedSyl))
                open.stressed += len;
            else if (HasBit(sd, sd::InPosttonicSyl))
                open.after += len;
        } else if (HasBit(sd, sd::Sonant) && HasBit(sd, sd::LastSyl) &&
                   HasBit(sd, sd::InStressedSyl) && open.stressed > 0) {
            anchors.push_back(i);
            open.stressed += len;
        }
    }
    words.push_back(open);
    anchors.push_back(sds.empty() ? 0 : sds.size() - 1);
}

size_t ShapeOf(size_t k, size_t count) {
    if (k + 1 == count) return 3;
    if (k == 0) return 0;
    return k % 2 == 1 ? 1 : 2;
}

float LastY(const PointList& list) {
    return list.empty() ? 0.0f : static_cast<float>(list.back().y);
}

void WordCurve(const WordShape& shape, const WordParts& w, float split, std::vector<float>& out) {
    if (w.before > 0) DrawPointList(shape[0], w.before, out);
    if (w.after > 0) {
        DrawPointList(shape[1], w.stressed, out);
        DrawPointList(shape[2], w.after, out);
    } else {
        const int64_t head = static_cast<int64_t>(static_cast<double>(w.stressed) * split);
        DrawPointList(shape[1], head, out);
        DrawRaisedCosine(LastY(shape[1]), LastY(shape[2]), w.stressed - head, out);
    }
}

// Step 8: consonants that carry pitch between two anchors are bridged.
void Bridge(std::span<const uint64_t> sds, std::span<const int64_t> start, size_t a, size_t b,
            std::vector<float>& pitch) {
    if (b <= a + 1) return;
    const int64_t axis = static_cast<int64_t>(pitch.size());
    if (axis == 0) return;
    const int64_t afterA = start[a + 1];
    float from = afterA > 0 ? pitch[static_cast<size_t>(std::min(afterA, axis) - 1)] : 0.0f;
    float to = pitch[static_cast<size_t>(std::min(start[b], axis - 1))];
    if (from == 0.0f) from = to;
    if (to == 0.0f) to = from;
    int64_t total = 0;
    for (size_t i = a + 1; i < b; ++i)
        if (HasBit(sds[i], sd::Consonant) && HasBit(sds[i], sd::Intonable))
            total += start[i + 1] - start[i];
    if (total == 0) return;
    int64_t t = 0;
    for (size_t i = a + 1; i < b; ++i) {
        if (!HasBit(sds[i], sd::Consonant) || !HasBit(sds[i], sd::Intonable)) continue;
        for (int64_t p = start[i]; p < start[i + 1]; ++p, ++t) {
            const double u = static_cast<double>(t) / static_cast<double>(total);
            pitch[static_cast<size_t>(p)] = static_cast<float>((1.0 - u) * from + u * to);
        }
    }
}

}  // namespace

void DrawPointList(const PointList& points, int64_t n, std::vector<float>& out) {
    if (n <= 0) return;
    const size_t first = out.size();
    out.resize(first + static_cast<size_t>(n), 0.0f);
    float* dst = out.data() + first;
    if (points.empty()) return;
    if (points.size() == 1) {
        std::fill(dst, dst + n, static_cast<float>(points[0].y));
        return;
    }
    const double scale = static_cast<double>(n) * 0.01;
    int64_t t = 0;
    // Pair (j, j+1) serves every t up to the scaled x of point j+1.
    for (size_t j = 0; j + 1 < points.size() && t < n; ++j) {
        const double x0 = points[j].x * scale, x1 = points[j + 1].x * scale;
        const double y0 = points[j].y, y1 = points[j + 1].y;
        const double slope = x1 == x0 ? 0.0 : (y1 - y0) / (x1 - x0);
        for (; t < n && static_cast<double>(t) <= x1; ++t)
            // Two points at one place: the later point's value.
            dst[t] = x1 == x0 ? static_cast<float>(y1)
                              : static_cast<float>(y0 + (static_cast<double>(t) - x0) * slope);
    }
    // Beyond the last point: no value.
}

void DrawRaisedCosine(float a, float b, int64_t n, std::vector<float>& out) {
    if (n <= 0) return;
    if (n == 1) {
        out.push_back(a);
        return;
    }
    // cos(π i / (n - 1)) by rotation, one multiply-add per sample.
    const double step = std::numbers::pi / static_cast<double>(n - 1);
    const double cs = std::cos(step), sn = std::sin(step);
    double c = 1.0, s = 0.0;
    const size_t first = out.size();
    out.resize(first + static_cast<size_t>(n));
    for (int64_t i = 0; i < n; ++i) {
        const double w = (1.0 - c) / 2.0;
        out[first + static_cast<size_t>(i)] = static_cast<float>((1.0 - w) * a + w * b);
        const double next = c * cs - s * sn;
        s = s * cs + c * sn;
        c = next;
    }
    out.back() = b;
}

void PrepareProfileIntonation(const IntonationProfile& profile, std::string_view mark,
                              std::span<const uint64_t> sds, std::span<const int32_t> lengths,
                              std::vector<float>& pitch) {
    pitch.clear();
    const size_t n = std::min(sds.size(), lengths.size());
    sds = sds.first(n);
    std::vector<int64_t> start(n + 1, 0);
    for (size_t i = 0; i < n; ++i) start[i + 1] = start[i] + std::max(lengths[i], 0);
    if (n == 0 || static_cast<size_t>(start[n]) > kMaxCurve) return;
    std::vector<WordParts> words;
    std::vector<size_t> anchors;
    Words(sds, lengths, words, anchors);
    pitch.assign(static_cast<size_t>(start[n]), 0.0f);

    const std::vector<WordShape>* contour = profile.GetContour(mark);
    if (contour == nullptr) {
        MessageBox(kPrepareIntonationCaption,
                   "Failed to get intonation contour for " + std::string(mark));
        return;
    }
    const float lastSplit = mark == "(-)" || mark == "(?)" ? 1.0f : kDefaultSplit;
    std::vector<float> vowelCurve;
    vowelCurve.reserve(pitch.size());
    for (size_t k = 0; k < words.size(); ++k)
        WordCurve((*contour)[ShapeOf(k, words.size())], words[k],
                  k + 1 == words.size() ? lastSplit : kDefaultSplit, vowelCurve);

    // Step 7: the vowel curve onto the anchors, up to its end.
    size_t used = 0;
    for (size_t a = 1; a + 1 < anchors.size() && used < vowelCurve.size(); ++a) {
        const size_t i = anchors[a];
        const size_t take =
            std::min(static_cast<size_t>(start[i + 1] - start[i]), vowelCurve.size() - used);
        std::copy_n(vowelCurve.begin() + static_cast<long>(used), take, pitch.begin() + start[i]);
        used += take;
    }
    for (size_t a = 0; a + 1 < anchors.size(); ++a)
        Bridge(sds, start, anchors[a], anchors[a + 1], pitch);
}

namespace {

float ValueAt(std::span<const float> curve, int32_t position) {
    if (position < 0 || static_cast<size_t>(position) >= curve.size()) return 0.0f;
    const float v = curve[static_cast<size_t>(position)];
    return std::isfinite(v) ? v : 0.0f;
}

void ApplyTempo(std::span<const float> tempo, std::span<SynthesisSegment> segments) {
    for (SynthesisSegment& s : segments) {
        const float w = ValueAt(tempo, s.position);
        if (w > 0.0f) s.timeFactor /= std::clamp(w * 0.01f, 0.1f, 10.0f);
    }
}

float PeriodOf(double hz) {
    return static_cast<float>(kSampleRate / std::clamp(hz, kMinIntonationHz, kMaxIntonationHz));
}

}  // namespace

void ApplyAbsoluteIntonation(std::span<const float> pitch, std::span<const float> tempo,
                             const IntonationScale& scale, std::span<SynthesisSegment> segments) {
    if (pitch.empty()) return;
    for (SynthesisSegment& s : segments) {
        const float v = ValueAt(pitch, s.position);
        if (v != 0.0f)
            s.pitchPeriod = PeriodOf(scale.lowHz + (scale.highHz - scale.lowHz) * v * 0.01);
    }
    if (scale.newModel) ApplyTempo(tempo, segments);
}

void ApplyRelativeIntonation(std::span<const float> pitch, std::span<const float> tempo,
                             const IntonationScale& scale, std::span<SynthesisSegment> segments) {
    if (pitch.empty()) return;
    for (SynthesisSegment& s : segments) {
        const float v = ValueAt(pitch, s.position);
        if (v == 0.0f) continue;
        const double divisor = scale.newModel ? v * 0.01 : (v - 50.0) * 0.01 + 1.0;
        s.pitchPeriod /=
            static_cast<float>(std::clamp(divisor, 1.0 / kMaxRelativePitch, kMaxRelativePitch));
    }
    if (scale.newModel) ApplyTempo(tempo, segments);
}

}  // namespace vox
