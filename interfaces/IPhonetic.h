// The phonetic modules' interface and the classes of the four Russian modules.
// Binary contract: method order and signatures fixed.
#pragma once

#include "ComTypes.h"

// {85F5A225-F6E0-4F79-90F6-7EFE6327FC7C}
inline constexpr IID IID_IPhonetic = {
    0x85F5A225, 0xF6E0, 0x4F79, {0x90, 0xF6, 0x7E, 0xFE, 0x63, 0x27, 0xFC, 0x7C}};

// {B66F35AE-3AA5-453d-A328-DA19B1A70682}
inline constexpr CLSID CLSID_Allomod_419_0 = {
    0xB66F35AE, 0x3AA5, 0x453D, {0xA3, 0x28, 0xDA, 0x19, 0xB1, 0xA7, 0x06, 0x82}};
// {27DEC551-209F-4f6e-953D-717DB7D02EDB}
inline constexpr CLSID CLSID_Allomod_419_1 = {
    0x27DEC551, 0x209F, 0x4F6E, {0x95, 0x3D, 0x71, 0x7D, 0xB7, 0xD0, 0x2E, 0xDB}};
// {882C83FB-ACC4-4b92-AECF-007DEB975AA7}
inline constexpr CLSID CLSID_Allomod_419_2 = {
    0x882C83FB, 0xACC4, 0x4B92, {0xAE, 0xCF, 0x00, 0x7D, 0xEB, 0x97, 0x5A, 0xA7}};
// {E0292F1F-1CB6-4bd8-ACED-1FF2A9F3289F}
inline constexpr CLSID CLSID_Allomod_419_3 = {
    0xE0292F1F, 0x1CB6, 0x4BD8, {0xAC, 0xED, 0x1F, 0xF2, 0xA9, 0xF3, 0x28, 0x9F}};

// Type libraries of the four modules.
inline constexpr GUID LIBID_ALLOMOD_419_0Lib = {
    0x97D8306C, 0xDC63, 0x4940, {0x8A, 0xFC, 0xCD, 0x18, 0x38, 0x88, 0x3E, 0x2B}};
inline constexpr GUID LIBID_ALLOMOD_419_1Lib = {
    0x40F222A4, 0xEB97, 0x408B, {0xB9, 0x86, 0x47, 0x5C, 0xE0, 0x3E, 0xE5, 0xA2}};
inline constexpr GUID LIBID_ALLOMOD_419_2Lib = {
    0x31CBD3DF, 0x5A43, 0x4DD5, {0x82, 0x73, 0xE0, 0x6C, 0x14, 0x00, 0xFB, 0x88}};
inline constexpr GUID LIBID_ALLOMOD_419_3Lib = {
    0x5EDE26F0, 0x3B40, 0x444A, {0xAE, 0x3D, 0xB9, 0x2E, 0x1C, 0x11, 0xFF, 0xE9}};

// Component category the modules implement: {1AB21F59-830C-4e96-9A6D-64360B0498F3}
inline constexpr GUID CATID_PhoneticModule = {
    0x1AB21F59, 0x830C, 0x4E96, {0x9A, 0x6D, 0x64, 0x36, 0x0B, 0x04, 0x98, 0xF3}};

struct IPhonetic : IUnknown {
    virtual HRESULT LettersToPhonemes(const char* Letters, char** Phonemes) = 0;
    virtual HRESULT LettersToAllophones(const char* Letters, char** Allophones,
                                        char** Phonemes) = 0;
    virtual HRESULT PhonemesToAllophones(const char* Phonemes, char** Allophones) = 0;
    virtual HRESULT AllophonesToPhonemes(const char* Allophones, char** Phonemes) = 0;
    virtual HRESULT AllophoneToPhoneme(const char* Allophone, char** Phoneme) = 0;
    virtual HRESULT GetSoundDescription(const char* Phoneme, uint64_t* SD) = 0;
    virtual HRESULT GetSoundDescriptions(const char* Phonemes, uint64_t** SDs, int32_t* Num) = 0;
    virtual HRESULT SDtoString(uint64_t SD, char** Text) = 0;
    virtual HRESULT GetPhonemeCode(const char* Phoneme, int32_t* Code) = 0;
    virtual HRESULT GetPhonemesCodes(const char* Phonemes, int32_t** Codes, int32_t* Num) = 0;
    virtual HRESULT GetPhonemeByCode(int32_t Code, char** Phoneme) = 0;
    virtual HRESULT GetVisemeCode(const char* Phoneme, int32_t* Code) = 0;
    virtual HRESULT GetVisemesCodes(const char* Phonemes, int32_t** Codes, int32_t* Num) = 0;
    virtual HRESULT EnumPhonemes(char** Phonemes) = 0;
    virtual HRESULT GetBasicAllophone(const char* Allophone, char** Basic) = 0;
    virtual HRESULT GetSubstituteAllophone(const char* Allophone, char** Substitute) = 0;
    virtual HRESULT SetDebugVerbosity(int32_t Level) = 0;
    virtual HRESULT SetAllophones(const char* Allophones) = 0;
    virtual HRESULT SetGroups(const char* Groups) = 0;

  protected:
    ~IPhonetic() = default;
};
