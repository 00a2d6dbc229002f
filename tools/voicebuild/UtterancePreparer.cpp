#include "tools/voicebuild/UtterancePreparer.h"

#include <algorithm>
#include <cstdio>

#include "platform/Text.h"
#include "tools/voicebuild/Aligner.h"
#include "tools/voicebuild/LabelReader.h"
#include "tools/voicebuild/Transcriber.h"

namespace vox::voicebuild {

namespace {

void Count(const std::vector<StressedWord>& words, StressCounts& counts) {
    for (const StressedWord& w : words) {
        switch (w.source) {
            case StressSource::Prompt:
                ++counts.prompt;
                break;
            case StressSource::Dictionary:
                ++counts.dictionary;
                break;
            case StressSource::Yo:
                ++counts.yo;
                break;
            case StressSource::None:
                ++counts.none;
                break;
        }
    }
}

// Word boundaries where the speaker paused become phrase boundaries.
void MarkPauses(std::vector<std::string>& phonemes, const std::vector<int>& segmentOf,
                const std::vector<LabelSegment>& labels, const PhoneMap& map) {
    for (size_t i = 1; i + 1 < phonemes.size(); ++i) {
        if (phonemes[i] != "_" || segmentOf[i] < 0) continue;
        const PhoneClass* c = map.Find(labels[size_t(segmentOf[i])].phone);
        if (c != nullptr && c->kind == PhoneKind::Pause) phonemes[i] = "#";
    }
}

// Names every phrase between two "#" through the module.
bool NamePhrases(const std::vector<std::string>& phonemes, const ModuleClient& module,
                 std::vector<std::string>& names, std::string& problem) {
    names.assign(phonemes.size(), "");
    size_t start = 0;
    for (size_t i = 1; i < phonemes.size(); ++i) {
        if (phonemes[i] != "#") continue;
        std::vector<std::string> phrase(phonemes.begin() + long(start),
                                        phonemes.begin() + long(i) + 1);
        std::optional<std::vector<std::string>> allophones = module.PhonemesToAllophones(phrase);
        if (!allophones || allophones->size() != phrase.size()) {
            problem = "the module rejects the phrase \"" + JoinList(phrase) + "\"";
            return false;
        }
        std::copy(allophones->begin(), allophones->end(), names.begin() + long(start));
        start = i;
    }
    return true;
}

bool LabelAgrees(const std::string& phoneme, const PhoneClass& c) {
    if (c.kind == PhoneKind::Consonant) return c.phonemes[0] == phoneme;
    return std::find(c.phonemes.begin(), c.phonemes.end(), phoneme.substr(0, 1)) !=
           c.phonemes.end();
}

bool IsPauseSegment(const std::vector<LabelSegment>& labels, long k, const PhoneMap& map) {
    if (k < 0 || k >= long(labels.size())) return true;  // the file's edges count as pauses
    const PhoneClass* c = map.Find(labels[size_t(k)].phone);
    return c != nullptr && c->kind == PhoneKind::Pause;
}

bool InFinalWord(const std::vector<std::string>& phonemes, size_t i) {
    for (size_t k = i + 1; k < phonemes.size(); ++k) {
        if (phonemes[k] == "_") return false;
        if (phonemes[k] == "#") return true;
    }
    return true;
}

std::vector<SoundClass> SegmentClasses(const std::vector<LabelSegment>& labels, const PhoneMap& map,
                                       const ModuleClient& module) {
    std::vector<SoundClass> classes;
    for (const LabelSegment& s : labels) {
        const PhoneClass* c = map.Find(s.phone);
        switch (c->kind) {
            case PhoneKind::Pause:
                classes.push_back(SoundClass::Pause);
                break;
            case PhoneKind::StressedVowel:
                classes.push_back(SoundClass::StressedVowel);
                break;
            case PhoneKind::UnstressedVowel:
                classes.push_back(SoundClass::UnstressedVowel);
                break;
            case PhoneKind::Consonant:
                classes.push_back(ClassifySound(module.SoundDescription(c->phonemes[0])));
                break;
        }
    }
    return classes;
}

}  // namespace

std::optional<PreparedWithInstances> PrepareUtterance(const Prompt& prompt,
                                                      const std::string& wavPath,
                                                      const std::string& labPath,
                                                      const PreparationSettings& s,
                                                      StressCounts& counts, std::string& problem,
                                                      std::vector<std::string>& warnings) {
    PreparedWithInstances out;
    PreparedUtterance& u = out.utterance;
    u.id = prompt.id;
    u.wavPath = wavPath;
    u.labPath = labPath;
    std::optional<std::vector<LabelSegment>> labels = ReadLabels(labPath, problem);
    if (!labels) return std::nullopt;
    u.labels = std::move(*labels);

    StressPlacementResult stressed = PlaceStress(prompt.text, s.dictionary, s.promptMarks);
    for (const std::string& w : stressed.problems)
        warnings.push_back(s.promptPath + ":" + std::to_string(prompt.line) + ": " + w);
    std::optional<Transcript> transcript = Transcribe(stressed.words, *s.module, problem);
    if (!transcript) {
        problem = s.promptPath + ":" + std::to_string(prompt.line) + ": " + problem;
        return std::nullopt;
    }
    std::optional<Alignment> alignment =
        Align(transcript->phonemes, u.labels, *s.phoneMap, labPath, problem);
    if (!alignment) return std::nullopt;
    u.alignCostPerPhone = alignment->CostPerPhone();
    if (u.alignCostPerPhone > s.maxAlignCostPerPhone) {
        char text[160];
        std::snprintf(text, sizeof text,
                      ": the labels do not match the prompt of line %d (alignment cost %.3f per "
                      "phone, limit %.3f)",
                      prompt.line, u.alignCostPerPhone, s.maxAlignCostPerPhone);
        problem = labPath + text;
        return std::nullopt;
    }
    Count(stressed.words, counts);
    u.phonemes = transcript->phonemes;
    u.segmentOf = alignment->segmentOf;
    MarkPauses(u.phonemes, u.segmentOf, u.labels, *s.phoneMap);
    if (!NamePhrases(u.phonemes, *s.module, u.names, problem)) {
        problem = s.promptPath + ":" + std::to_string(prompt.line) + ": " + problem;
        return std::nullopt;
    }
    out.segmentClass = SegmentClasses(u.labels, *s.phoneMap, *s.module);

    u.instanceOf.assign(u.phonemes.size(), -1);
    for (size_t i = 0; i < u.phonemes.size(); ++i) {
        const int k = u.segmentOf[i];
        if (k < 0 || IsBoundaryPhoneme(u.phonemes[i])) continue;
        const LabelSegment& seg = u.labels[size_t(k)];
        Instance in;
        in.name = u.names[i];
        in.phoneme = u.phonemes[i];
        uint64_t sd = s.module->SoundDescription(in.phoneme);
        in.cls = ClassifySound(sd);
        in.intonable = (sd >> sd::Intonable) & 1u;
        in.position = int(i);
        in.start = seg.start;
        in.end = seg.end;
        in.labelAgrees = LabelAgrees(in.phoneme, *s.phoneMap->Find(seg.phone));
        in.atAlignerMinimum = seg.end - seg.start <= s.alignerMinimum;
        in.afterPause = IsPauseSegment(u.labels, k - 1, *s.phoneMap);
        in.beforePause = IsPauseSegment(u.labels, k + 1, *s.phoneMap);
        in.nextToPause = in.afterPause || in.beforePause;
        size_t dash = in.name.find('-');
        in.contextIsPause = dash != std::string::npos && in.name.substr(dash + 1) == "#";
        in.inFinalWord = InFinalWord(u.phonemes, i);
        in.alignCost = alignment->costOf[i];
        u.instanceOf[i] = int(out.instances.size());
        out.instances.push_back(std::move(in));
    }
    return out;
}

}  // namespace vox::voicebuild
