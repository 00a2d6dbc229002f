// The exports of allomod-419-1.so: class object, unload test and
// self-registration of Allomod_419_1 under the language key "419.1".
#include "phonetic/ModuleExports.h"
#include "phonetic/module-419-1/Allomod4191.h"

static_assert(vox::kPhoneticModules[1].languageKey == "419.1");

VOXAMEN_PHONETIC_MODULE_EXPORTS(vox::Allomod_419_1, vox::kPhoneticModules[1])
