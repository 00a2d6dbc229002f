// The exports of allomod-419-3.so: class object, unload test and
// self-registration of Allomod_419_3 under the language key "419.3".
#include "phonetic/ModuleExports.h"
#include "phonetic/module-419-3/Allomod4193.h"

static_assert(vox::kPhoneticModules[3].languageKey == "419.3");

VOXAMEN_PHONETIC_MODULE_EXPORTS(vox::Allomod_419_3, vox::kPhoneticModules[3])
