#include "tools/voxamen/PhoneticModules.h"

#include <algorithm>
#include <cstdio>
#include <ostream>

#include "engine/PhoneticModuleLoader.h"
#include "platform/CodePage.h"
#include "platform/Text.h"

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

std::string PhraseRejection(IPhonetic& module, const std::string& phrase) {
    const std::vector<std::string> names = SplitList(phrase);
    auto quoted = [](const std::string& name) { return "\"" + name + "\""; };
    auto place = [](size_t i) { return "phoneme " + std::to_string(i + 1); };
    for (size_t i = 0; i < names.size(); ++i) {
        if (names[i].empty())
            return place(i) + " is empty (two commas, or a comma at an end of the phrase)";
        uint64_t sd = 0;
        if (SUCCEEDED(module.GetSoundDescription(names[i].c_str(), &sd)) && sd == 0)
            return "unknown phoneme " + quoted(names[i]) + " (" + place(i) +
                   "): the module's inventory has no such name (vowels carry a stress digit, "
                   "e.g. \"A0\")";
    }
    if (names.size() < 3)
        return "the phrase has " + std::to_string(names.size()) +
               " phonemes; a phrase has at least three: \"#\", the phonemes, \"#\"";
    if (names.front() != "#")
        return "the phrase starts with " + quoted(names.front()) + ", not \"#\"";
    if (names.back() != "#") return "the phrase ends with " + quoted(names.back()) + ", not \"#\"";
    auto boundary = [](const std::string& n) { return n == "#" || n == "_"; };
    for (size_t i = 0; i + 1 < names.size(); ++i)
        if (boundary(names[i]) && boundary(names[i + 1]))
            return quoted(names[i]) + " and " + quoted(names[i + 1]) +
                   " stand next to each other at " + place(i) + " and " + std::to_string(i + 2) +
                   "; a word lies between boundaries";
    return "a phrase has at least three phonemes, starts and ends with \"#\" and never puts "
           "\"#\" or \"_\" next to each other";
}

bool CheckUtf8(std::string_view text, std::string_view command, std::ostream& err) {
    const std::optional<size_t> at = FirstInvalidUtf8(text);
    if (!at) return true;
    char byte[8];
    std::snprintf(byte, sizeof byte, "0x%02X", static_cast<unsigned char>(text[*at]));
    err << "voxamen " << command << ": the text is not UTF-8: byte " << byte << " at byte offset "
        << *at << " does not begin a valid UTF-8 character\n";
    return false;
}

}  // namespace vox::cli
