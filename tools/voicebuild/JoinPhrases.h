// The fixed phrase set on which join quality is measured: syntagmas of a
// text, taken in text order while they add a join of a sound-class pair
// (vowel | voiceless stop, sonorant | vowel, …) seen fewer than a few times,
// so that every class pair the text has is covered without hand-picking.
#pragma once

#include <string>
#include <vector>

#include "tools/voicebuild/ModuleClient.h"
#include "tools/voicebuild/StressPlacement.h"

namespace vox::voicebuild {

struct JoinPhrase {
    std::vector<std::string> phonemes;    // "#", …, "#"
    std::vector<std::string> allophones;  // one per phoneme
};

struct JoinPhraseOptions {
    size_t perClassPair = 5;  // joins wanted of every class pair
    size_t maxPhrases = 400;
};

// `texts` are UTF-8 texts (prompts or lines); syntagmas the module cannot
// take are passed over.
std::vector<JoinPhrase> ChooseJoinPhrases(const std::vector<std::string>& texts,
                                          const ModuleClient& module,
                                          const StressDictionary* dictionary, PromptMarks marks,
                                          const JoinPhraseOptions& options = {});

}  // namespace vox::voicebuild
