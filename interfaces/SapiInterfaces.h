// The speech platform's interfaces a voice engine meets (SAPI 5 names, method
// order and signatures; UTF-16 text as char16_t, BOOL as int32_t).
// Binary contract: vtable orders are fixed.
#pragma once

#include "SapiTypes.h"

// {14056581-E16C-11D2-BB90-00C04F8EE6C0}
inline constexpr IID IID_ISpDataKey = {
    0x14056581, 0xE16C, 0x11D2, {0xBB, 0x90, 0x00, 0xC0, 0x4F, 0x8E, 0xE6, 0xC0}};
// {14056589-E16C-11D2-BB90-00C04F8EE6C0}
inline constexpr IID IID_ISpObjectToken = {
    0x14056589, 0xE16C, 0x11D2, {0xBB, 0x90, 0x00, 0xC0, 0x4F, 0x8E, 0xE6, 0xC0}};
// {5B559F40-E952-11D2-BB91-00C04F8EE6C0}
inline constexpr IID IID_ISpObjectWithToken = {
    0x5B559F40, 0xE952, 0x11D2, {0xBB, 0x91, 0x00, 0xC0, 0x4F, 0x8E, 0xE6, 0xC0}};
// {BE7A9CC9-5F9E-11D2-960F-00C04F8EE628}
inline constexpr IID IID_ISpEventSink = {
    0xBE7A9CC9, 0x5F9E, 0x11D2, {0x96, 0x0F, 0x00, 0xC0, 0x4F, 0x8E, 0xE6, 0x28}};
// {9880499B-CCE9-11D2-B503-00C04F797396}
inline constexpr IID IID_ISpTTSEngineSite = {
    0x9880499B, 0xCCE9, 0x11D2, {0xB5, 0x03, 0x00, 0xC0, 0x4F, 0x79, 0x73, 0x96}};
// {A74D7C8E-4CC5-4F2F-A6EB-804DEE18500E}
inline constexpr IID IID_ISpTTSEngine = {
    0xA74D7C8E, 0x4CC5, 0x4F2F, {0xA6, 0xEB, 0x80, 0x4D, 0xEE, 0x18, 0x50, 0x0E}};
// {8445C581-0CAC-4A38-ABFE-9B2CE2826455}
inline constexpr IID IID_ISpPhoneConverter = {
    0x8445C581, 0x0CAC, 0x4A38, {0xAB, 0xFE, 0x9B, 0x2C, 0xE2, 0x82, 0x64, 0x55}};
// {F8E690F0-39CB-4843-B8D7-C84696E1119D}
inline constexpr IID IID_ISpTokenUI = {
    0xF8E690F0, 0x39CB, 0x4843, {0xB8, 0xD7, 0xC8, 0x46, 0x96, 0xE1, 0x11, 0x9D}};

struct ISpObjectTokenCategory;  // not offered on this platform

// A registry key seen through the platform. Out-strings are CoTaskMem blocks.
struct ISpDataKey : IUnknown {
    virtual HRESULT SetData(const char16_t* pszValueName, uint32_t cbData,
                            const uint8_t* pData) = 0;
    virtual HRESULT GetData(const char16_t* pszValueName, uint32_t* pcbData, uint8_t* pData) = 0;
    virtual HRESULT SetStringValue(const char16_t* pszValueName, const char16_t* pszValue) = 0;
    virtual HRESULT GetStringValue(const char16_t* pszValueName, char16_t** ppszValue) = 0;
    virtual HRESULT SetDWORD(const char16_t* pszValueName, uint32_t dwValue) = 0;
    virtual HRESULT GetDWORD(const char16_t* pszValueName, uint32_t* pdwValue) = 0;
    virtual HRESULT OpenKey(const char16_t* pszSubKeyName, ISpDataKey** ppSubKey) = 0;
    virtual HRESULT CreateKey(const char16_t* pszSubKey, ISpDataKey** ppSubKey) = 0;
    virtual HRESULT DeleteKey(const char16_t* pszSubKey) = 0;
    virtual HRESULT DeleteValue(const char16_t* pszValueName) = 0;
    virtual HRESULT EnumKeys(uint32_t Index, char16_t** ppszSubKeyName) = 0;
    virtual HRESULT EnumValues(uint32_t Index, char16_t** ppszValueName) = 0;

  protected:
    ~ISpDataKey() = default;
};

