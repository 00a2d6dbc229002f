// The platform's phone converter for Russian (Language 419): phone ids are
// the phoneme codes of PhoneNames.h, phone strings their names separated by
// spaces. Served by phoneconv-419.so, whose registration writes the token
// HKLM\SOFTWARE\Microsoft\Speech\PhoneConverters\Tokens\Russian.
#pragma once

#include "interfaces/SapiInterfaces.h"
#include "platform/ComKit.h"

// {3A7C5E91-2B4D-4F86-9E1A-5C0D7B3F2E48}
inline constexpr CLSID CLSID_PhoneConverter419 = {
    0x3A7C5E91, 0x2B4D, 0x4F86, {0x9E, 0x1A, 0x5C, 0x0D, 0x7B, 0x3F, 0x2E, 0x48}};

namespace vox::speech {

class PhoneConverter419 final
    : public ComObject<Interface<ISpPhoneConverter, IID_ISpPhoneConverter>> {
  public:
    HRESULT QueryInterface(const GUID& iid, void** object) override;
    HRESULT SetObjectToken(ISpObjectToken* pToken) override;
    HRESULT GetObjectToken(ISpObjectToken** ppToken) override;
    // Names separated by blanks → zero-terminated ids; E_INVALIDARG for an
    // unknown name.
    HRESULT PhoneToId(const char16_t* pszPhone, SPPHONEID* pId) override;
    // Zero-terminated ids → names separated by single spaces. The caller's
    // buffer must hold four characters per id plus the terminator (the
    // longest name, "SH'", has three).
    HRESULT IdToPhone(const SPPHONEID* pId, char16_t* pszPhone) override;

  private:
    ComPtr<ISpObjectToken> token_;
};

}  // namespace vox::speech
