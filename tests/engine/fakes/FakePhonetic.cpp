#include "tests/engine/fakes/FakePhonetic.h"

#include <cstring>
#include <vector>

namespace vox::test {

namespace {

std::vector<std::string> Split(const char* list) {
    std::vector<std::string> items;
    std::string item;
    for (const char* p = list;; ++p) {
        if (*p == ',' || *p == '\0') {
            if (!item.empty()) items.push_back(item);
            item.clear();
            if (*p == '\0') return items;
        } else {
            item += *p;
        }
    }
}

template <class T, class Field>
HRESULT Array(const std::map<std::string, FakePhoneme>& table, const char* phonemes, Field field,
              T** out, int32_t* num) {
    std::vector<T> values;
    for (const std::string& p : Split(phonemes)) {
        auto it = table.find(p);
        if (it == table.end()) return E_INVALIDARG;
        values.push_back(static_cast<T>(it->second.*field));
    }
    *num = static_cast<int32_t>(values.size());
    return CoTaskMemArray(values.data(), values.size(), out);
}

}  // namespace

HRESULT FakePhonetic::Failure(const char* method) const {
    auto it = failing.find(method);
    return it == failing.end() ? S_OK : it->second;
}

HRESULT FakePhonetic::PhonemesToAllophones(const char* list, char** allophones) {
    if (HRESULT hr = Failure("PhonemesToAllophones"); FAILED(hr)) return hr;
    if (allophoneList) return CoTaskMemString(*allophoneList, allophones);
    std::string joined;
    for (const std::string& p : Split(list)) {
        auto it = phonemes.find(p);
        if (it == phonemes.end()) return E_INVALIDARG;
        joined += (joined.empty() ? "" : ",") + it->second.allophone;
    }
    return CoTaskMemString(joined, allophones);
}

HRESULT FakePhonetic::GetSoundDescriptions(const char* list, uint64_t** sds, int32_t* num) {
    if (HRESULT hr = Failure("GetSoundDescriptions"); FAILED(hr)) return hr;
    return Array(phonemes, list, &FakePhoneme::sd, sds, num);
}

HRESULT FakePhonetic::GetPhonemesCodes(const char* list, int32_t** codes, int32_t* num) {
    if (HRESULT hr = Failure("GetPhonemesCodes"); FAILED(hr)) return hr;
    return Array(phonemes, list, &FakePhoneme::code, codes, num);
}

HRESULT FakePhonetic::GetVisemesCodes(const char* list, int32_t** codes, int32_t* num) {
    if (HRESULT hr = Failure("GetVisemesCodes"); FAILED(hr)) return hr;
    return Array(phonemes, list, &FakePhoneme::viseme, codes, num);
}

HRESULT FakePhonetic::GetBasicAllophone(const char* allophone, char** basic) {
    if (HRESULT hr = Failure("GetBasicAllophone"); FAILED(hr)) return hr;
    return CoTaskMemString(allophone, basic);
}

HRESULT FakePhonetic::GetSubstituteAllophone(const char* allophone, char** substitute) {
    if (HRESULT hr = Failure("GetSubstituteAllophone"); FAILED(hr)) return hr;
    auto it = substitutes.find(allophone);
    return CoTaskMemString(it != substitutes.end() ? it->second : std::string(allophone),
                           substitute);
}

HRESULT FakePhonetic::SetDebugVerbosity(int32_t level) {
    debugVerbosity = level;
    return Failure("SetDebugVerbosity");
}

void AddTestInventory(FakePhonetic& module) {
    constexpr uint64_t kAny = 1ull << 1, kVowel = 1ull << 2, kConsonant = 1ull << 9,
                       kVoiced = 1ull << 10, kVoiceless = 1ull << 11, kPlosive = 1ull << 14,
                       kSonant = 1ull << 15, kIntonable = 1ull << 60;
    struct Entry {
        const char* name;
        uint64_t sd;
    };
    const Entry entries[] = {
        {"#", (1ull << 0) | (1ull << 57)},
        {"_", (1ull << 0) | (1ull << 56)},
        {"A0", kAny | kVowel | kIntonable},
        {"O1", kAny | kVowel | kIntonable},
        {"U2", kAny | kVowel | kIntonable},
        {"I0", kAny | kVowel | kIntonable},
        {"M", kAny | kConsonant | kVoiced | kSonant | kIntonable},
        {"N", kAny | kConsonant | kVoiced | kSonant | kIntonable},
        {"L", kAny | kConsonant | kVoiced | kSonant | kIntonable},
        {"B", kAny | kConsonant | kVoiced | kPlosive},
        {"S", kAny | kConsonant | kVoiceless},
        {"T", kAny | kConsonant | kVoiceless | kPlosive},
        {"K", kAny | kConsonant | kVoiceless | kPlosive},
    };
    int32_t code = 0;
    for (const Entry& e : entries) {
        module.phonemes[e.name] = {e.sd, code, code % 22, e.name};
        ++code;
    }
}

}  // namespace vox::test
