// The build report of a voice ("build-report.txt" in the voice folder): what
// went in, what was skipped and why, how well labels and pitch marks held,
// the names with their instance counts, and the substitute targets filled or
// missing.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "tools/voicebuild/FallbackPlanner.h"
#include "tools/voicebuild/InstanceSelector.h"
#include "tools/voicebuild/UtterancePreparer.h"
#include "tools/voicebuild/VoiceCoverage.h"

namespace vox::voicebuild {

struct UnitLine {
    std::string name;
    size_t instances = 0;
    std::string utterance;  // the chosen instance's utterance id ("" for a copy)
    std::string copyOf;     // for a filled substitute target
    double penalty = 0.0;
    size_t samples = 0;
    bool vowel = false;
};

// How the units were cut; bad input is kept with the best cut available.
struct CutCounts {
    size_t units = 0;
    size_t periodStartEdges = 0, lowAmplitudeEdges = 0, edgesWithoutCrossing = 0;
    size_t tooShort = 0, silent = 0, clipped = 0;
    size_t edgesWithinPeriod = 0;  // no farther than one pitch period from their label boundary
    double farthestShift = 0.0;    // periods
    std::string farthest;          // the unit with that edge
    std::vector<std::string> problems;  // "NAME: what"
};

struct BuildSummary {
    std::string corpus, output, module;
    size_t utterancesListed = 0, utterancesUsed = 0;
    std::vector<std::string> skipped;  // one problem per skipped utterance
    size_t holdOutEvery = 0;           // --hold-out N (0: none)
    std::vector<std::string> heldOut;  // ids left out of the units and the prosody fit
    std::vector<std::string> warnings;
    StressCounts stress;
    double meanAlignCost = 0.0, worstAlignCost = 0.0;
    std::string worstAlignId;
    size_t markIntervals = 0, markIntervalsWithin = 0;
    double speakerF0 = 0.0;
    int rangeLowHz = 0, rangeHighHz = 0;  // intonation range of the prosody files
    bool residualInverted = false;
    std::vector<UnitLine> units;
    FallbackPlan fallbacks;
    Coverage coverage;  // of the corpus's own prompts
    CutCounts cuts;
    // Spectral distance across the natural boundaries of the corpus, per
    // phone pair ("A0|K"), the reference of `voxamen voice report --joins`.
    std::map<std::string, std::vector<float>> naturalDistances;
    double seconds = 0.0;
};

std::string BuildReportText(const BuildSummary& summary);

}  // namespace vox::voicebuild
