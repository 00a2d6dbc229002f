// Allomod_419_0: the Russian phonetic module whose allophones come from the
// rule file "allomod-419-0.cfg" beside its library.
#pragma once

#include <string>

#include "phonetic/module-419-0/RuleFileModule.h"

namespace vox {

class Allomod_419_0 final : public RuleFileModule {
  public:
    Allomod_419_0();  // the rule file beside this library
    explicit Allomod_419_0(std::string ruleFile);
};

}  // namespace vox
