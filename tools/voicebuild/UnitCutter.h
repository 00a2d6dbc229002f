// Cuts a selected instance out of its resampled utterance as a database
// unit. A boundary is cut on a pitch mark when one lies within half a period
// before it or a period after it (a voicing onset's first pulse), else where
// the last period before it ends, else on the nearest zero crossing; the two
// neighbours of one token meet at the same sample. An intonable unit thus starts on a mark and
// ends one sample before the next; its marks are the detected ones, with
// evenly spaced marks filling stretches where none was found. Other units get
// the evenly spaced marks the engine would give them (one per 147 samples).
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "engine/voice/AudioBase.h"
#include "tools/voicebuild/CorpusModel.h"

namespace vox::voicebuild {

struct CutUnit {
    Unit unit;
    double f0 = 0.0;  // median of the detected periods inside, Hz (0: none)
    int peak = 0;     // largest absolute sample
};

// The cut sample for a boundary at `seconds`; `marks` are at `rate`. It
// depends on nothing but the boundary, the recording and the speaker's
// typical period, so both units beside a boundary are cut at one sample.
long CutPoint(std::span<const int16_t> audio, std::span<const long> marks, int rate, double seconds,
              double speakerPeriod);

// `audio` and `marks` at `rate`; the speaker's period (samples) stands in
// where the marks give none.
CutUnit CutInstance(std::span<const int16_t> audio, std::span<const long> marks, int rate,
                    const Instance& instance, double speakerPeriod);

// Marks at one rate moved to another (nearest sample), order kept.
std::vector<long> ScaleMarkPositions(std::span<const long> marks, int fromRate, int toRate);

// The engine's marks for a unit that is not intonable: every n / c samples
// with c = n / 147, and a single mark at 0 for a shorter unit.
std::vector<int32_t> EvenMarks(size_t samples);

}  // namespace vox::voicebuild
