#include "tools/voicebuild/JoinPhrases.h"

#include <map>
#include <utility>

#include "tools/voicebuild/SoundClass.h"
#include "tools/voicebuild/Transcriber.h"

namespace vox::voicebuild {

namespace {

using ClassPair = std::pair<SoundClass, SoundClass>;

std::vector<std::vector<StressedWord>> Syntagmas(const std::string& text,
                                                 const StressDictionary* dictionary,
                                                 PromptMarks marks) {
    std::vector<std::vector<StressedWord>> out;
    for (StressedWord& w : PlaceStress(text, dictionary, marks).words) {
        if (out.empty() || (w.phraseBreakBefore && !out.back().empty())) out.emplace_back();
        out.back().push_back(std::move(w));
    }
    return out;
}

// The class pairs of the joins between sounds; a word boundary without a
// pause ("(W)" is 0 by default) joins the sounds either side.
std::vector<ClassPair> JoinClasses(const std::vector<std::string>& phonemes,
                                   const ModuleClient& module) {
    std::vector<ClassPair> pairs;
    const std::string* previous = nullptr;
    for (const std::string& p : phonemes) {
        if (p == "#") {
            previous = nullptr;
            continue;
        }
        if (p == "_") continue;
        if (previous)
            pairs.emplace_back(ClassifySound(module.SoundDescription(*previous)),
                               ClassifySound(module.SoundDescription(p)));
        previous = &p;
    }
    return pairs;
}

}  // namespace

std::vector<JoinPhrase> ChooseJoinPhrases(const std::vector<std::string>& texts,
                                          const ModuleClient& module,
                                          const StressDictionary* dictionary, PromptMarks marks,
                                          const JoinPhraseOptions& o) {
    std::vector<JoinPhrase> chosen;
    std::map<ClassPair, size_t> seen;
    for (const std::string& text : texts) {
        for (const std::vector<StressedWord>& words : Syntagmas(text, dictionary, marks)) {
            if (chosen.size() >= o.maxPhrases) return chosen;
            std::string problem;
            std::optional<Transcript> t = Transcribe(words, module, problem);
            if (!t) continue;
            const std::vector<ClassPair> pairs = JoinClasses(t->phonemes, module);
            bool wanted = false;
            for (const ClassPair& p : pairs) wanted = wanted || seen[p] < o.perClassPair;
            if (!wanted) continue;
            std::optional<std::vector<std::string>> allophones =
                module.PhonemesToAllophones(t->phonemes);
            if (!allophones || allophones->size() != t->phonemes.size()) continue;
            for (const ClassPair& p : pairs) ++seen[p];
            chosen.push_back({std::move(t->phonemes), std::move(*allophones)});
        }
    }
    return chosen;
}

}  // namespace vox::voicebuild
