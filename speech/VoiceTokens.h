// The installed voices: the tokens of HKLM\SOFTWARE\Microsoft\Speech\Voices
// (written by `voxamen voice add`), and the choice of one by key, name or
// attributes.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "speech/TokenCategory.h"

namespace vox::speech {

std::vector<TokenInfo> InstalledVoices();

// `wanted`: a token key or display name (any case), or attributes
// ("Language=419;Gender=Female"); empty = the first Russian voice, else the
// first voice. nullopt when nothing fits.
std::optional<TokenInfo> ChooseVoice(const std::vector<TokenInfo>& voices,
                                     const std::string& wanted);

// "ru-nsh (Russian male …), …" for messages.
std::string VoiceList(const std::vector<TokenInfo>& voices);

}  // namespace vox::speech
