#include "phonetic/module-419-3/Allomod4193.h"

#include <filesystem>

#include "phonetic/module-419-3/Tables4193.h"
#include "platform/ComServer.h"

namespace vox {

Allomod_419_3::Allomod_419_3()
    : Allomod_419_3(
          std::filesystem::path(ThisLibraryPath()).replace_filename("allomod-419-0.cfg").string()) {
}

Allomod_419_3::Allomod_419_3(std::string ruleFile)
    : RuleFileModule(m4193::kTables, LetterToPhonemeOptions{.zhClusterRule = true},
                     std::move(ruleFile)) {}

}  // namespace vox
