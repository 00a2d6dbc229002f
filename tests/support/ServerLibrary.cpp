#include "support/ServerLibrary.h"

#include <dlfcn.h>

namespace vox::test {

ServerLibrary::ServerLibrary(const std::string& fileName)
    : path_(std::string(VOXAMEN_LIB_DIR) + "/" + fileName),
      handle_(::dlopen(path_.c_str(), RTLD_NOW | RTLD_LOCAL)) {}

void* ServerLibrary::Symbol(const char* name) const {
    return handle_ == nullptr ? nullptr : ::dlsym(handle_, name);
}

HRESULT ServerLibrary::Create(const CLSID& clsid, const IID& iid, void** object) const {
    auto get = reinterpret_cast<DllGetClassObjectFn>(Symbol("DllGetClassObject"));
    if (get == nullptr) return E_FAIL;
    IClassFactory* factory = nullptr;
    HRESULT hr = get(clsid, IID_IClassFactory, reinterpret_cast<void**>(&factory));
    if (FAILED(hr)) return hr;
    hr = factory->CreateInstance(nullptr, iid, object);
    factory->Release();
    return hr;
}

HRESULT ServerLibrary::CanUnloadNow() const {
    auto fn = reinterpret_cast<DllCanUnloadNowFn>(Symbol("DllCanUnloadNow"));
    return fn == nullptr ? E_FAIL : fn();
}

HRESULT ServerLibrary::Register() const {
    auto fn = reinterpret_cast<DllRegisterServerFn>(Symbol("DllRegisterServer"));
    return fn == nullptr ? E_FAIL : fn();
}

HRESULT ServerLibrary::Unregister() const {
    auto fn = reinterpret_cast<DllUnregisterServerFn>(Symbol("DllUnregisterServer"));
    return fn == nullptr ? E_FAIL : fn();
}

}  // namespace vox::test
