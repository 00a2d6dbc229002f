#include "speech/PhoneConverter419.h"

#include "platform/Text.h"
#include "platform/Utf16.h"
#include "speech/PhoneNames.h"

namespace vox::speech {

HRESULT PhoneConverter419::QueryInterface(const GUID& iid, void** object) {
    if (object != nullptr && iid == IID_ISpObjectWithToken) {
        *object = static_cast<ISpObjectWithToken*>(this);
        AddRef();
        return S_OK;
    }
    return ComObjectBase::QueryInterface(iid, object);
}

HRESULT PhoneConverter419::SetObjectToken(ISpObjectToken* pToken) {
    if (pToken == nullptr) return E_INVALIDARG;
    if (token_) return SPERR_ALREADY_INITIALIZED;
    pToken->AddRef();
    token_ = ComPtr<ISpObjectToken>::Attach(pToken);
    return S_OK;
}

HRESULT PhoneConverter419::GetObjectToken(ISpObjectToken** ppToken) {
    if (ppToken == nullptr) return E_POINTER;
    *ppToken = token_.Get();
    if (!token_) return S_FALSE;
    token_->AddRef();
    return S_OK;
}

HRESULT PhoneConverter419::PhoneToId(const char16_t* pszPhone, SPPHONEID* pId) {
    if (pszPhone == nullptr || pId == nullptr) return E_POINTER;
    return Guarded([&] {
        size_t n = 0;
        for (const std::string& name : SplitList(Utf16ToUtf8(pszPhone), ' ')) {
            const int32_t id = PhoneId419(name);
            if (id == 0) return E_INVALIDARG;
            pId[n++] = static_cast<SPPHONEID>(id);
        }
        pId[n] = 0;
        return S_OK;
    });
}

HRESULT PhoneConverter419::IdToPhone(const SPPHONEID* pId, char16_t* pszPhone) {
    if (pId == nullptr || pszPhone == nullptr) return E_POINTER;
    size_t at = 0;
    for (const SPPHONEID* id = pId; *id != 0; ++id) {
        const std::string name = PhonemeName419(*id);
        if (name.empty()) {
            pszPhone[at] = 0;
            return E_INVALIDARG;
        }
        if (at > 0) pszPhone[at++] = u' ';
        for (char c : name) pszPhone[at++] = static_cast<char16_t>(c);
    }
    pszPhone[at] = 0;
    return S_OK;
}

}  // namespace vox::speech
