#include "tools/voxamen/PhoneticModules.h"

#include <algorithm>
#include <ostream>

#include "engine/PhoneticModuleLoader.h"

namespace vox::cli {

ComPtr<IPhonetic> CreatePhoneticModule(const std::string& key, std::string_view command,
                                       std::ostream& err) {
    std::string why;
    ComPtr<IPhonetic> module = vox::CreatePhoneticModule(key, &why);
    if (!module) {
        err << "voxamen " << command << ": " << why << "\n";
        if (why.find("not registered") != std::string::npos)
            err << "  run: voxamen register build/lib/*.so\n";
    }
    return module;
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
