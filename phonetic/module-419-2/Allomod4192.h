// Allomod_419_2: the Russian phonetic module 419.2 (module 419.1's
// inventory plus the vowel sequences). It names allophones as module 419.1
// does, except for the vowel sequences: a sequence is named by the class of
// the sound before it ("AE0-1" after a soft consonant), a consonant before a
// sequence by the sequence's first letter and stress digit ("B-A0" before
// "AE0"), and a vowel after a word break by the sound before the break.
#pragma once

#include "phonetic/module-419-1/NeighbourModule.h"

namespace vox {

class Allomod_419_2 final : public NeighbourModule {
  public:
    Allomod_419_2();

  protected:
    std::string VowelAllophone(const Phrase& phrase, std::ptrdiff_t i) const override;
    std::string ConsonantBeforeVowel(std::string_view consonant,
                                     std::string_view vowel) const override;
};

}  // namespace vox
