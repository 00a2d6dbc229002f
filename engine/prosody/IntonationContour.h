// Intonation contours of one phrase: the profile's word shapes rendered
// over the phrase's words (pitch curve, one value per sample, 0 = no value),
// and the application of a pitch curve and a tempo curve to the synthesis
// segments, absolute (between the voice's low and high frequency) or
// relative (to the recorded pitch). The new intonation model prepares its
// curves itself (IntonationNewBase) and is applied here too.
//
// The curves run over every phoneme's samples in phrase order, the same
// axis as the positions of the concatenated signal; the samples of a word
// boundary get no value.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "engine/prosody/IntonationProfile.h"
#include "engine/synthesis/PhraseRecords.h"

namespace vox {

inline constexpr const char* kPrepareIntonationCaption = "PrepareIntonation";

// Frequencies an intonation may ask for are kept within these.
inline constexpr double kMinIntonationHz = 30.0;
inline constexpr double kMaxIntonationHz = 1000.0;
// A relative change divides the period by at most this (or at least its inverse).
inline constexpr double kMaxRelativePitch = 4.0;

// Renders the contour of `mark` over the phrase (`lengths` = each
// phoneme's unit length in samples). A mark without contour is reported
// (caption "PrepareIntonation") and gives an all-zero curve.
void PrepareProfileIntonation(const IntonationProfile& profile, std::string_view mark,
                              std::span<const uint64_t> sds, std::span<const int32_t> lengths,
                              std::vector<float>& pitch);

// Point list drawn over `n` samples into `out` (values appended).
void DrawPointList(const PointList& points, int64_t n, std::vector<float>& out);
// Raised-cosine transition from `a` to `b` over `n` samples, appended.
void DrawRaisedCosine(float a, float b, int64_t n, std::vector<float>& out);

struct IntonationScale {
    double lowHz = 100.0, highHz = 200.0;  // absolute: 0 and 100 on the curve
    bool newModel = false;                 // values are percent of the recorded pitch
};

void ApplyAbsoluteIntonation(std::span<const float> pitch, std::span<const float> tempo,
                             const IntonationScale& scale, std::span<SynthesisSegment> segments);
void ApplyRelativeIntonation(std::span<const float> pitch, std::span<const float> tempo,
                             const IntonationScale& scale, std::span<SynthesisSegment> segments);

}  // namespace vox
