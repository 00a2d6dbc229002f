// The synthesis engine's interface and its class, as declared by the type
// library VOXAMENLib 1.0. Binary contract: method order and signatures fixed.
#pragma once

#include "ComTypes.h"
#include "WaveFormat.h"

// Per-word prosody from the caller: each pointer is null or holds one signed
// byte per word of the phrase.
struct CProsodyInfo {
    int8_t* Rate;
    int8_t* Volume;
    int8_t* Pitch;
    int32_t nWords;
};

// {BAADE4EA-F3F1-4139-BE51-A87CAB3FA3B7}
inline constexpr IID IID_IVoxamen = {
    0xBAADE4EA, 0xF3F1, 0x4139, {0xBE, 0x51, 0xA8, 0x7C, 0xAB, 0x3F, 0xA3, 0xB7}};
// {C0CB043B-A43E-4D30-AD40-4E04B6402CDF}
inline constexpr CLSID CLSID_Voxamen = {
    0xC0CB043B, 0xA43E, 0x4D30, {0xAD, 0x40, 0x4E, 0x04, 0xB6, 0x40, 0x2C, 0xDF}};
// {9504C9CF-3A57-4321-82AF-E14BCFF31F15}
inline constexpr GUID LIBID_VOXAMENLib = {
    0x9504C9CF, 0x3A57, 0x4321, {0x82, 0xAF, 0xE1, 0x4B, 0xCF, 0xF3, 0x1F, 0x15}};

struct IVoxamen : IUnknown {
    virtual HRESULT SetVoice(const char* VoiceKey) = 0;
    virtual HRESULT SetFormat(const WAVEFORMATEX* Format) = 0;
    virtual HRESULT GetOutputFormat(const WAVEFORMATEX* DesiredFormat,
                                    WAVEFORMATEX* NearestSupportedFormat) = 0;
    virtual HRESULT Speak(const char* Phonemes, const char* SyntagmaType,
                          const CProsodyInfo* ProsodyInfo, uint8_t** Audio, int32_t* Size) = 0;
    virtual HRESULT GetPhonemesSizes(int32_t** Sizes, int32_t* Num) = 0;
    virtual HRESULT GetVisemesCodes(int32_t** Codes, int32_t* Num) = 0;
    virtual HRESULT GetPhonemesCodes(int32_t** Codes, int32_t* Num) = 0;
    virtual HRESULT IsUISupported(const char* VoiceKey, const char* TypeOfUI,
                                  int32_t* bSupported) = 0;
    virtual HRESULT DisplayUI(void* hwndParent, const char* VoiceKey, const char* TypeOfUI) = 0;

  protected:
    ~IVoxamen() = default;
};
