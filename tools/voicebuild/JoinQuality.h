// How clean the joins between units are, measured on the spoken signal:
//   - burst: the energy above 7.5 kHz in a 3 ms window at the join, in dB
//     above the phrase's median of such windows, and above the windows 6 ms
//     either side (a click is >= 12 dB; a fricative's own hiss beside the
//     join is the sound, not a click);
//   - dip: the level of a 3 ms window at the join against the loudest such
//     window within 20 ms on the quieter side (a gap is below -10 dB);
//   - distance: the spectral distance of the frames either side.
// Natural recordings give the reference distance per phone pair.
#pragma once

#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <vector>

#include "tools/voicebuild/PhraseRenderer.h"

namespace vox::voicebuild {

inline constexpr double kClickDb = 12.0;
inline constexpr double kSpikeDb = 20.0;
inline constexpr double kDipDb = -10.0;

struct JoinMeasure {
    std::string left, right;  // unit names
    std::string pair;         // phonemes, "A0|K"
    double burstDb = 0.0, dipDb = 0.0, distance = -1.0;
};

// Every join between two sounds of the phrase (joins beside pauses aside).
std::vector<JoinMeasure> MeasureJoins(const RenderedPhrase& phrase);

// The reference: median natural distance per phone pair.
using NaturalDistances = std::map<std::string, double>;

// Spectral distance over one kind of join (vowel to consonant and so on).
struct JoinKindDistance {
    std::string kind;  // "consonant|vowel", "vowel|consonant", …
    size_t joins = 0;
    double median = 0.0;
    double naturalMedian = -1.0;  // -1: none of its pairs has a reference
};

// "vowel" or "consonant" for each side of a phone-pair key ("A0|K").
std::string JoinKind(const std::string& pair);

struct JoinFigures {
    size_t phrases = 0, joins = 0, clicks = 0, spikes = 0, dips = 0;
    double maxBurstDb = 0.0, minDipDb = 0.0;
    double medianDistance = 0.0;
    double naturalMedian = -1.0;  // over the same phone pairs; -1: no reference
    size_t pairsWithReference = 0;
    std::vector<JoinKindDistance> kinds;  // in byte order of the kind
    std::vector<JoinMeasure> worst;      // by burst, loudest first
    std::vector<JoinMeasure> deepest;    // by dip, deepest first
};

JoinFigures SummariseJoins(const std::vector<JoinMeasure>& joins, size_t phrases,
                           const NaturalDistances& natural, size_t worstCount);

// The phone-pair key of two phonemes.
inline std::string PairKey(const std::string& a, const std::string& b) {
    return a + "|" + b;
}

// The natural-boundary section of a build report ("natural boundaries" then
// "PAIR<TAB>MEDIAN<TAB>COUNT" lines), and reading it back.
std::string NaturalDistanceSection(const std::map<std::string, std::vector<float>>& distances);
NaturalDistances ReadNaturalDistances(const std::string& reportText);

}  // namespace vox::voicebuild
