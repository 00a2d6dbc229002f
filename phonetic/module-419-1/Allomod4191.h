// Allomod_419_1: the Russian phonetic module 419.1 (419.0's inventory with bit 62 and "O1"/"O2").
// Letters to phonemes add the ",ZH," cluster rule. Until this module's own
// allophone hooks arrive it names allophones with module 419.0's hooks and
// rule file ("allomod-419-0.cfg" beside this library).
#pragma once

#include <string>

#include "phonetic/module-419-0/RuleFileModule.h"

namespace vox {

class Allomod_419_1 final : public RuleFileModule {
  public:
    Allomod_419_1();
    explicit Allomod_419_1(std::string ruleFile);
};

}  // namespace vox
