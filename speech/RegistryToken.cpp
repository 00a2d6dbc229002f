#include "speech/RegistryToken.h"

#include <cstring>

#include "platform/Guid.h"
#include "platform/Registry.h"
#include "platform/Utf16.h"
#include "speech/TokenCategory.h"

namespace vox::speech {

namespace {

constexpr const char* kMachinePrefix = "HKEY_LOCAL_MACHINE\\";

std::string Utf8(const char16_t* text) {
    return text == nullptr ? std::string() : Utf16ToUtf8(text);
}

HRESULT CoTaskMemUtf16(const std::string& utf8, char16_t** out) {
    const std::u16string text = Utf8ToUtf16(utf8);
    auto* block = static_cast<char16_t*>(CoTaskMemAlloc((text.size() + 1) * sizeof(char16_t)));
    if (block == nullptr) return E_OUTOFMEMORY;
    std::memcpy(block, text.c_str(), (text.size() + 1) * sizeof(char16_t));
    *out = block;
    return S_OK;
}

HRESULT Result(reg::Status s) {
    return s == reg::Status::Ok ? S_OK : s == reg::Status::NotFound ? SPERR_NOT_FOUND : E_FAIL;
}

}  // namespace

HRESULT RegistryToken::GetData(const char16_t* pszValueName, uint32_t* pcbData, uint8_t* pData) {
    if (pcbData == nullptr) return E_POINTER;
    reg::Key key;
    if (auto s = reg::Key::Open(reg::Root::LocalMachine, path_, key); s != reg::Status::Ok)
        return Result(s);
    reg::Value value;
    if (auto s = key.QueryValue(Utf8(pszValueName), value); s != reg::Status::Ok) return Result(s);
    const auto size = static_cast<uint32_t>(value.data.size());
    if (pData != nullptr) {
        if (*pcbData < size) {
            *pcbData = size;
            return E_FAIL;
        }
        std::memcpy(pData, value.data.data(), size);
    }
    *pcbData = size;
    return S_OK;
}

HRESULT RegistryToken::GetStringValue(const char16_t* pszValueName, char16_t** ppszValue) {
    if (ppszValue == nullptr) return E_POINTER;
    *ppszValue = nullptr;
    return Guarded([&] {
        reg::Key key;
        if (auto s = reg::Key::Open(reg::Root::LocalMachine, path_, key); s != reg::Status::Ok)
            return Result(s);
        std::string text;
        if (auto s = key.QueryText(Utf8(pszValueName), text); s != reg::Status::Ok)
            return Result(s);
        return CoTaskMemUtf16(text, ppszValue);
    });
}

HRESULT RegistryToken::GetDWORD(const char16_t* pszValueName, uint32_t* pdwValue) {
    if (pdwValue == nullptr) return E_POINTER;
    reg::Key key;
    if (auto s = reg::Key::Open(reg::Root::LocalMachine, path_, key); s != reg::Status::Ok)
        return Result(s);
    return Result(key.QueryDword(Utf8(pszValueName), *pdwValue));
}

HRESULT RegistryToken::OpenKey(const char16_t* pszSubKeyName, ISpDataKey** ppSubKey) {
    if (ppSubKey == nullptr) return E_POINTER;
    *ppSubKey = nullptr;
    return Guarded([&]() -> HRESULT {
        const std::string path = path_ + "\\" + Utf8(pszSubKeyName);
        reg::Key key;
        if (auto s = reg::Key::Open(reg::Root::LocalMachine, path, key); s != reg::Status::Ok)
            return Result(s);
        auto* sub = new RegistryToken(path);
        const HRESULT hr = sub->QueryInterface(IID_ISpDataKey, reinterpret_cast<void**>(ppSubKey));
        sub->Release();
        return hr;
    });
}

HRESULT RegistryToken::EnumKeys(uint32_t Index, char16_t** ppszSubKeyName) {
    if (ppszSubKeyName == nullptr) return E_POINTER;
    return Guarded([&] {
        reg::Key key;
        if (auto s = reg::Key::Open(reg::Root::LocalMachine, path_, key); s != reg::Status::Ok)
            return Result(s);
        std::string name;
        if (auto s = key.EnumKey(Index, name); s != reg::Status::Ok) return Result(s);
        return CoTaskMemUtf16(name, ppszSubKeyName);
    });
}

HRESULT RegistryToken::EnumValues(uint32_t Index, char16_t** ppszValueName) {
    if (ppszValueName == nullptr) return E_POINTER;
    return Guarded([&] {
        reg::Key key;
        if (auto s = reg::Key::Open(reg::Root::LocalMachine, path_, key); s != reg::Status::Ok)
            return Result(s);
        reg::Value value;
        if (auto s = key.EnumValue(Index, value); s != reg::Status::Ok) return Result(s);
        return CoTaskMemUtf16(value.name, ppszValueName);
    });
}

HRESULT RegistryToken::GetId(char16_t** ppszCoMemTokenId) {
    if (ppszCoMemTokenId == nullptr) return E_POINTER;
    return Guarded([&] { return CoTaskMemUtf16(kMachinePrefix + path_, ppszCoMemTokenId); });
}

HRESULT RegistryToken::CreateInstance(IUnknown* pUnkOuter, uint32_t dwClsContext, const IID& riid,
                                      void** ppvObject) {
    if (ppvObject == nullptr) return E_POINTER;
    *ppvObject = nullptr;
    return Guarded([&]() -> HRESULT {
        reg::Key key;
        std::string clsidText;
        if (reg::Key::Open(reg::Root::LocalMachine, path_, key) != reg::Status::Ok ||
            key.QueryText("CLSID", clsidText) != reg::Status::Ok)
            return SPERR_NOT_FOUND;
        const std::optional<GUID> clsid = GuidFromString(clsidText);
        if (!clsid) return REGDB_E_CLASSNOTREG;
        ComPtr<IUnknown> object;
        HRESULT hr =
            CoCreateInstance(*clsid, pUnkOuter, dwClsContext, IID_IUnknown, object.PutVoid());
        if (FAILED(hr)) return hr;
        ComPtr<ISpObjectWithToken> withToken;
        if (SUCCEEDED(object->QueryInterface(IID_ISpObjectWithToken, withToken.PutVoid()))) {
            hr = withToken->SetObjectToken(this);
            if (FAILED(hr)) return hr;
        }
        return object->QueryInterface(riid, ppvObject);
    });
}

HRESULT RegistryToken::IsUISupported(const char16_t*, void*, uint32_t, IUnknown*,
                                     int32_t* pfSupported) {
    if (pfSupported == nullptr) return E_POINTER;
    *pfSupported = 0;
    return S_OK;
}

HRESULT RegistryToken::MatchesAttributes(const char16_t* pszAttributes, int32_t* pfMatches) {
    if (pfMatches == nullptr) return E_POINTER;
    return Guarded([&] {
        TokenInfo info;
        const size_t slash = path_.rfind('\\');
        const std::string category = kMachinePrefix + path_.substr(0, slash);
        for (TokenInfo& t : EnumerateTokens(Utf8ToUtf16(category.substr(0, category.rfind('\\')))))
            if (t.key == path_.substr(slash + 1)) info = std::move(t);
        *pfMatches = speech::MatchesAttributes(info, Utf8(pszAttributes)) ? 1 : 0;
        return S_OK;
    });
}

}  // namespace vox::speech
