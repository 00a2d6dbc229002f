// The exports of allomod-419-0.so: class object, unload test and
// self-registration of Allomod_419_0 under the language key "419.0".
#include "phonetic/ModuleExports.h"
#include "phonetic/module-419-0/Allomod4190.h"

static_assert(vox::kPhoneticModules[0].languageKey == "419.0");

VOXAMEN_PHONETIC_MODULE_EXPORTS(vox::Allomod_419_0, vox::kPhoneticModules[0])
