#include "tests/voices/FakeModule.h"

#include "phonetic/LetterToPhoneme.h"
#include "platform/Text.h"

namespace vox::test {

namespace {

constexpr uint64_t Bit(int n) {
    return uint64_t(1) << n;
}

constexpr uint64_t kNone = Bit(0), kVowel = Bit(2) | Bit(1), kStressed = Bit(3),
                   kConsonant = Bit(9) | Bit(1);
constexpr uint64_t kVoiced = Bit(10), kVoiceless = Bit(11), kFricative = Bit(13),
                   kPlosive = Bit(14) | Bit(12);
constexpr uint64_t kSonant = Bit(15) | Bit(12), kIntonable = Bit(60);

bool IsVowel(const std::string& p) {
    return !p.empty() && std::string("AEIOUY").find(p[0]) != std::string::npos;
}

std::string Stripped(const std::string& p) {
    return IsVowel(p) ? p.substr(0, 1) : p;
}

std::string Before(const std::string& name, char c) {
    return name.substr(0, name.find(c));
}

}  // namespace

FakeModule::FakeModule() {
    table = {{"#", kNone | Bit(57)},
             {"_", kNone | Bit(56)},
             {"A0", kVowel | kStressed | kIntonable},
             {"A1", kVowel | Bit(4) | kIntonable},
             {"A2", kVowel | Bit(4) | kIntonable},
             {"O0", kVowel | kStressed | kIntonable},
             {"U0", kVowel | kStressed | kIntonable},
             {"M", kConsonant | kVoiced | kSonant | kIntonable},
             {"N", kConsonant | kVoiced | kSonant | kIntonable},
             {"L", kConsonant | kVoiced | kSonant | kIntonable},
             {"S", kConsonant | kVoiceless | kFricative},
             {"T", kConsonant | kVoiceless | kPlosive}};
}

HRESULT FakeModule::LettersToPhonemes(const char* letters, char** phonemes) {
    ++lettersCalls;
    return CoTaskMemString(vox::LettersToPhonemes(letters, {.zhClusterRule = true}), phonemes);
}

HRESULT FakeModule::PhonemesToAllophones(const char* list, char** allophones) {
    std::vector<std::string> p = SplitList(list);
    if (p.size() < 3 || p.front() != "#" || p.back() != "#") return E_INVALIDARG;
    std::vector<std::string> names;
    for (size_t i = 0; i < p.size(); ++i) {
        if (table.count(p[i]) == 0) return E_INVALIDARG;
        if (p[i] == "#" || p[i] == "_")
            names.push_back(p[i]);
        else if (IsVowel(p[i]))
            names.push_back(p[i] + "-" +
                            (p[i - 1] == "#" || p[i - 1] == "_" ? "#" : Stripped(p[i - 1])));
        else if (IsVowel(p[i + 1]))
            names.push_back(p[i] + "-" + p[i + 1]);
        else
            names.push_back(p[i]);
    }
    return CoTaskMemString(JoinList(names), allophones);
}

HRESULT FakeModule::AllophoneToPhoneme(const char* allophone, char** phoneme) {
    return CoTaskMemString(Before(allophone, '-'), phoneme);
}

HRESULT FakeModule::GetSoundDescription(const char* phoneme, uint64_t* sd) {
    auto it = table.find(phoneme);
    *sd = it == table.end() ? 0 : it->second;
    return S_OK;
}

HRESULT FakeModule::EnumPhonemes(char** phonemes) {
    std::vector<std::string> names;
    for (const auto& [name, sd] : table) names.push_back(name);
    return CoTaskMemString(JoinList(names), phonemes);
}

HRESULT FakeModule::GetSubstituteAllophone(const char* allophone, char** substitute) {
    std::string phoneme = Before(allophone, '-');
    return CoTaskMemString(IsVowel(phoneme) ? phoneme + "-#" : phoneme, substitute);
}

ComPtr<IPhonetic> MakeFakeModule() {
    return ComPtr<IPhonetic>::Attach(new FakeModule());
}

}  // namespace vox::test
