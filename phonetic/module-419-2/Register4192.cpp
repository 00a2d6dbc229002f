// The exports of allomod-419-2.so: class object, unload test and
// self-registration of Allomod_419_2 under the language key "419.2".
#include "phonetic/ModuleExports.h"
#include "phonetic/module-419-2/Allomod4192.h"

static_assert(vox::kPhoneticModules[2].languageKey == "419.2");

VOXAMEN_PHONETIC_MODULE_EXPORTS(vox::Allomod_419_2, vox::kPhoneticModules[2])
