// The cluster pass of letter-to-phoneme conversion: rewrites of consonant
// clusters on the phoneme text the letter pass produced ("#," followed by
// every phoneme and a ","), and the closing of the phrase.
#pragma once

#include <string>
#include <string_view>

namespace vox::letters {

struct ClusterOptions {
    bool zhClusterRule = false;  // also devoice "ZH" before a voiceless consonant
};

// Rewrites the clusters in place. `letters` is the lower-cased text the
// phonemes came from ("лъл" keeps a hard "L" before "L'").
void RewriteClusters(std::string& phonemes, std::string_view letters,
                     const ClusterOptions& options);

// Closes the phrase with "#" and tidies the word breaks: a run of "_" leaves
// one, and none stays next to "#". Gives "" when no phoneme is left between
// the two "#".
void ClosePhrase(std::string& phonemes);

}  // namespace vox::letters