// A token: a registry key that names an object class (value "CLSID") and
// describes it (subkey "Attributes").
struct ISpObjectToken : ISpDataKey {
    virtual HRESULT SetId(const char16_t* pszCategoryId, const char16_t* pszTokenId,
                          int32_t fCreateIfNotExist) = 0;
    virtual HRESULT GetId(char16_t** ppszCoMemTokenId) = 0;
    virtual HRESULT GetCategory(ISpObjectTokenCategory** ppTokenCategory) = 0;
    virtual HRESULT CreateInstance(IUnknown* pUnkOuter, uint32_t dwClsContext, const IID& riid,
                                   void** ppvObject) = 0;
    virtual HRESULT GetStorageFileName(const CLSID& clsidCaller, const char16_t* pszValueName,
                                       const char16_t* pszFileNameSpecifier, uint32_t nFolder,
                                       char16_t** ppszFilePath) = 0;
    virtual HRESULT RemoveStorageFileName(const CLSID& clsidCaller, const char16_t* pszKeyName,
                                          int32_t fDeleteFile) = 0;
    virtual HRESULT Remove(const CLSID* pclsidCaller) = 0;
    virtual HRESULT IsUISupported(const char16_t* pszTypeOfUI, void* pvExtraData,
                                  uint32_t cbExtraData, IUnknown* punkObject,
                                  int32_t* pfSupported) = 0;
    virtual HRESULT DisplayUI(void* hwndParent, const char16_t* pszTitle,
                              const char16_t* pszTypeOfUI, void* pvExtraData, uint32_t cbExtraData,
                              IUnknown* punkObject) = 0;
    virtual HRESULT MatchesAttributes(const char16_t* pszAttributes, int32_t* pfMatches) = 0;

  protected:
    ~ISpObjectToken() = default;
};

struct ISpObjectWithToken : IUnknown {
    virtual HRESULT SetObjectToken(ISpObjectToken* pToken) = 0;
    virtual HRESULT GetObjectToken(ISpObjectToken** ppToken) = 0;

  protected:
    ~ISpObjectWithToken() = default;
};

struct ISpEventSink : IUnknown {
    virtual HRESULT AddEvents(const SPEVENT* pEventArray, uint32_t ulCount) = 0;
    virtual HRESULT GetEventInterest(uint64_t* pullEventInterest) = 0;

  protected:
    ~ISpEventSink() = default;
};

// Where an engine's audio and events go during one Speak call.
struct ISpTTSEngineSite : ISpEventSink {
    virtual uint32_t GetActions() = 0;  // SPVES_… bits
    virtual HRESULT Write(const void* pBuff, uint32_t cb, uint32_t* pcbWritten) = 0;
    virtual HRESULT GetRate(int32_t* pRateAdjust) = 0;
    virtual HRESULT GetVolume(uint16_t* pusVolume) = 0;
    virtual HRESULT GetSkipInfo(SPVSKIPTYPE* peType, int32_t* plNumItems) = 0;
    virtual HRESULT CompleteSkip(int32_t ulNumSkipped) = 0;

  protected:
    ~ISpTTSEngineSite() = default;
};

struct ISpTTSEngine : IUnknown {
    virtual HRESULT Speak(uint32_t dwSpeakFlags, const GUID& rguidFormatId,
                          const WAVEFORMATEX* pWaveFormatEx, const SPVTEXTFRAG* pTextFragList,
                          ISpTTSEngineSite* pOutputSite) = 0;
    virtual HRESULT GetOutputFormat(const GUID* pTargetFmtId,
                                    const WAVEFORMATEX* pTargetWaveFormatEx, GUID* pOutputFormatId,
                                    WAVEFORMATEX** ppCoMemOutputWaveFormatEx) = 0;

  protected:
    ~ISpTTSEngine() = default;
};

// Phone ids of a language ↔ its phone names (space-separated).
struct ISpPhoneConverter : ISpObjectWithToken {
    virtual HRESULT PhoneToId(const char16_t* pszPhone, SPPHONEID* pId) = 0;
    virtual HRESULT IdToPhone(const SPPHONEID* pId, char16_t* pszPhone) = 0;

  protected:
    ~ISpPhoneConverter() = default;
};

struct ISpTokenUI : IUnknown {
    virtual HRESULT IsUISupported(const char16_t* pszTypeOfUI, void* pvExtraData,
                                  uint32_t cbExtraData, IUnknown* punkObject,
                                  int32_t* pfSupported) = 0;
    virtual HRESULT DisplayUI(void* hwndParent, const char16_t* pszTitle,
                              const char16_t* pszTypeOfUI, void* pvExtraData, uint32_t cbExtraData,
                              ISpObjectToken* pToken, IUnknown* punkObject) = 0;

  protected:
    ~ISpTokenUI() = default;
};
