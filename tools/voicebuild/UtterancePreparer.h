// The text side of one utterance: stress, transcription through the module,
// alignment with the label phones, pauses turned into phrase boundaries,
// unit names from the module, and one candidate instance per phoneme that
// has a label segment.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "tools/voicebuild/CorpusModel.h"
#include "tools/voicebuild/ModuleClient.h"
#include "tools/voicebuild/PhoneMap.h"
#include "tools/voicebuild/PromptReader.h"
#include "tools/voicebuild/StressPlacement.h"

namespace vox::voicebuild {

struct PreparationSettings {
    std::string promptPath;  // for messages
    const PhoneMap* phoneMap = nullptr;
    const StressDictionary* dictionary = nullptr;  // may be null
    const ModuleClient* module = nullptr;
    PromptMarks promptMarks = PromptMarks::BeforeVowel;
    double maxAlignCostPerPhone = 0.3;  // above this the labels do not match the prompt
    double alignerMinimum = 0.0305;     // seconds: label segments this short were squeezed
};

struct StressCounts {
    size_t prompt = 0, dictionary = 0, yo = 0, none = 0;
};

struct PreparedWithInstances {
    PreparedUtterance utterance;
    std::vector<SoundClass> segmentClass;  // per label segment
    std::vector<Instance> instances;       // utterance index still to be set
};

// nullopt with `problem` when the utterance cannot be used; `warnings` gets
// notes that do not stop it (misplaced stress marks).
std::optional<PreparedWithInstances> PrepareUtterance(const Prompt& prompt,
                                                      const std::string& wavPath,
                                                      const std::string& labPath,
                                                      const PreparationSettings& settings,
                                                      StressCounts& counts, std::string& problem,
                                                      std::vector<std::string>& warnings);

}  // namespace vox::voicebuild
