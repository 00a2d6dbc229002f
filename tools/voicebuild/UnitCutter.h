// Cuts a selected instance out of its resampled utterance as a database
// unit, so that units from different recordings meet cleanly: every cut lies
// at a gentle rising zero crossing (the sample before it negative, the cut
// sample not), so a unit starts just above zero and ends just below it, and
// any two units joined run on through zero in one direction with no step;
// the first and last 8 samples are eased in and out from there.
//   - Voiced boundaries (a pitch mark within half a period before or a period
//     after, or voicing that ends one period before): the start of that
//     pitch period, a rising crossing before its excitation.
//   - Other boundaries: a quiet rising crossing within 3 ms (6 ms when
//     there is none nearer).
// The cut depends only on the boundary and the recording, so the two
// neighbours of one token meet at the same sample. An intonable unit's marks
// are its period starts (first at 0), with evenly spaced marks filling
// stretches where none was found; other units get the evenly spaced marks
// the engine would give them (one per 147 samples).
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "engine/voice/AudioBase.h"
#include "tools/voicebuild/CorpusModel.h"

namespace vox::voicebuild {

enum class CutKind {
    PeriodStart,   // voiced: the rising crossing that starts a pitch period
    LowAmplitude,  // unvoiced: a quiet rising crossing
    NoCrossing,    // none in reach (silence, clipping, DC): the quietest sample
};

struct CutPlace {
    long sample = 0;
    CutKind kind = CutKind::NoCrossing;
    double period = 0.0;  // the pitch period there, samples (the speaker's where unvoiced)
};

struct CutUnit {
    Unit unit;
    double f0 = 0.0;  // median of the detected periods inside, Hz (0: none)
    int peak = 0;     // largest absolute sample
    CutKind startKind = CutKind::NoCrossing, endKind = CutKind::NoCrossing;
    // How far each edge lies from the label boundary it refines, in pitch
    // periods of that place.
    double startShift = 0.0, endShift = 0.0;
    // Bad input, kept with the best cut available and counted by the build.
    int edgesWithoutCrossing = 0;  // 0, 1 or 2
    bool tooShort = false;         // the cuts crossed or met: cut at the label times instead
    bool silent = false;           // no sample above kSilentPeak
    bool clipped = false;          // samples at full scale
};

inline constexpr int kSilentPeak = 16;

// Where a boundary at `seconds` is cut; `marks` (glottal pulses) at `rate`.
// `side` Inside with `isStart`: the pulse at or after the boundary within a
// period; with !isStart: at or before it; else (or without such a pulse) the
// nearest as above.
CutPlace FindCut(std::span<const int16_t> audio, std::span<const long> marks, int rate,
                 double seconds, double speakerPeriod, CutSide side = CutSide::Nearest,
                 bool isStart = true);

// The cut sample alone.
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
