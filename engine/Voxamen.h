// The synthesis engine object: one per client, pointed at one voice, turning
// phrases of phonemes into PCM audio through IVoxamen.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "engine/audio/EffectState.h"
#include "engine/synthesis/NoiseGenerator.h"
#include "engine/synthesis/Resynthesis.h"
#include "engine/synthesis/VoiceModels.h"
#include "engine/voice/AudioBase.h"
#include "engine/voice/VoiceProperties.h"
#include "interfaces/IPhonetic.h"
#include "interfaces/IVoxamen.h"
#include "platform/ComKit.h"

namespace vox {

inline constexpr const char* kEngineCaption = "Vostrelin TTS Engine 3.0";

class Voxamen final : public ComObject<Interface<IVoxamen, IID_IVoxamen>> {
  public:
    Voxamen();
    ~Voxamen() override;

    HRESULT SetVoice(const char* VoiceKey) override;
    HRESULT SetFormat(const WAVEFORMATEX* Format) override;
    HRESULT GetOutputFormat(const WAVEFORMATEX* DesiredFormat,
                            WAVEFORMATEX* NearestSupportedFormat) override;
    HRESULT Speak(const char* Phonemes, const char* SyntagmaType, const CProsodyInfo* ProsodyInfo,
                  uint8_t** Audio, int32_t* Size) override;
    HRESULT GetPhonemesSizes(int32_t** Sizes, int32_t* Num) override;
    HRESULT GetVisemesCodes(int32_t** Codes, int32_t* Num) override;
    HRESULT GetPhonemesCodes(int32_t** Codes, int32_t* Num) override;
    HRESULT IsUISupported(const char* VoiceKey, const char* TypeOfUI, int32_t* bSupported) override;
    HRESULT DisplayUI(void* hwndParent, const char* VoiceKey, const char* TypeOfUI) override;

  private:
    HRESULT DoSetVoice(const std::string& key);
    HRESULT DoSpeak(const char* phonemes, const char* syntagmaType, const CProsodyInfo* prosody,
                    uint8_t** audio, int32_t* size);
    static HRESULT CopyResult(const std::vector<int32_t>& values, int32_t** array, int32_t* num);

    VoiceProperties props_;
    std::unique_ptr<AudioBase> audioBase_;
    std::string loadedVoiceData_;  // path of the voice database currently loaded
    ComPtr<IPhonetic> phonetic_;
    std::string phoneticName_;
    WAVEFORMATEX format_;
    std::vector<int32_t> phonemeSizes_, visemeCodes_, phonemeCodes_;
    VoiceModels models_;
    NoiseGenerator noise_;              // pause noise, per object
    ResynthesisWorkspace resynthesis_;  // buffers kept from phrase to phrase
    EffectState effects_;               // effect filters, buffers and reverberation tail
};

}  // namespace vox
