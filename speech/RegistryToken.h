// ISpObjectToken over a registry key of HKEY_LOCAL_MACHINE. Reading values
// and subkeys and creating the token's object are offered; tokens are
// written by installers (voxamen voice add, DllRegisterServer), so the
// writing operations answer E_NOTIMPL.
#pragma once

#include <string>

#include "interfaces/SapiInterfaces.h"
#include "platform/ComKit.h"

namespace vox::speech {

class RegistryToken final : public ComObject<Interface<ISpObjectToken, IID_ISpObjectToken>> {
  public:
    // A token is also its own data key.
    HRESULT QueryInterface(const GUID& iid, void** object) override {
        if (object != nullptr && iid == IID_ISpDataKey) {
            *object = static_cast<ISpDataKey*>(this);
            AddRef();
            return S_OK;
        }
        return ComObjectBase::QueryInterface(iid, object);
    }

    // `path` below HKEY_LOCAL_MACHINE; the id is "HKEY_LOCAL_MACHINE\" + path.
    explicit RegistryToken(std::string path) : path_(std::move(path)) {}

    HRESULT SetData(const char16_t*, uint32_t, const uint8_t*) override { return E_NOTIMPL; }
    HRESULT GetData(const char16_t* pszValueName, uint32_t* pcbData, uint8_t* pData) override;
    HRESULT SetStringValue(const char16_t*, const char16_t*) override { return E_NOTIMPL; }
    HRESULT GetStringValue(const char16_t* pszValueName, char16_t** ppszValue) override;
    HRESULT SetDWORD(const char16_t*, uint32_t) override { return E_NOTIMPL; }
    HRESULT GetDWORD(const char16_t* pszValueName, uint32_t* pdwValue) override;
    HRESULT OpenKey(const char16_t* pszSubKeyName, ISpDataKey** ppSubKey) override;
    HRESULT CreateKey(const char16_t*, ISpDataKey**) override { return E_NOTIMPL; }
    HRESULT DeleteKey(const char16_t*) override { return E_NOTIMPL; }
    HRESULT DeleteValue(const char16_t*) override { return E_NOTIMPL; }
    HRESULT EnumKeys(uint32_t Index, char16_t** ppszSubKeyName) override;
    HRESULT EnumValues(uint32_t Index, char16_t** ppszValueName) override;

    HRESULT SetId(const char16_t*, const char16_t*, int32_t) override { return E_NOTIMPL; }
    HRESULT GetId(char16_t** ppszCoMemTokenId) override;
    HRESULT GetCategory(ISpObjectTokenCategory**) override { return E_NOTIMPL; }
    HRESULT CreateInstance(IUnknown* pUnkOuter, uint32_t dwClsContext, const IID& riid,
                           void** ppvObject) override;
    HRESULT GetStorageFileName(const CLSID&, const char16_t*, const char16_t*, uint32_t,
                               char16_t**) override {
        return E_NOTIMPL;
    }
    HRESULT RemoveStorageFileName(const CLSID&, const char16_t*, int32_t) override {
        return E_NOTIMPL;
    }
    HRESULT Remove(const CLSID*) override { return E_NOTIMPL; }
    HRESULT IsUISupported(const char16_t*, void*, uint32_t, IUnknown*,
                          int32_t* pfSupported) override;
    HRESULT DisplayUI(void*, const char16_t*, const char16_t*, void*, uint32_t,
                      IUnknown*) override {
        return E_NOTIMPL;
    }
    HRESULT MatchesAttributes(const char16_t* pszAttributes, int32_t* pfMatches) override;

  private:
    std::string path_;
};

}  // namespace vox::speech
