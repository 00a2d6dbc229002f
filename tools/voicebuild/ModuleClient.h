// The builder's view of a phonetic module: the calls it needs through
// IPhonetic, with the returned CoTaskMem buffers copied and freed. Units are
// named by the module itself (PhonemesToAllophones), never by a copy of its
// rules, so a voice holds exactly the names the engine will ask for.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "interfaces/IPhonetic.h"
#include "interfaces/SoundDescription.h"
#include "platform/ComKit.h"

namespace vox::voicebuild {

class ModuleClient {
  public:
    explicit ModuleClient(ComPtr<IPhonetic> module);

    // The module registered under HKLM\Software\Vostrelin\Phonetic\<name>
    // ("419.1"), created by its class id; nullopt with `error` on failure.
    static std::optional<ModuleClient> Create(const std::string& name, std::string& error);

    // Letters are Windows-1251; lists are returned split.
    std::optional<std::vector<std::string>> LettersToPhonemes(const std::string& letters) const;
    std::optional<std::vector<std::string>> PhonemesToAllophones(
        const std::vector<std::string>& phrase) const;
    std::optional<std::string> AllophoneToPhoneme(const std::string& allophone) const;
    std::optional<std::string> Substitute(const std::string& allophone) const;
    std::optional<std::string> BasicAllophone(const std::string& allophone) const;
    // The sound descriptions of a phrase ("#", …, "#"), positions included.
    std::optional<std::vector<uint64_t>> PhraseSoundDescriptions(
        const std::vector<std::string>& phrase) const;
    std::vector<std::string> Inventory() const;

    // Table sound description (0 when unknown), cached per phoneme.
    uint64_t SoundDescription(const std::string& phoneme) const;
    bool HasBit(const std::string& phoneme, sd::Bit bit) const {
        return (SoundDescription(phoneme) >> bit) & 1u;
    }

  private:
    ComPtr<IPhonetic> module_;
    mutable std::map<std::string, uint64_t> descriptions_;
};

}  // namespace vox::voicebuild
