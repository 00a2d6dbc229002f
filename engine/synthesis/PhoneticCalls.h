// The phrase pipeline's calls into the voice's phonetic module. Every string
// and array the module returns is copied and freed with CoTaskMemFree here. A
// failing call is raised as a ComError carrying the module's HRESULT, which
// ends the phrase.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "interfaces/IPhonetic.h"

namespace vox {

class ComError : public std::runtime_error {
  public:
    ComError(HRESULT hr, const std::string& call) : std::runtime_error(call), hr_(hr) {}
    HRESULT Result() const { return hr_; }

  private:
    HRESULT hr_;
};

// GetSoundDescriptions; its result code is not examined: a failing call
// gives an empty array.
std::vector<uint64_t> SoundDescriptions(IPhonetic& module, const char* phonemes);

std::vector<int32_t> PhonemesCodes(IPhonetic& module, const char* phonemes);
std::vector<int32_t> VisemesCodes(IPhonetic& module, const char* phonemes);
std::string PhonemesToAllophones(IPhonetic& module, const char* phonemes);
std::string SubstituteAllophone(IPhonetic& module, const std::string& allophone);
std::string BasicAllophone(IPhonetic& module, const std::string& allophone);

// Splits a list at every ",", keeping empty items: an allophone the module
// could not name stays at its phoneme's position.
std::vector<std::string> SplitListKeepingEmpty(const std::string& list);

}  // namespace vox
