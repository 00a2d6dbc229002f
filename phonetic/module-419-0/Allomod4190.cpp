#include "phonetic/module-419-0/Allomod4190.h"

#include "phonetic/module-419-0/Tables4190.h"
#include "platform/ComServer.h"

namespace vox {

Allomod_419_0::Allomod_419_0() : Allomod_419_0(RuleFileBeside(ThisLibraryPath())) {}

Allomod_419_0::Allomod_419_0(std::string ruleFile)
    : RuleFileModule(m4190::kTables,
                     LetterToPhonemeOptions{.zhClusterRule = false, .reduceUnstressedJo = true},
                     std::move(ruleFile)) {}

}  // namespace vox
