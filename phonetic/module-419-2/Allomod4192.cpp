#include "phonetic/module-419-2/Allomod4192.h"

#include <filesystem>

#include "phonetic/module-419-2/Tables4192.h"
#include "platform/ComServer.h"

namespace vox {

Allomod_419_2::Allomod_419_2()
    : Allomod_419_2(
          std::filesystem::path(ThisLibraryPath()).replace_filename("allomod-419-0.cfg").string()) {
}

Allomod_419_2::Allomod_419_2(std::string ruleFile)
    : RuleFileModule(m4192::kTables, LetterToPhonemeOptions{.zhClusterRule = true},
                     std::move(ruleFile)) {}

}  // namespace vox
