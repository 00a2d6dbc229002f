#include "phonetic/module-419-1/Allomod4191.h"

#include <filesystem>

#include "phonetic/module-419-1/Tables4191.h"
#include "platform/ComServer.h"

namespace vox {

Allomod_419_1::Allomod_419_1()
    : Allomod_419_1(
          std::filesystem::path(ThisLibraryPath()).replace_filename("allomod-419-0.cfg").string()) {
}

Allomod_419_1::Allomod_419_1(std::string ruleFile)
    : RuleFileModule(m4191::kTables, LetterToPhonemeOptions{.zhClusterRule = true},
                     std::move(ruleFile)) {}

}  // namespace vox
