// Identity and version facts of the four Russian phonetic modules, shared by
// the module libraries (registration) and the tools that list them.
#pragma once

#include <array>
#include <string_view>

#include "interfaces/IPhonetic.h"

namespace vox {

struct ModuleFacts {
    std::string_view languageKey;  // "419.0": subkey of Software\Vostrelin\Phonetic
    std::string_view libraryFile;  // "allomod-419-0.so"
    std::string_view className;    // "Allomod_419_0"
    CLSID clsid;
    GUID typeLib;
    std::string_view typeLibName;               // "ALLOMOD_419_0Lib"
    std::string_view typeLibHelp;               // "Vostrelin Allomod 419.0 1.0 Type Library"
    std::string_view description;               // "Vostrelin Allomod 419.0 Class"
    std::string_view progId;                    // "Allomod_419_0.Allomod_419_0.1"
    std::string_view versionIndependentProgId;  // "Allomod_419_0.Allomod_419_0"
    std::string_view moduleName;                // "Allomod 419 0": internal name
    std::string_view productName;               // "Allomod 419 0 Module": file description too
};

// File and product version of every module.
inline constexpr std::string_view kModuleVersion = "1.0.0.1";
// The "Properties" value Name of every module's class key.
inline constexpr std::string_view kModuleLanguageName = "Russian";
// Where a client finds a module's class: this key + "\" + language key, value "CLSID".
inline constexpr std::string_view kPhoneticModulesKey = "SOFTWARE\\Vostrelin\\Phonetic";

inline constexpr std::array<ModuleFacts, 4> kPhoneticModules = {{
    {"419.0", "allomod-419-0.so", "Allomod_419_0", CLSID_Allomod_419_0, LIBID_ALLOMOD_419_0Lib,
     "ALLOMOD_419_0Lib", "Vostrelin Allomod 419.0 1.0 Type Library",
     "Vostrelin Allomod 419.0 Class", "Allomod_419_0.Allomod_419_0.1",
     "Allomod_419_0.Allomod_419_0", "Allomod 419 0", "Allomod 419 0 Module"},
    {"419.1", "allomod-419-1.so", "Allomod_419_1", CLSID_Allomod_419_1, LIBID_ALLOMOD_419_1Lib,
     "ALLOMOD_419_1Lib", "Vostrelin Allomod 419.1 1.0 Type Library",
     "Vostrelin Allomod 419.1 Class", "Allomod_419_1.Allomod_419_1.1",
     "Allomod_419_1.Allomod_419_1", "Allomod 419 1", "Allomod 419 1 Module"},
    {"419.2", "allomod-419-2.so", "Allomod_419_2", CLSID_Allomod_419_2, LIBID_ALLOMOD_419_2Lib,
     "ALLOMOD_419_2Lib", "Vostrelin Allomod 419.2 1.0 Type Library",
     "Vostrelin Allomod 419.2 Class", "Allomod_419_2.Allomod_419_2.1",
     "Allomod_419_2.Allomod_419_2", "Allomod 419 2", "Allomod 419 2 Module"},
    {"419.3", "allomod-419-3.so", "Allomod_419_3", CLSID_Allomod_419_3, LIBID_ALLOMOD_419_3Lib,
     "ALLOMOD_419_3Lib", "Vostrelin Allomod 419.3 1.0 Type Library",
     "Vostrelin Allomod 419.3 Class", "Allomod_419_3.Allomod_419_3.1",
     "Allomod_419_3.Allomod_419_3", "Allomod 419 3", "Allomod 419 3 Module"},
}};

// The facts of a module by its language key or class; nullptr when none.
constexpr const ModuleFacts* FindModuleByKey(std::string_view languageKey) {
    for (const ModuleFacts& m : kPhoneticModules)
        if (m.languageKey == languageKey) return &m;
    return nullptr;
}

constexpr const ModuleFacts* FindModuleByClsid(const CLSID& clsid) {
    for (const ModuleFacts& m : kPhoneticModules)
        if (m.clsid == clsid) return &m;
    return nullptr;
}

}  // namespace vox
