#include "ComServer.h"

#include <dlfcn.h>
#include <climits>
#include <cstdlib>

#include "Guid.h"
#include "Messages.h"

namespace vox {

namespace {

std::string ClassesPath(const std::string& path) {
    return reg::HivePath(reg::Root::ClassesRoot, path);
}

std::string ClsidKey(const CLSID& clsid) {
    return ClassesPath("CLSID\\" + GuidToString(clsid));
}

}  // namespace

std::string ThisLibraryPath() {
    Dl_info info{};
    if (::dladdr(reinterpret_cast<void*>(&ThisLibraryPath), &info) == 0 ||
        info.dli_fname == nullptr)
        return {};
    char resolved[PATH_MAX];
    if (::realpath(info.dli_fname, resolved) == nullptr) return info.dli_fname;
    return resolved;
}

void WriteClassKeys(reg::Hive& hive, const ClassRegistration& c, const std::string& serverPath) {
    const std::string clsid = GuidToString(c.clsid);
    const std::string lib = GuidToString(c.typeLib);
    for (const std::string& progId : {c.progId, c.versionIndependentProgId}) {
        hive.SetValue(ClassesPath(progId), reg::MakeString("", c.description));
        hive.SetValue(ClassesPath(progId + "\\CLSID"), reg::MakeString("", clsid));
    }
    hive.SetValue(ClassesPath(c.versionIndependentProgId + "\\CurVer"),
                  reg::MakeString("", c.progId));

    const std::string key = ClsidKey(c.clsid);
    hive.SetValue(key, reg::MakeString("", c.description));
    hive.SetValue(key + "\\ProgID", reg::MakeString("", c.progId));
    hive.SetValue(key + "\\VersionIndependentProgID",
                  reg::MakeString("", c.versionIndependentProgId));
    hive.SetValue(key + "\\InprocServer32", reg::MakeString("", serverPath));
    hive.SetValue(key + "\\InprocServer32", reg::MakeString("ThreadingModel", c.threadingModel));
    hive.SetValue(key + "\\TypeLib", reg::MakeString("", lib));

    // The type library entry: version 1.0, its help text and the library file.
    const std::string typeLibKey = ClassesPath("TypeLib\\" + lib + "\\1.0");
    hive.SetValue(typeLibKey, reg::MakeString("", c.typeLibHelp));
    hive.SetValue(typeLibKey + "\\0\\linux64", reg::MakeString("", serverPath));
}

void RemoveClassKeys(reg::Hive& hive, const ClassRegistration& c) {
    hive.DeleteTree(ClassesPath(c.progId));
    hive.DeleteTree(ClassesPath(c.versionIndependentProgId));
    hive.DeleteTree(ClsidKey(c.clsid));
    hive.DeleteTree(ClassesPath("TypeLib\\" + GuidToString(c.typeLib)));
}

HRESULT RegisterServer(const ClassRegistration& cls, const std::function<void(reg::Hive&)>& extra) {
    const std::string path = ThisLibraryPath();
    if (path.empty()) {
        MessageBox("Registration", "cannot find the path of the server library");
        return SELFREG_E_CLASS;
    }
    reg::Status s = reg::Edit(reg::Root::LocalMachine, [&](reg::Hive& hive) {
        WriteClassKeys(hive, cls, path);
        if (extra) extra(hive);
        return reg::Status::Ok;
    });
    return s == reg::Status::Ok ? S_OK : SELFREG_E_CLASS;
}

HRESULT UnregisterServer(const ClassRegistration& cls,
                         const std::function<void(reg::Hive&)>& extra) {
    reg::Status s = reg::Edit(reg::Root::LocalMachine, [&](reg::Hive& hive) {
        RemoveClassKeys(hive, cls);
        if (extra) extra(hive);
        return reg::Status::Ok;
    });
    return s == reg::Status::Ok ? S_OK : SELFREG_E_CLASS;
}

}  // namespace vox
