#include "engine/PhoneticModuleLoader.h"

#include "platform/Guid.h"
#include "platform/Hresult.h"
#include "platform/Registry.h"

namespace vox {

std::string PhoneticModuleName(const std::string& language, const std::string& sublang) {
    return sublang.empty() ? language : language + "." + sublang;
}

ComPtr<IPhonetic> CreatePhoneticModule(const std::string& name, std::string* why) {
    auto fail = [&](const std::string& reason) {
        if (why != nullptr) *why = reason;
        return ComPtr<IPhonetic>();
    };
    reg::Key key;
    std::string text;
    if (reg::Key::Open(reg::Root::LocalMachine, kPhoneticModulesRoot + name, key) !=
            reg::Status::Ok ||
        key.QueryText("CLSID", text, 256) != reg::Status::Ok)
        return fail("phonetic module " + name + " is not registered");
    CLSID clsid{};
    if (FAILED(CLSIDFromString(text.c_str(), &clsid)))
        return fail("phonetic module " + name + ": the registered CLSID \"" + text +
                    "\" is malformed");
    ComPtr<IPhonetic> phonetic;
    const HRESULT hr = CreateRunningObject(clsid, IID_IPhonetic, phonetic.PutVoid());
    if (FAILED(hr)) {
        std::string reason =
            "phonetic module " + name + " " + text + " cannot be created: " + HresultText(hr);
        if (!LastBindingError().empty()) reason += " (" + LastBindingError() + ")";
        return fail(reason);
    }
    return phonetic;
}

}  // namespace vox
