// Fits the voice's prosody files to its corpus: "Rhytmics.cfg" (durations
// per attribute condition, from the label times, as multiples of the basic
// allophone's unit; the rules learnt by RhythmicsFitter), "IntonationNew.cfg" and "Intonation.cfg" (pitch per word
// part for each syntagma mark and word count, from the pitch track) and
// "Amp.cfg" (loudness contours inside units by the classes of their
// neighbours, from the units' energies). Nothing is a hand-typed value: the
// contour layout is fixed, the rule conditions and every number come from
// the corpus.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "engine/voice/AudioBase.h"
#include "tools/voicebuild/CorpusModel.h"
#include "tools/voicebuild/ModuleClient.h"

namespace vox::voicebuild {

// One syntagma of the corpus as the engine would speak it: "#", phonemes,
// "#", its sound descriptions (phrase type included) and per phoneme the
// label duration and f0 (0 where there is none).
struct FitSyntagma {
    std::string mark;  // "(.)", "(?)", "(!)" or "(,)"
    std::vector<std::string> phonemes, names;
    std::vector<uint64_t> sds;
    std::vector<double> seconds;
    std::vector<double> starts;  // seconds into the recording (0 where there is no instance)
    std::vector<double> f0;
};

struct FitInput {
    std::vector<FitSyntagma> syntagmas;
    const std::map<std::string, const Unit*>* units = nullptr;  // the voice's units by name
    std::map<std::string, std::string> basic;                   // allophone → basic allophone
    double lowHz = 70.0, highHz = 260.0;  // the absolute intonation range of the voice
    double speakerF0 = 150.0;
};

struct FittedProsody {
    std::string rhytmics, intonation, intonationNew, amp;
    size_t rules = 0, contours = 0, entries = 0;
};

FittedProsody FitProsody(const FitInput& input);

// The syntagma mark of a phrase ending in `text`'s last punctuation.
std::string FinalMark(const std::string& promptText);

// The syntagmas of a prepared utterance split where the speaker paused, with
// durations, start times and f0 from its instances (`all`, indexed by
// instanceOf); the last takes the prompt's final mark, the others "(,)".
// No sound descriptions.
std::vector<FitSyntagma> SplitAtPauses(const PreparedUtterance& utterance,
                                       const std::vector<Instance>& all,
                                       const std::string& promptText);

// The syntagmas of a prepared utterance (split where the speaker paused),
// with durations and f0 from its instances (`all`, indexed by instanceOf);
// the last takes the prompt's final mark, the others "(,)".
std::vector<FitSyntagma> UtteranceSyntagmas(const PreparedUtterance& utterance,
                                            const std::vector<Instance>& all,
                                            const std::string& promptText,
                                            const ModuleClient& module);

}  // namespace vox::voicebuild
