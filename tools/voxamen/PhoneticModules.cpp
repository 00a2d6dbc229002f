#include "tools/voxamen/PhoneticModules.h"

#include <algorithm>
#include <ostream>

#include "phonetic/ModuleFacts.h"
#include "platform/ComBinding.h"
#include "platform/Guid.h"
#include "platform/Hresult.h"
#include "platform/Registry.h"

namespace vox::cli {

ComPtr<IPhonetic> CreatePhoneticModule(const std::string& key, std::string_view command,
                                       std::ostream& err) {
    reg::Key moduleKey;
    std::string text;
    if (reg::Key::Open(reg::Root::LocalMachine, std::string(kPhoneticModulesKey) + "\\" + key,
                       moduleKey) != reg::Status::Ok ||
        moduleKey.QueryText("CLSID", text, 256) != reg::Status::Ok) {
        err << "voxamen " << command << ": phonetic module " << key << " is not registered; run\n"
            << "  voxamen register build/lib/*.so\n";
        return {};
    }
    CLSID clsid{};
    if (FAILED(CLSIDFromString(text.c_str(), &clsid))) {
        err << "voxamen " << command << ": module " << key << ": the registered CLSID \"" << text
            << "\" is malformed\n";
        return {};
    }
    ComPtr<IUnknown> unknown;
    HRESULT hr = CoCreateInstance(clsid, nullptr, CLSCTX_ALL, IID_IUnknown, unknown.PutVoid());
    if (SUCCEEDED(hr)) hr = OleRun(unknown.Get());
    ComPtr<IPhonetic> phonetic;
    if (SUCCEEDED(hr)) hr = unknown->QueryInterface(IID_IPhonetic, phonetic.PutVoid());
    if (FAILED(hr)) {
        err << "voxamen " << command << ": cannot create module " << key << " " << text << ": "
            << HresultText(hr);
        if (!LastBindingError().empty()) err << " (" << LastBindingError() << ")";
        err << "\n";
        return {};
    }
    return phonetic;
}

bool LooksLikeLetters(std::string_view text) {
    return std::any_of(text.begin(), text.end(), [](char c) {
        return static_cast<unsigned char>(c) >= 0x80 || c == '+' || c == '-';
    });
}

std::string TakeString(char* block) {
    CoTaskMemPtr<char> owned(block);
    return owned ? std::string(owned.get()) : std::string();
}

}  // namespace vox::cli
