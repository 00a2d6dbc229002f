// The speech platform's voice engine: takes a voice token, creates the
// lexical component and the synthesis engine by class id, and speaks the
// platform's text fragments syntagma by syntagma into the output site.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "adapter/GlossorClient.h"
#include "adapter/SiteWriter.h"
#include "engine/voice/VoiceProperties.h"
#include "interfaces/IVoxamen.h"
#include "interfaces/SapiInterfaces.h"
#include "platform/ComKit.h"

namespace vox {

class Orvalink final : public ComObject<Interface<ISpTTSEngine, IID_ISpTTSEngine>,
                                        Interface<ISpObjectWithToken, IID_ISpObjectWithToken>> {
  public:
    HRESULT SetObjectToken(ISpObjectToken* pToken) override;
    HRESULT GetObjectToken(ISpObjectToken** ppToken) override;

    HRESULT Speak(uint32_t dwSpeakFlags, const GUID& rguidFormatId,
                  const WAVEFORMATEX* pWaveFormatEx, const SPVTEXTFRAG* pTextFragList,
                  ISpTTSEngineSite* pOutputSite) override;
    HRESULT GetOutputFormat(const GUID* pTargetFmtId, const WAVEFORMATEX* pTargetWaveFormatEx,
                            GUID* pOutputFormatId,
                            WAVEFORMATEX** ppCoMemOutputWaveFormatEx) override;

  private:
    HRESULT DoSetObjectToken(ISpObjectToken* token);
    HRESULT CreateEngine();
    HRESULT DoSpeak(uint32_t flags, const WAVEFORMATEX* format, const SPVTEXTFRAG* fragments,
                    ISpTTSEngineSite& site);
    // Sentence loop; E_FAIL when the engine refuses the format.
    HRESULT SpeakSentences(const WAVEFORMATEX* format, SiteWriter& writer, ISpTTSEngineSite& site);
    HRESULT SpeakSyntagma(const SpokenSyntagma& syntagma, const WAVEFORMATEX* format,
                          SiteWriter& writer, ISpTTSEngineSite& site);
    bool SkipSentences(ISpTTSEngineSite& site);
    std::optional<std::u16string> PhonesOf(const SPPHONEID* ids);

    ComPtr<ISpObjectToken> token_;
    VoiceProperties voice_;
    GlossorClient glossor_;
    ComPtr<IVoxamen> engine_;
    ComPtr<ISpPhoneConverter> phoneConverter_;
    bool phoneConverterTried_ = false;
    int32_t vocabularyGeneration_ = -1;
};

}  // namespace vox
