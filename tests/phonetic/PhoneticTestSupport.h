// Helpers of the phonetic module tests: owning CoTaskMem results and
// creating module objects in-process.
#pragma once

#include <string>
#include <vector>

#include "interfaces/IPhonetic.h"
#include "platform/ComKit.h"

namespace vox::test {

inline const std::string kShippedRuleFile =
    VOXAMEN_SOURCE_DIR "/phonetic/module-419-0/allomod-419-0.cfg";

// Takes ownership of a returned string ("" for null).
inline std::string Take(char* block) {
    CoTaskMemPtr<char> owned(block);
    return owned ? std::string(owned.get()) : std::string();
}

// Takes a module object created with new (its first reference).
template <class Module>
ComPtr<IPhonetic> Adopt(Module* module) {
    return ComPtr<IPhonetic>::Attach(static_cast<IPhonetic*>(module));
}

// PhonemesToAllophones as text, or "E_INVALIDARG"-like failure marker.
inline std::string Allophones(IPhonetic& module, const std::string& phrase) {
    char* out = nullptr;
    HRESULT hr = module.PhonemesToAllophones(phrase.c_str(), &out);
    return SUCCEEDED(hr) ? Take(out) : "failed " + std::to_string(hr);
}

inline std::vector<uint64_t> Descriptions(IPhonetic& module, const std::string& phrase) {
    uint64_t* sds = nullptr;
    int32_t num = -1;
    if (FAILED(module.GetSoundDescriptions(phrase.c_str(), &sds, &num))) return {};
    CoTaskMemPtr<uint64_t> owned(sds);
    return {sds, sds + num};
}

}  // namespace vox::test
