#include "adapter/VoxamenUI.h"

#include <cstring>

#include "platform/ComBinding.h"
#include "platform/Messages.h"
#include "platform/Utf16.h"

namespace vox {

namespace {

constexpr char kAccentorVocabulary[] = "AccentorVocabulary";  // with its zero: 19 bytes

bool IsAccentorVocabulary(const void* extra, uint32_t bytes) {
    if (extra == nullptr) return false;
    // A byte count, when given, bounds the text; without one the text must
    // be zero-terminated within the compared length.
    if (bytes != 0 && bytes < sizeof kAccentorVocabulary) return false;
    return std::strncmp(static_cast<const char*>(extra), kAccentorVocabulary,
                        sizeof kAccentorVocabulary) == 0;
}

}  // namespace

std::string EngineTypeOfUI(const char16_t* typeOfUI, const void* extraData, uint32_t extraBytes) {
    if (typeOfUI == nullptr || std::u16string_view(typeOfUI) != u"EngineProperties") return {};
    return IsAccentorVocabulary(extraData, extraBytes) ? "Vostrelin:AccentorVocabulary"
                                                       : "MS-SAPI5:EngineProperties";
}

std::string VoiceKeyOfToken(ISpObjectToken* token) {
    if (token == nullptr) return {};
    char16_t* id = nullptr;
    const HRESULT hr = token->GetId(&id);
    CoTaskMemPtr<char16_t> owned(id);
    if (FAILED(hr) || id == nullptr) return {};
    const std::string text = Utf16ToCp1251(id);
    const size_t slash = text.rfind('\\');
    return slash == std::string::npos ? text : text.substr(slash + 1);
}

VoxamenUI::VoxamenUI() {
    const HRESULT hr = CreateRunningObject(CLSID_Voxamen, IID_IVoxamen, engine_.PutVoid());
    if (FAILED(hr) || !engine_) {
        engine_.Reset();
        MessageBox("Vostrelin Sapi5 Adapter", "Failed to create Vostrelin TTS Engine");
    }
}

HRESULT VoxamenUI::IsUISupported(const char16_t* pszTypeOfUI, void* pvExtraData,
                                 uint32_t cbExtraData, IUnknown* punkObject, int32_t* pfSupported) {
    if (pfSupported == nullptr) return E_POINTER;
    *pfSupported = 0;
    if (!engine_) return E_FAIL;
    return Guarded([&]() -> HRESULT {
        // The platform here has no voice object; the object asked about is
        // the voice's token itself.
        std::string key;
        ComPtr<ISpObjectToken> token;
        if (punkObject != nullptr &&
            SUCCEEDED(punkObject->QueryInterface(IID_ISpObjectToken, token.PutVoid())))
            key = VoiceKeyOfToken(token.Get());
        const std::string type = EngineTypeOfUI(pszTypeOfUI, pvExtraData, cbExtraData);
        int32_t supported = 0;
        const HRESULT hr = engine_->IsUISupported(key.c_str(), type.c_str(), &supported);
        if (FAILED(hr)) return hr;
        *pfSupported = supported != 0 ? 1 : 0;
        return S_OK;
    });
}

HRESULT VoxamenUI::DisplayUI(void* hwndParent, const char16_t*, const char16_t* pszTypeOfUI,
                             void* pvExtraData, uint32_t cbExtraData, ISpObjectToken* pToken,
                             IUnknown*) {
    if (!engine_) return E_FAIL;
    return Guarded([&]() -> HRESULT {
        const std::string key = VoiceKeyOfToken(pToken);
        const std::string type = EngineTypeOfUI(pszTypeOfUI, pvExtraData, cbExtraData);
        const HRESULT hr = engine_->DisplayUI(hwndParent, key.c_str(), type.c_str());
        return FAILED(hr) ? hr : S_OK;
    });
}

}  // namespace vox
