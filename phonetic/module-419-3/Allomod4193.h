// Allomod_419_3: the Russian phonetic module 419.3 (module 419.1's
// inventory). It is told the units of the voice (SetAllophones) and covers
// each phrase with as few of them as possible; a unit may span several
// phonemes and may ask for a group member before or after it. Groups come
// from "allomod-419-3.cfg" beside the library or from SetGroups. Letters to
// phonemes add the ",ZH," cluster rule.
#pragma once

#include <string>

#include "phonetic/PhoneticModule.h"
#include "phonetic/module-419-3/UnitInventory.h"

namespace vox {

class Allomod_419_3 final : public PhoneticModule {
  public:
    Allomod_419_3();  // the configuration file beside this library
    explicit Allomod_419_3(const std::string& configurationFile);

    std::string DoLettersToPhonemes(std::string_view letters) override;
    std::vector<std::string> DoPhonemesToAllophones(
        const std::vector<std::string>& phonemes) override;
    // The phoneme at the name's position, groups left out ("(Lab)A0.1"
    // gives "A0"); other names as they are up to their last ".".
    std::string DoAllophoneToPhoneme(const std::string& allophone) override;
    // The phoneme at the name's position, a vowel stressed ("T-A1.2" gives "A0").
    std::string DoGetBasicAllophone(const std::string& allophone) override;
    // Every secondary stress made full ("A5-T.1" gives "A0-T.1"); without one
    // the phoneme at the name's position ("T-A1.2" gives "A1").
    std::string DoGetSubstituteAllophone(const std::string& allophone) override;
    void OnAllophonesChanged() override;

    const UnitInventory& Units() const { return units_; }

  private:
    UnitInventory units_;
};

}  // namespace vox
