// Chooses instances that fit the units they will be joined to. The database
// holds one unit per name, so a unit meets whatever unit the text puts
// beside it; the names that stand beside it in the corpus's own phrases
// show which neighbours it meets and how often. Starting from each name's
// best instance on its own, rounds of coordinate descent give each group
// (a name, or a consonant-vowel pair cut from one token) the candidate with
// the smallest sum of its own penalty and the spectral distance across its
// edges to the neighbours' current choices, each side averaged over the
// neighbours by how often they occur.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "tools/voicebuild/CorpusModel.h"

namespace vox::voicebuild {

// The instances one candidate gives the names of its group (one or two).
struct Candidate {
    std::vector<int> instances;  // parallel to the group's names
    double penalty = 0.0;        // their own penalties, summed
    bool typical = true;         // length, level and f0 near their names' medians: only
                                 // such candidates are tried for their joins
};

struct SelectionGroup {
    std::vector<std::string> names;  // one name, or a consonant then its mirror vowel
    std::vector<Candidate> candidates;
    size_t chosen = 0;  // index into candidates
};

struct NeighbourFitOptions {
    double perDb = 3.0;        // × the mean cost of the joins to the neighbours
    double kneeDb = 8.0;       // a join's cost is its distance up to here …
    double beyondKnee = 0.25;  // … and grows at this rate beyond
    double margin = 3.0;       // candidates whose own penalty exceeds the group's best by more
                               // are not tried (a good join does not excuse a bad unit)
    int maxRounds = 6;
};

// How often one name is followed by another with no pause between, over the
// corpus's phrases (word boundaries do not part them; pauses do).
using NeighbourCounts = std::map<std::pair<std::string, std::string>, size_t>;
NeighbourCounts CountNeighbours(const std::vector<PreparedUtterance>& utterances);

// Refines `groups[*].chosen`; returns the rounds that changed a choice.
int FitNeighbours(std::vector<SelectionGroup>& groups, const std::vector<Instance>& instances,
                  const NeighbourCounts& counts, const NeighbourFitOptions& options = {});

}  // namespace vox::voicebuild
