// An in-process phonetic module for the builder's tests. Letters go through
// the real letter-to-phoneme conversion; allophones follow a deliberately
// simple naming of its own (a vowel after its left neighbour, a consonant
// before a vowel after that vowel, any other consonant bare), and the
// substitutes are "V-#" for a vowel and the bare name for a consonant.
#pragma once

#include <map>
#include <string>

#include "interfaces/IPhonetic.h"
#include "platform/ComKit.h"

namespace vox::test {

class FakeModule final : public ComObject<Interface<IPhonetic, IID_IPhonetic>> {
  public:
    FakeModule();

    HRESULT LettersToPhonemes(const char* letters, char** phonemes) override;
    HRESULT LettersToAllophones(const char*, char**, char**) override { return E_NOTIMPL; }
    HRESULT PhonemesToAllophones(const char* phonemes, char** allophones) override;
    HRESULT AllophonesToPhonemes(const char*, char**) override { return E_NOTIMPL; }
    HRESULT AllophoneToPhoneme(const char* allophone, char** phoneme) override;
    HRESULT GetSoundDescription(const char* phoneme, uint64_t* sd) override;
    HRESULT GetSoundDescriptions(const char*, uint64_t**, int32_t*) override { return E_NOTIMPL; }
    HRESULT SDtoString(uint64_t, char**) override { return E_NOTIMPL; }
    HRESULT GetPhonemeCode(const char*, int32_t*) override { return E_NOTIMPL; }
    HRESULT GetPhonemesCodes(const char*, int32_t**, int32_t*) override { return E_NOTIMPL; }
    HRESULT GetPhonemeByCode(int32_t, char**) override { return E_NOTIMPL; }
    HRESULT GetVisemeCode(const char*, int32_t*) override { return E_NOTIMPL; }
    HRESULT GetVisemesCodes(const char*, int32_t**, int32_t*) override { return E_NOTIMPL; }
    HRESULT EnumPhonemes(char** phonemes) override;
    HRESULT GetBasicAllophone(const char*, char**) override { return E_NOTIMPL; }
    HRESULT GetSubstituteAllophone(const char* allophone, char** substitute) override;
    HRESULT SetDebugVerbosity(int32_t) override { return S_OK; }
    HRESULT SetAllophones(const char*) override { return E_NOTIMPL; }
    HRESULT SetGroups(const char*) override { return E_NOTIMPL; }

    // Sound descriptions of the inventory: "#", "_", A0 A1 A2 O0 U0, voiced
    // M N L, voiceless S T.
    std::map<std::string, uint64_t> table;
    int lettersCalls = 0;
};

// A fresh module reference (the caller owns it).
ComPtr<IPhonetic> MakeFakeModule();

}  // namespace vox::test
