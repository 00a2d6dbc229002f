// The voices' user-interface object of the speech platform (ISpTokenUI):
// forwards the platform's question and request to the synthesis engine's
// IsUISupported and DisplayUI, which decide what exists and start it (the
// settings program, the stress editor).
#pragma once

#include <string>

#include "interfaces/IVoxamen.h"
#include "interfaces/SapiInterfaces.h"
#include "platform/ComKit.h"

namespace vox {

// The engine's type text for the platform's type and extra data:
// "EngineProperties" with the 8-bit text "AccentorVocabulary" as extra data
// asks for the stress vocabulary, otherwise for the engine's properties;
// any other type gives the empty text.
std::string EngineTypeOfUI(const char16_t* typeOfUI, const void* extraData, uint32_t extraBytes);

// The voice key named by a token: its identifier after the last "\".
std::string VoiceKeyOfToken(ISpObjectToken* token);

class VoxamenUI final : public ComObject<Interface<ISpTokenUI, IID_ISpTokenUI>> {
  public:
    // Creates the engine; without it both methods fail.
    VoxamenUI();

    HRESULT IsUISupported(const char16_t* pszTypeOfUI, void* pvExtraData, uint32_t cbExtraData,
                          IUnknown* punkObject, int32_t* pfSupported) override;
    HRESULT DisplayUI(void* hwndParent, const char16_t* pszTitle, const char16_t* pszTypeOfUI,
                      void* pvExtraData, uint32_t cbExtraData, ISpObjectToken* pToken,
                      IUnknown* punkObject) override;

  private:
    ComPtr<IVoxamen> engine_;
};

}  // namespace vox
