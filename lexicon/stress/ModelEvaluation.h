// How right the stress is: the dictionary on a sample of its own words, and
// the model on words kept out of its training (`voxamen lexicon build`
// prints these figures; a test holds them to their floors).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "DictionaryCompiler.h"

namespace lexicon {

struct Accuracy {
    size_t right = 0;
    size_t total = 0;
    double Percent() const { return total ? 100.0 * double(right) / double(total) : 0.0; }
};

struct ModelReport {
    // The compiled dictionary on 2,000 random words of its own (homographs aside).
    Accuracy dictionarySample;
    // The model alone on a random tenth of the words held out of its
    // training (the other nine tenths).
    Accuracy heldOutTenth;
    // Those of them whose family (the words sharing their stem) keeps other
    // forms in the training: unseen inflections of known words.
    Accuracy unseenInflections;
    // The model on a held-out tenth of the word families: words whose whole
    // family is new to it (the hardest case: only the ending speaks).
    Accuracy heldOutFamilies;
};

// `words` as PrepareWords leaves them; the same seed gives the same report.
ModelReport EvaluateModel(const std::vector<LexiconWord>& words, const ModelSettings& settings,
                          uint32_t seed = 2026);

}  // namespace lexicon
