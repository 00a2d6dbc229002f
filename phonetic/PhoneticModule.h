// PhoneticModule: the one implementation of IPhonetic shared by every
// phonetic module. It owns the module's tables (inventory, codes, visemes,
// places), validates and analyses phrases, converts lists, and leaves the
// module-specific conversions to the hooks declared after the destructor:
// each module derives from it, passes its tables and overrides the hooks.
//
// Every interface method checks its pointers, runs under vox::Guarded and
// returns CoTaskMem blocks the caller frees. One caller at a time per object.
#pragma once

#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "interfaces/IPhonetic.h"
#include "phonetic/PhonemeInventory.h"
#include "platform/ComKit.h"

namespace vox {

// Group name to its member names (SetGroups).
using GroupTable = std::map<std::string, std::set<std::string>>;

class PhoneticModule : public ComObject<Interface<IPhonetic, IID_IPhonetic>> {
  public:
    explicit PhoneticModule(ModuleTables tables);

    HRESULT LettersToPhonemes(const char* Letters, char** Phonemes) override;
    HRESULT LettersToAllophones(const char* Letters, char** Allophones, char** Phonemes) override;
    HRESULT PhonemesToAllophones(const char* Phonemes, char** Allophones) override;
    HRESULT AllophonesToPhonemes(const char* Allophones, char** Phonemes) override;
    HRESULT AllophoneToPhoneme(const char* Allophone, char** Phoneme) override;
    HRESULT GetSoundDescription(const char* Phoneme, uint64_t* SD) override;
    HRESULT GetSoundDescriptions(const char* Phonemes, uint64_t** SDs, int32_t* Num) override;
    HRESULT SDtoString(uint64_t SD, char** Text) override;
    HRESULT GetPhonemeCode(const char* Phoneme, int32_t* Code) override;
    HRESULT GetPhonemesCodes(const char* Phonemes, int32_t** Codes, int32_t* Num) override;
    HRESULT GetPhonemeByCode(int32_t Code, char** Phoneme) override;
    HRESULT GetVisemeCode(const char* Phoneme, int32_t* Code) override;
    HRESULT GetVisemesCodes(const char* Phonemes, int32_t** Codes, int32_t* Num) override;
    HRESULT EnumPhonemes(char** Phonemes) override;
    HRESULT GetBasicAllophone(const char* Allophone, char** Basic) override;
    HRESULT GetSubstituteAllophone(const char* Allophone, char** Substitute) override;
    HRESULT SetDebugVerbosity(int32_t Level) override;
    HRESULT SetAllophones(const char* Allophones) override;
    HRESULT SetGroups(const char* Groups) override;

    // The hooks, in this slot order after the destructor.
    ~PhoneticModule() override;
    // Text (Windows-1251) to a phoneme list; "" when the text gives no phrase.
    virtual std::string DoLettersToPhonemes(std::string_view letters) = 0;
    // One allophone name per phoneme. PhonemesToAllophones passes validated
    // phrases only; LettersToAllophones passes whatever the letters gave,
    // so a hook must not rely on "#" at the ends. An empty result means
    // "no allophones" (e.g. rules that cannot be loaded).
    virtual std::vector<std::string> DoPhonemesToAllophones(
        const std::vector<std::string>& phonemes) = 0;
    virtual std::string DoAllophoneToPhoneme(const std::string& allophone) = 0;
    // The allophone to fall back to when the voice lacks this one.
    virtual std::string DoGetBasicAllophone(const std::string& allophone) = 0;
    // A replacement allophone; must always answer (the input itself will do).
    virtual std::string DoGetSubstituteAllophone(const std::string& allophone) = 0;
    // Called after SetAllophones stored a new list.
    virtual void OnAllophonesChanged() = 0;

  protected:
    const PhonemeInventory& Inventory() const { return inventory_; }
    int32_t DebugVerbosity() const { return debugVerbosity_; }
    const std::vector<std::string>& AllophoneList() const { return allophones_; }
    const GroupTable& Groups() const { return groups_; }
    // Modules that read groups of their own (e.g. from a configuration file).
    GroupTable& MutableGroups() { return groups_; }

  private:
    // Table SD of one phoneme; reports an unknown one when debugging.
    uint64_t LookUpSd(std::string_view phoneme) const;
    // Validates a phrase and fills its table SDs; an unknown phoneme is
    // reported (when debugging) as a lookup would report it.
    bool AcceptPhrase(const std::vector<std::string_view>& names, std::vector<uint64_t>& sds) const;
    HRESULT CodesOf(const char* phonemes, int32_t** codes, int32_t* num,
                    int32_t (PhonemeInventory::*lookup)(std::string_view) const) const;

    PhonemeInventory inventory_;
    int32_t debugVerbosity_ = 0;
    std::vector<std::string> allophones_;
    GroupTable groups_;
};

// SetGroups' text: "Name:member,member;Name:…" (items without ":" skipped).
GroupTable ParseGroups(std::string_view text);

}  // namespace vox
