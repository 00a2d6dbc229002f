// Phonemic transcription of a prompt through the phonetic module's own
// letter-to-phoneme conversion, word by word (each word on its own, as the
// lexical front end hands words over), joined into one phrase.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "tools/voicebuild/ModuleClient.h"
#include "tools/voicebuild/StressPlacement.h"

namespace vox::voicebuild {

struct Transcript {
    std::vector<std::string> phonemes;  // "#", word, "_", word, …, "#"
    std::vector<int> wordOf;            // per phoneme: word index, -1 for "#" and "_"
};

// nullopt with `error` when a word gives no phonemes.
std::optional<Transcript> Transcribe(const std::vector<StressedWord>& words,
                                     const ModuleClient& module, std::string& error);

}  // namespace vox::voicebuild
