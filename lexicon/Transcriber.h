// Transcription of a phonetic word's letters through the voice's phonetic
// module (IPhonetic::LettersToPhonemes), so that every phoneme fits the
// module. Results are cached: running text repeats its words.
#pragma once

#include <string>
#include <unordered_map>

#include "interfaces/IPhonetic.h"
#include "platform/ComKit.h"

namespace lexicon {

class Transcriber {
  public:
    // Without a module the shared letter rules of modules 419.1 to 419.3 are used.
    explicit Transcriber(vox::ComPtr<IPhonetic> module = {});

    // The phonemes of one word joined by "," without "#" or "_"; "" when
    // the letters give no sound or a misplaced stress mark.
    std::string Transcribe(const std::string& letters);

    // True when every phoneme of the list is one of the module's.
    bool IsPhonemeList(const std::string& phonemes);

    bool HasModule() const { return static_cast<bool>(module_); }

  private:
    std::string Convert(const std::string& letters);
    vox::ComPtr<IPhonetic> module_;
    std::unordered_map<std::string, std::string> cache_;
};

}  // namespace lexicon
