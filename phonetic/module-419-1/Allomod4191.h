// Allomod_419_1: the Russian phonetic module 419.1 (419.0's inventory with
// bit 62 and "O1"/"O2"), whose allophones are named after a neighbour
// ("B-A0", "A0-B"). Letters to phonemes add the ",ZH," cluster rule.
#pragma once

#include "phonetic/module-419-1/NeighbourModule.h"

namespace vox {

class Allomod_419_1 final : public NeighbourModule {
  public:
    Allomod_419_1();
};

}  // namespace vox
