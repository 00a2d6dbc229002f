// The module's engine: the installed voices, spoken through the speech
// platform's side (voice token → Orvalink, by class id) into an output site
// whose audio and bookmarks go to the server in order.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "speech/Speaker.h"
#include "speech/TokenCategory.h"
#include "tools/sd_voxamen/ModuleConfig.h"
#include "tools/sd_voxamen/Synthesizer.h"

namespace sdvox {

class VoxamenSynthesizer final : public Synthesizer {
  public:
    explicit VoxamenSynthesizer(ModuleConfig config);
    ~VoxamenSynthesizer() override;

    bool Init(std::string* message) override;
    std::vector<VoiceEntry> Voices() override;
    bool Speak(const Utterance& utterance, SynthesisOutput& output, std::string* error) override;

  private:
    const vox::speech::TokenInfo* ChooseVoice(const SpeechSettings& settings) const;
    vox::speech::Speaker* OpenSpeaker(const vox::speech::TokenInfo& voice, std::string* error);

    ModuleConfig config_;
    std::vector<vox::speech::TokenInfo> voices_;
    // One engine per voice, created on first use and kept: switching voices
    // back and forth costs nothing after the first message.
    std::map<std::string, std::unique_ptr<vox::speech::Speaker>> speakers_;
};

// Markup removed and the five XML entities decoded: how SSML that does not
// parse is still spoken.
std::string SsmlAsPlainText(const std::string& ssml);

}  // namespace sdvox
