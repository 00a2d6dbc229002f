// voxamen register LIB… / voxamen unregister LIB…: call a server library's
// DllRegisterServer or DllUnregisterServer (what regsvr32 does on Windows).
#include <dlfcn.h>
#include <climits>
#include <cstdlib>
#include <ostream>

#include "interfaces/ComTypes.h"
#include "platform/Hresult.h"
#include "tools/voxamen/Command.h"
#include "tools/voxamen/Options.h"

namespace vox::cli {

namespace {

int RunEntryPoint(const Invocation& inv, const char* entry, const char* verb) {
    Options opts({});
    std::string error;
    if (!opts.Parse(inv.args, error)) {
        inv.err << "voxamen " << verb << ": " << error << "\n";
        return kExitUsage;
    }
    if (opts.Help() || opts.Positional().empty()) {
        (opts.Help() ? inv.out : inv.err)
            << "usage: voxamen " << verb << " LIB...\n"
            << "  Calls " << entry << " of each server library (e.g. build/lib/*.so).\n";
        return opts.Help() ? kExitOk : kExitUsage;
    }
    int status = kExitOk;
    for (const std::string& lib : opts.Positional()) {
        char resolved[PATH_MAX];
        std::string path = ::realpath(lib.c_str(), resolved) != nullptr ? resolved : lib;
        void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (handle == nullptr) {
            const char* why = ::dlerror();
            inv.err << "voxamen " << verb << ": " << lib
                    << ": cannot be loaded: " << (why != nullptr ? why : "unknown error") << "\n";
            status = kExitFailure;
            continue;
        }
        auto fn = reinterpret_cast<DllRegisterServerFn>(::dlsym(handle, entry));
        if (fn == nullptr) {
            inv.err << "voxamen " << verb << ": " << lib << ": does not export " << entry << "\n";
            status = kExitFailure;
            continue;  // the library stays loaded: unloading plug-ins is never needed here
        }
        HRESULT hr = fn();
        if (FAILED(hr)) {
            inv.err << "voxamen " << verb << ": " << lib << ": " << entry
                    << " failed: " << HresultText(hr) << "\n";
            status = kExitFailure;
        } else {
            inv.out << verb << "ed " << path << "\n";
        }
    }
    return status;
}

}  // namespace

int RunRegister(const Invocation& inv) {
    return RunEntryPoint(inv, "DllRegisterServer", "register");
}

int RunUnregister(const Invocation& inv) {
    return RunEntryPoint(inv, "DllUnregisterServer", "unregister");
}

}  // namespace vox::cli
