#include "phonetic/ModuleRegistration.h"

#include <string>

#include "platform/ComServer.h"
#include "platform/Guid.h"

namespace vox {

namespace {

ClassRegistration ClassOf(const ModuleFacts& m) {
    return {m.clsid,
            std::string(m.description),
            std::string(m.progId),
            std::string(m.versionIndependentProgId),
            m.typeLib,
            std::string(m.typeLibHelp)};
}

std::string LanguageKey(const ModuleFacts& m) {
    return reg::HivePath(reg::Root::LocalMachine,
                         std::string(kPhoneticModulesKey) + "\\" + std::string(m.languageKey));
}

}  // namespace

HRESULT RegisterModule(const ModuleFacts& m) {
    return RegisterServer(ClassOf(m), [&](reg::Hive& hive) {
        const std::string clsid = GuidToString(m.clsid);
        const std::string classKey = reg::HivePath(reg::Root::ClassesRoot, "CLSID\\" + clsid);
        hive.Create(classKey + "\\Implemented Categories\\" + GuidToString(CATID_PhoneticModule));
        hive.SetValue(classKey + "\\Properties", reg::MakeString("Name", kModuleLanguageName));
        hive.SetValue(classKey + "\\Properties", reg::MakeString("Lang", m.languageKey));
        hive.SetValue(LanguageKey(m), reg::MakeString("CLSID", clsid));
    });
}

HRESULT UnregisterModule(const ModuleFacts& m) {
    // The class keys go with their subkeys; the language key stays for
    // whatever else an installer keeps there.
    return UnregisterServer(ClassOf(m),
                            [&](reg::Hive& hive) { hive.DeleteValue(LanguageKey(m), "CLSID"); });
}

}  // namespace vox
