#include "tools/voicebuild/VoiceCoverage.h"

#include "engine/voice/Abs07Format.h"
#include "platform/FileMapping.h"
#include "tools/voicebuild/Transcriber.h"

namespace vox::voicebuild {

namespace {

void Count(const std::vector<StressedWord>& words, const std::set<std::string>& names,
           const ModuleClient& module, Coverage& c) {
    std::string problem;
    std::optional<Transcript> t = Transcribe(words, module, problem);
    std::optional<std::vector<std::string>> allophones;
    if (t) allophones = module.PhonemesToAllophones(t->phonemes);
    if (!allophones) {
        c.problems.push_back(problem.empty() ? "the module rejects a syntagma" : problem);
        return;
    }
    ++c.syntagmas;
    for (const std::string& a : *allophones) {
        if (a == "#" || a == "_") continue;
        if (names.count(a)) {
            ++c.direct;
            continue;
        }
        std::optional<std::string> s = module.Substitute(a);
        if (s && names.count(*s)) {
            ++c.substitute;
            ++c.substituted[a];
        } else {
            ++c.missing;
            ++c.absent[a];
        }
    }
}

}  // namespace

std::optional<std::set<std::string>> ReadUnitNames(const std::string& path, std::string& error) {
    MappedFile file;
    if (!file.Open(path, &error)) return std::nullopt;
    abs07::Index index;
    if (std::optional<abs07::Defect> d = abs07::ReadIndex({file.Data(), file.Size()}, index)) {
        error = path + ": " + d->Text();
        return std::nullopt;
    }
    std::set<std::string> names;
    for (const abs07::Entry& e : index.entries) names.insert(e.name);
    return names;
}

void MeasureCoverage(const std::string& text, const std::set<std::string>& names,
                     const ModuleClient& module, const StressDictionary* dictionary,
                     PromptMarks marks, Coverage& coverage) {
    StressPlacementResult placed = PlaceStress(text, dictionary, marks);
    std::vector<StressedWord> syntagma;
    for (StressedWord& w : placed.words) {
        if (w.phraseBreakBefore && !syntagma.empty()) {
            Count(syntagma, names, module, coverage);
            syntagma.clear();
        }
        syntagma.push_back(std::move(w));
    }
    if (!syntagma.empty()) Count(syntagma, names, module, coverage);
}

}  // namespace vox::voicebuild
