// The hooks of modules 419.1 and 419.2: allophones named after a neighbour,
// so that a voice can hold transition units. A vowel is named with the sound
// before it ("A0-B'"), a consonant with the sound after it ("B-A0"), "#" and
// "_" are their own allophones. No rule file is read.
//
// Module 419.2 derives from this class and changes the two places where its
// vowel-sequence phonemes are named differently (VowelAllophone and
// ConsonantBeforeVowel).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "phonetic/PhoneticModule.h"
#include "phonetic/SoundDescription.h"

namespace vox {

// A phoneme name cut at its first stress digit ("A0" gives "A", "AJ'2"
// gives "AJ'", "B'" stays "B'").
std::string_view StrippedName(std::string_view phoneme);

class NeighbourModule : public PhoneticModule {
  public:
    explicit NeighbourModule(ModuleTables tables);

    std::string DoLettersToPhonemes(std::string_view letters) override;
    // One allophone per phoneme whatever the list: outside the list reads
    // as "#", unknown phonemes keep their names.
    std::vector<std::string> DoPhonemesToAllophones(
        const std::vector<std::string>& phonemes) override;
    std::string DoAllophoneToPhoneme(const std::string& allophone) override;
    std::string DoGetBasicAllophone(const std::string& allophone) override;
    std::string DoGetSubstituteAllophone(const std::string& allophone) override;
    void OnAllophonesChanged() override;

  protected:
    // The phrase being named, with "#" outside its ends.
    class Phrase {
      public:
        explicit Phrase(const std::vector<std::string>& phonemes) : phonemes_(phonemes) {}
        std::string_view operator[](std::ptrdiff_t i) const;

      private:
        const std::vector<std::string>& phonemes_;
    };

    bool Has(std::string_view phoneme, sd::Bit bit) const;
    // The allophone of the vowel at `i`.
    virtual std::string VowelAllophone(const Phrase& phrase, std::ptrdiff_t i) const;
    // The allophone of `consonant` before `vowel`.
    virtual std::string ConsonantBeforeVowel(std::string_view consonant,
                                             std::string_view vowel) const;

  private:
    std::string ConsonantAllophone(const Phrase& phrase, std::ptrdiff_t i) const;
};

}  // namespace vox
