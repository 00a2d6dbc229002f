#include "ComBinding.h"

#include <dlfcn.h>
#include <cstdlib>
#include <map>
#include <mutex>

#include "Guid.h"
#include "Registry.h"

void* CoTaskMemAlloc(size_t size) {
    return std::malloc(size == 0 ? 1 : size);
}

void CoTaskMemFree(void* block) {
    std::free(block);
}

namespace vox {
namespace {

thread_local std::string tLastError;

std::mutex gLibrariesMutex;
std::map<std::string, void*> gLibraries;  // path → handle; never unloaded

void* LoadLibrary(const std::string& path, std::string& error) {
    std::lock_guard<std::mutex> lock(gLibrariesMutex);
    auto it = gLibraries.find(path);
    if (it != gLibraries.end()) return it->second;
    void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* why = ::dlerror();
        error = path + ": cannot be loaded: " + (why != nullptr ? why : "unknown error");
        return nullptr;
    }
    gLibraries[path] = handle;
    return handle;
}

}  // namespace

HRESULT GetClassObjectFromLibrary(const std::string& path, const CLSID& clsid, const IID& iid,
                                  void** object, std::string* error) {
    std::string why;
    HRESULT hr = S_OK;
    if (void* lib = LoadLibrary(path, why); lib == nullptr) {
        hr = CO_E_DLLNOTFOUND;
    } else if (auto get = reinterpret_cast<DllGetClassObjectFn>(::dlsym(lib, "DllGetClassObject"));
               get == nullptr) {
        why = path + ": does not export DllGetClassObject";
        hr = CO_E_ERRORINDLL;
    } else {
        hr = get(clsid, iid, object);
        if (FAILED(hr)) why = path + ": has no class " + GuidToString(clsid);
    }
    if (error != nullptr) *error = why;
    return hr;
}

std::string RegisteredServerPath(const CLSID& clsid) {
    reg::Key key;
    std::string path;
    if (reg::Key::Open(reg::Root::ClassesRoot, "CLSID\\" + GuidToString(clsid) + "\\InprocServer32",
                       key) != reg::Status::Ok ||
        key.QueryText("", path) != reg::Status::Ok)
        return {};
    return path;
}

const std::string& LastBindingError() {
    return tLastError;
}

}  // namespace vox

HRESULT CoCreateInstance(const CLSID& clsid, IUnknown* outer, uint32_t context, const IID& iid,
                         void** object) {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    if ((context & (CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER)) == 0) {
        vox::tLastError = "only in-process servers are available";
        return REGDB_E_CLASSNOTREG;
    }
    std::string path = vox::RegisteredServerPath(clsid);
    if (path.empty()) {
        vox::tLastError = "class " + vox::GuidToString(clsid) + " is not registered";
        return REGDB_E_CLASSNOTREG;
    }
    IClassFactory* factory = nullptr;
    HRESULT hr = vox::GetClassObjectFromLibrary(
        path, clsid, IID_IClassFactory, reinterpret_cast<void**>(&factory), &vox::tLastError);
    if (FAILED(hr)) return hr;
    hr = factory->CreateInstance(outer, iid, object);
    factory->Release();
    vox::tLastError = FAILED(hr) ? "creating " + vox::GuidToString(clsid) + " failed" : "";
    return hr;
}

HRESULT OleRun(IUnknown* object) {
    return object == nullptr ? E_INVALIDARG : S_OK;
}

namespace vox {

HRESULT CreateRunningObject(const CLSID& clsid, const IID& iid, void** object) {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    IUnknown* unknown = nullptr;
    HRESULT hr = CoCreateInstance(clsid, nullptr, CLSCTX_ALL, IID_IUnknown,
                                  reinterpret_cast<void**>(&unknown));
    if (SUCCEEDED(hr)) hr = OleRun(unknown);
    if (SUCCEEDED(hr)) hr = unknown->QueryInterface(iid, object);
    if (unknown != nullptr) unknown->Release();
    if (SUCCEEDED(hr) && *object == nullptr) hr = E_NOINTERFACE;
    if (FAILED(hr)) *object = nullptr;
    return hr;
}

}  // namespace vox
