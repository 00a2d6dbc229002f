#include "engine/synthesis/PhoneticCalls.h"

#include "platform/ComKit.h"

namespace vox {

namespace {

void Check(HRESULT hr, const char* call) {
    if (FAILED(hr)) throw ComError(hr, call);
}

template <class T>
std::vector<T> TakeArray(T* array, int32_t count) {
    CoTaskMemPtr<T> owned(array);
    if (array == nullptr || count <= 0) return {};
    return std::vector<T>(array, array + count);
}

std::string TakeString(char* text) {
    CoTaskMemPtr<char> owned(text);
    return text != nullptr ? std::string(text) : std::string();
}

using CodesCall = HRESULT (IPhonetic::*)(const char*, int32_t**, int32_t*);

std::vector<int32_t> Codes(IPhonetic& module, CodesCall call, const char* phonemes,
                           const char* name) {
    int32_t* codes = nullptr;
    int32_t count = 0;
    const HRESULT hr = (module.*call)(phonemes, &codes, &count);
    std::vector<int32_t> result = TakeArray(codes, count);
    Check(hr, name);
    return result;
}

using NameCall = HRESULT (IPhonetic::*)(const char*, char**);

std::string Name(IPhonetic& module, NameCall call, const std::string& in, const char* name) {
    char* out = nullptr;
    const HRESULT hr = (module.*call)(in.c_str(), &out);
    std::string result = TakeString(out);
    Check(hr, name);
    return result;
}

}  // namespace

std::vector<uint64_t> SoundDescriptions(IPhonetic& module, const char* phonemes) {
    uint64_t* sds = nullptr;
    int32_t count = 0;
    (void)module.GetSoundDescriptions(phonemes, &sds, &count);
    return TakeArray(sds, count);
}

std::vector<int32_t> PhonemesCodes(IPhonetic& module, const char* phonemes) {
    return Codes(module, &IPhonetic::GetPhonemesCodes, phonemes, "GetPhonemesCodes");
}

std::vector<int32_t> VisemesCodes(IPhonetic& module, const char* phonemes) {
    return Codes(module, &IPhonetic::GetVisemesCodes, phonemes, "GetVisemesCodes");
}

std::string PhonemesToAllophones(IPhonetic& module, const char* phonemes) {
    return Name(module, &IPhonetic::PhonemesToAllophones, phonemes, "PhonemesToAllophones");
}

std::string SubstituteAllophone(IPhonetic& module, const std::string& allophone) {
    return Name(module, &IPhonetic::GetSubstituteAllophone, allophone, "GetSubstituteAllophone");
}

std::string BasicAllophone(IPhonetic& module, const std::string& allophone) {
    return Name(module, &IPhonetic::GetBasicAllophone, allophone, "GetBasicAllophone");
}

std::vector<std::string> SplitListKeepingEmpty(const std::string& list) {
    std::vector<std::string> items;
    size_t start = 0;
    for (;;) {
        const size_t comma = list.find(',', start);
        items.push_back(list.substr(start, comma - start));
        if (comma == std::string::npos) return items;
        start = comma + 1;
    }
}

}  // namespace vox
