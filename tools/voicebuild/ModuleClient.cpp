#include "tools/voicebuild/ModuleClient.h"

#include "engine/PhoneticModuleLoader.h"
#include "platform/ComBinding.h"
#include "platform/Text.h"

namespace vox::voicebuild {

namespace {

// Calls a method that returns one string and takes the string over.
template <class Call>
std::optional<std::string> TakeString(Call&& call) {
    char* text = nullptr;
    HRESULT hr = call(&text);
    CoTaskMemPtr<char> owned(text);
    if (FAILED(hr) || text == nullptr) return std::nullopt;
    return std::string(text);
}

}  // namespace

ModuleClient::ModuleClient(ComPtr<IPhonetic> module) : module_(std::move(module)) {}

std::optional<ModuleClient> ModuleClient::Create(const std::string& name, std::string& error) {
    std::string why;
    ComPtr<IPhonetic> module = CreatePhoneticModule(name, &why);
    if (!module) {
        error = why + " (voxamen register build/lib/allomod-*.so registers the modules)";
        return std::nullopt;
    }
    return ModuleClient(std::move(module));
}

std::optional<std::vector<std::string>> ModuleClient::LettersToPhonemes(
    const std::string& letters) const {
    std::optional<std::string> text =
        TakeString([&](char** out) { return module_->LettersToPhonemes(letters.c_str(), out); });
    if (!text) return std::nullopt;
    return SplitList(*text);
}

std::optional<std::vector<std::string>> ModuleClient::PhonemesToAllophones(
    const std::vector<std::string>& phrase) const {
    std::string joined = JoinList(phrase);
    std::optional<std::string> text =
        TakeString([&](char** out) { return module_->PhonemesToAllophones(joined.c_str(), out); });
    if (!text) return std::nullopt;
    return SplitList(*text);
}

std::optional<std::string> ModuleClient::AllophoneToPhoneme(const std::string& allophone) const {
    return TakeString(
        [&](char** out) { return module_->AllophoneToPhoneme(allophone.c_str(), out); });
}

std::optional<std::string> ModuleClient::Substitute(const std::string& allophone) const {
    return TakeString(
        [&](char** out) { return module_->GetSubstituteAllophone(allophone.c_str(), out); });
}

std::optional<std::string> ModuleClient::BasicAllophone(const std::string& allophone) const {
    return TakeString(
        [&](char** out) { return module_->GetBasicAllophone(allophone.c_str(), out); });
}

std::optional<std::vector<uint64_t>> ModuleClient::PhraseSoundDescriptions(
    const std::vector<std::string>& phrase) const {
    const std::string joined = JoinList(phrase);
    uint64_t* sds = nullptr;
    int32_t count = 0;
    const HRESULT hr = module_->GetSoundDescriptions(joined.c_str(), &sds, &count);
    CoTaskMemPtr<uint64_t> owned(sds);
    if (FAILED(hr) || sds == nullptr || count < 0) return std::nullopt;
    return std::vector<uint64_t>(sds, sds + count);
}

std::vector<std::string> ModuleClient::Inventory() const {
    std::optional<std::string> text =
        TakeString([&](char** out) { return module_->EnumPhonemes(out); });
    return text ? SplitList(*text) : std::vector<std::string>{};
}

uint64_t ModuleClient::SoundDescription(const std::string& phoneme) const {
    auto it = descriptions_.find(phoneme);
    if (it != descriptions_.end()) return it->second;
    uint64_t value = 0;
    if (FAILED(module_->GetSoundDescription(phoneme.c_str(), &value))) value = 0;
    descriptions_.emplace(phoneme, value);
    return value;
}

}  // namespace vox::voicebuild
