#include "engine/PhoneticModuleLoader.h"

#include "platform/Guid.h"
#include "platform/Registry.h"

namespace vox {

std::string PhoneticModuleName(const std::string& language, const std::string& sublang) {
    return sublang.empty() ? language : language + "." + sublang;
}

ComPtr<IPhonetic> CreatePhoneticModule(const std::string& name) {
    reg::Key key;
    if (reg::Key::Open(reg::Root::LocalMachine, "Software\\Vostrelin\\Phonetic\\" + name, key) !=
        reg::Status::Ok)
        return {};
    std::string text;
    if (key.QueryText("CLSID", text, 256) != reg::Status::Ok) return {};
    CLSID clsid{};
    if (FAILED(CLSIDFromString(text.c_str(), &clsid))) return {};
    ComPtr<IUnknown> unknown;
    if (FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_ALL, IID_IUnknown, unknown.PutVoid())))
        return {};
    if (FAILED(OleRun(unknown.Get()))) return {};
    ComPtr<IPhonetic> phonetic;
    if (FAILED(unknown->QueryInterface(IID_IPhonetic, phonetic.PutVoid()))) return {};
    return phonetic;
}

}  // namespace vox
