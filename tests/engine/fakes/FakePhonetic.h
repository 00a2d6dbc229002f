// An in-process phonetic module for tests and benchmarks: phonemes with
// chosen sound descriptions, codes, visemes and allophones, substitutes,
// and calls that can be made to fail.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "interfaces/IPhonetic.h"
#include "platform/ComKit.h"

namespace vox::test {

struct FakePhoneme {
    uint64_t sd = 0;
    int32_t code = 0;
    int32_t viseme = 0;
    std::string allophone;
};

class FakePhonetic final : public ComObject<Interface<IPhonetic, IID_IPhonetic>> {
  public:
    std::map<std::string, FakePhoneme> phonemes;
    std::map<std::string, std::string> substitutes;  // missing: the allophone itself
    std::optional<std::string> allophoneList;        // replaces the built list
    std::map<std::string, HRESULT> failing;          // method name → result
    int32_t debugVerbosity = -1;

    HRESULT LettersToPhonemes(const char*, char**) override { return E_NOTIMPL; }
    HRESULT LettersToAllophones(const char*, char**, char**) override { return E_NOTIMPL; }
    HRESULT PhonemesToAllophones(const char* phonemes, char** allophones) override;
    HRESULT AllophonesToPhonemes(const char*, char**) override { return E_NOTIMPL; }
    HRESULT AllophoneToPhoneme(const char*, char**) override { return E_NOTIMPL; }
    HRESULT GetSoundDescription(const char*, uint64_t*) override { return E_NOTIMPL; }
    HRESULT GetSoundDescriptions(const char* phonemes, uint64_t** sds, int32_t* num) override;
    HRESULT SDtoString(uint64_t, char**) override { return E_NOTIMPL; }
    HRESULT GetPhonemeCode(const char*, int32_t*) override { return E_NOTIMPL; }
    HRESULT GetPhonemesCodes(const char* phonemes, int32_t** codes, int32_t* num) override;
    HRESULT GetPhonemeByCode(int32_t, char**) override { return E_NOTIMPL; }
    HRESULT GetVisemeCode(const char*, int32_t*) override { return E_NOTIMPL; }
    HRESULT GetVisemesCodes(const char* phonemes, int32_t** codes, int32_t* num) override;
    HRESULT EnumPhonemes(char**) override { return E_NOTIMPL; }
    HRESULT GetBasicAllophone(const char* allophone, char** basic) override;
    HRESULT GetSubstituteAllophone(const char* allophone, char** substitute) override;
    HRESULT SetDebugVerbosity(int32_t level) override;
    HRESULT SetAllophones(const char*) override { return E_NOTIMPL; }
    HRESULT SetGroups(const char*) override { return E_NOTIMPL; }

  private:
    HRESULT Failure(const char* method) const;
};

// Sound descriptions of a small Russian-like inventory for the fakes: "#",
// "_", vowels "A0" "O1" "U2" "I0", voiced "M" "N" "L" "B", voiceless "S"
// "T" "K", each allophone named like its phoneme.
void AddTestInventory(FakePhonetic& module);

}  // namespace vox::test
