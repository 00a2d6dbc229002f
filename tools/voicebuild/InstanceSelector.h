// Chooses one recorded instance per unit name. Each candidate pays penalties
// (lower is better):
//   - its label disagrees with our phoneme (the aligner matched a neighbour);
//   - it was squeezed to the aligner's minimum length;
//   - it touches a pause although its name's context is not "#";
//   - a stressed vowel in the last word before a pause (lengthened: the
//     rhythmics model takes its reference length from stressed units);
//   - its duration, f0 and level lie far from the medians of its name;
//   - an intonable unit with irregular pitch marks or little voicing;
//   - its own alignment cost;
//   - it is shorter than 12 ms (chosen only when its name has nothing else);
//   - its edges lie far from its name's typical edge spectrum and level (an
//     instance with typical edges joins well with any neighbour; stray sound
//     from its source word shows there too);
//   - near-silence inside its edges beyond a few ms (stops aside, whose
//     closure is the sound);
//   - it stands before a pause while its name mostly does not (and the other
//     way round: a name mostly spoken phrase-finally prefers such instances).
// The two names of one consonant-vowel pair ("B-A0" then "A0-B", which the
// engine joins without smoothing) are chosen together, from one token.
// The best candidate of each name on its own is then refined so that the
// chosen units join well with each other (NeighbourFit.h).
#pragma once

#include <string>
#include <vector>

#include "tools/voicebuild/CorpusModel.h"
#include "tools/voicebuild/NeighbourFit.h"

namespace vox::voicebuild {

struct SelectionWeights {
    double labelDisagrees = 3.0;
    double alignerMinimum = 1.0;
    double pauseNeighbour = 1.0;
    double finalStressed = 1.0;
    double durationLog = 2.0;     // × |ln(duration / median)|
    double f0Semitones = 0.15;    // × |semitones from the median|
    double levelDb = 0.05;        // × |dB from the median|
    double irregularMarks = 2.0;  // × share of irregular intervals
    double unvoiced = 2.0;        // × unvoiced share of an intonable unit
    double alignCost = 3.0;
    double minDuration = 0.012;   // seconds; a shorter instance is the last resort …
    double tooShort = 10.0;       // … with this penalty (one without samples is never chosen)
    double edgeSpectrumDb = 0.1;  // × mean spectral distance of the edges from the name's
    double quietPerMs = 0.15;     // × ms of near-silence at an edge beyond …
    double quietAllowedMs = 5.0;
    double finalMismatch = 1.0;      // before a pause or not, against the name's habit
    NeighbourFitOptions neighbours;  // then the fit to the neighbours (perDb 0: none), which
    double typicalLength = 1.25;     // tries only instances within this factor of the name's
    double typicalLevelDb = 8.0;     // median length, this far from its median level
    double typicalSemitones = 3.0;   // and f0 (the prosody models take units as typical)
};

struct NameChoice {
    std::string name;
    int instance = -1;      // index into the instance list
    size_t candidates = 0;  // instances the name had
    double penalty = 0.0;
};

// One choice per distinct name, in byte order of the names.
std::vector<NameChoice> SelectInstances(const std::vector<Instance>& instances,
                                        const std::vector<PreparedUtterance>& utterances,
                                        const SelectionWeights& weights = {});

// The recorded instances followed by their cut variants: for each voiced
// edge that a cut inside the sound would place elsewhere, a copy cut there
// (and one with both edges so), with that edge's spectrum. The indices of
// the recorded ones stay as they were.
std::vector<Instance> WithCutVariants(const std::vector<Instance>& recorded);

// The name that forms a mirror pair with `name` ("B-A0" ↔ "A0-B"), or "".
std::string MirrorName(const std::string& name);

}  // namespace vox::voicebuild
