// A front end's way to speak: the voice token creates the voice engine
// (Orvalink, by class id), the engine proposes the output format, and each
// piece of text (fragments) is spoken into an output site.
#pragma once

#include <string>

#include "interfaces/SapiInterfaces.h"
#include "platform/ComKit.h"
#include "speech/OutputSite.h"
#include "speech/TextFragments.h"
#include "speech/TokenCategory.h"

namespace vox::speech {

class Speaker {
  public:
    // Creates the voice's engine; false with `error` when it cannot be made.
    bool Open(const TokenInfo& voice, std::string& error);
    // The engine's format nearest to the wish (PCM mono, rate, 8 or 16 bits).
    bool NegotiateFormat(uint32_t rate, uint16_t bits, WAVEFORMATEX& format, std::string& error);
    // Speaks one piece into the site; its events carry the piece's positions.
    HRESULT Speak(const FragmentList& piece, OutputSite& site, uint32_t flags = 0);

  private:
    ComPtr<ISpTTSEngine> engine_;
    WAVEFORMATEX format_{};
};

}  // namespace vox::speech
