// How closely a voice's prosody follows its speaker: the synthesis of a
// held-out syntagma (its own phonemes and mark) against its recording.
// Synthesis is mapped onto the recording phoneme by phoneme: a frame at a
// fraction of a synthesised phoneme is compared with the frame at the same
// fraction of the recorded one. Collected over many syntagmas:
//   durations  per phoneme with audio in both, milliseconds;
//   f0         per frame voiced in both, semitones re 100 Hz;
//   energy     per frame inside phonemes with audio, dB relative to the
//              syntagma's own mean (the contour, not the recording level).
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "tools/voicebuild/HeldOut.h"
#include "tools/voicebuild/PitchTracker.h"

namespace vox::voicebuild {

// Durations are also compared per group of sounds.
enum SoundGroup : int { kStressedVowels = 0, kOtherVowels = 1, kConsonants = 2 };
inline constexpr int kSoundGroups = 3;

struct ProsodyPairs {
    std::vector<double> recordedMs, spokenMs;
    std::vector<int> soundOf;  // per duration pair: its SoundGroup
    std::vector<double> recordedSt, spokenSt;
    // Per voiced frame pair, synthesis minus recording less that difference's
    // mean over its syntagma: the contour's error without the syntagma's level.
    std::vector<double> contourErrorSt;
    std::vector<double> recordedDb, spokenDb;
    // Declination of each statement ("(.)"), semitones per second: the least
    // squares slope over its frames voiced in both, each on its own time axis.
    std::vector<double> recordedSlope, spokenSlope;
    // Final lowering of each statement, semitones: its last stressed vowel
    // ("A0", "O0", …) over its median, over the frames voiced in both.
    std::vector<double> recordedLowering, spokenLowering;
    size_t syntagmas = 0;
};

// Adds one syntagma: `recorded` tracks the whole recording, `spoken` the
// synthesis, whose phonemes are `sizes` samples long (at spoken.rate) one
// after another. False, adding nothing, when the sizes do not match the
// phoneme list.
bool AddComparison(const HeldOutSyntagma& held, const PitchTrack& recorded,
                   const PitchTrack& spoken, std::span<const int32_t> sizes, ProsodyPairs& pairs);

// Appends `from`'s pairs to `into`.
void MergePairs(const ProsodyPairs& from, ProsodyPairs& into);

struct ProsodyFigures {
    size_t syntagmas = 0, phonemes = 0, voicedFrames = 0, frames = 0;
    double durationRmseMs = 0.0, durationCorrelation = 0.0;
    double f0RmseSt = 0.0, f0Correlation = 0.0;
    double f0BiasSt = 0.0, durationBiasMs = 0.0;  // mean of synthesis minus recording
    size_t statements = 0;
    double recordedDeclination = 0.0, spokenDeclination = 0.0;  // st/s, mean over statements
    double recordedLowering = 0.0, spokenLowering = 0.0;        // st, mean over statements
    double energyCorrelation = 0.0;
    double contourRmseSt = 0.0;  // f0 RMSE with each syntagma's own level removed
    std::array<double, kSoundGroups> durationRmseByGroupMs{};
    std::array<size_t, kSoundGroups> phonemesByGroup{};
};

ProsodyFigures Summarise(const ProsodyPairs& pairs);

// Pearson's correlation (0 when either side does not vary) and the root mean
// square difference of two equally long series.
double Correlation(std::span<const double> a, std::span<const double> b);
double RootMeanSquareDifference(std::span<const double> a, std::span<const double> b);

}  // namespace vox::voicebuild
