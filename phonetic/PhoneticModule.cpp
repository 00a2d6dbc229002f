#include "phonetic/PhoneticModule.h"

#include "phonetic/Phrase.h"
#include "phonetic/PhraseAnalysis.h"
#include "phonetic/SoundDescription.h"
#include "platform/Messages.h"
#include "platform/Text.h"

namespace vox {

namespace {

constexpr const char* kCaption = "Phonetic Module";

std::vector<std::string> ToStrings(const std::vector<std::string_view>& views) {
    return {views.begin(), views.end()};
}

// Both out-strings or neither: a half-filled pair would leak the first block.
HRESULT CoTaskMemStringPair(const std::string& first, char** firstOut, const std::string& second,
                            char** secondOut) {
    char* a = nullptr;
    if (HRESULT hr = CoTaskMemString(first, &a); FAILED(hr)) return hr;
    if (secondOut != nullptr) {
        if (HRESULT hr = CoTaskMemString(second, secondOut); FAILED(hr)) {
            CoTaskMemFree(a);
            return hr;
        }
    }
    *firstOut = a;
    return S_OK;
}

}  // namespace

PhoneticModule::PhoneticModule(ModuleTables tables) : inventory_(tables) {}

PhoneticModule::~PhoneticModule() = default;

uint64_t PhoneticModule::LookUpSd(std::string_view phoneme) const {
    uint64_t sd = inventory_.SoundDescription(phoneme);
    if (sd == 0 && debugVerbosity_ > 0)
        MessageBox(kCaption, "Unknown phoneme " + std::string(phoneme) + " in GetSD");
    return sd;
}

HRESULT PhoneticModule::LettersToPhonemes(const char* Letters, char** Phonemes) {
    if (Letters == nullptr || Phonemes == nullptr) return E_INVALIDARG;
    return Guarded([&] { return CoTaskMemString(DoLettersToPhonemes(Letters), Phonemes); });
}

HRESULT PhoneticModule::LettersToAllophones(const char* Letters, char** Allophones,
                                            char** Phonemes) {
    if (Letters == nullptr || Allophones == nullptr) return E_INVALIDARG;
    return Guarded([&] {
        const std::string phonemes = DoLettersToPhonemes(Letters);
        const std::string allophones = JoinList(DoPhonemesToAllophones(SplitList(phonemes)));
        return CoTaskMemStringPair(allophones, Allophones, phonemes, Phonemes);
    });
}

bool PhoneticModule::AcceptPhrase(const std::vector<std::string_view>& names,
                                  std::vector<uint64_t>& sds) const {
    const PhraseCheck check = ValidatePhrase(names, inventory_, sds);
    if (!check && check.fault == PhraseFault::UnknownPhoneme) LookUpSd(names[check.position]);
    return static_cast<bool>(check);
}

HRESULT PhoneticModule::PhonemesToAllophones(const char* Phonemes, char** Allophones) {
    if (Phonemes == nullptr || Allophones == nullptr) return E_INVALIDARG;
    return Guarded([&] {
        const std::vector<std::string_view> names = SplitItems(Phonemes);
        std::vector<uint64_t> sds;
        if (!AcceptPhrase(names, sds)) return E_INVALIDARG;
        return CoTaskMemString(JoinList(DoPhonemesToAllophones(ToStrings(names))), Allophones);
    });
}

HRESULT PhoneticModule::AllophonesToPhonemes(const char* Allophones, char** Phonemes) {
    if (Allophones == nullptr || Phonemes == nullptr) return E_INVALIDARG;
    return Guarded([&] {
        std::vector<std::string> items = SplitList(Allophones);
        if (items.size() < 3 || items.front() != "#" || items.back() != "#") return E_INVALIDARG;
        for (std::string& item : items) item = DoAllophoneToPhoneme(item);
        return CoTaskMemString(JoinList(items), Phonemes);
    });
}

HRESULT PhoneticModule::AllophoneToPhoneme(const char* Allophone, char** Phoneme) {
    if (Allophone == nullptr || Phoneme == nullptr) return E_INVALIDARG;
    return Guarded([&] { return CoTaskMemString(DoAllophoneToPhoneme(Allophone), Phoneme); });
}

HRESULT PhoneticModule::GetSoundDescription(const char* Phoneme, uint64_t* SD) {
    if (Phoneme == nullptr || SD == nullptr) return E_INVALIDARG;
    return Guarded([&] {
        *SD = LookUpSd(Phoneme);
        return S_OK;
    });
}

HRESULT PhoneticModule::GetSoundDescriptions(const char* Phonemes, uint64_t** SDs, int32_t* Num) {
    if (Phonemes == nullptr || SDs == nullptr || Num == nullptr) return E_INVALIDARG;
    return Guarded([&] {
        const std::vector<std::string_view> names = SplitItems(Phonemes);
        std::vector<uint64_t> sds;
        if (!AcceptPhrase(names, sds)) return E_INVALIDARG;
        AddPositionalBits(names, inventory_, sds);
        *Num = static_cast<int32_t>(sds.size());
        return CoTaskMemArray(sds.data(), sds.size(), SDs);
    });
}

HRESULT PhoneticModule::SDtoString(uint64_t SD, char** Text) {
    if (Text == nullptr) return E_INVALIDARG;
    return Guarded([&] { return CoTaskMemString(SdToString(SD), Text); });
}

HRESULT PhoneticModule::GetPhonemeCode(const char* Phoneme, int32_t* Code) {
    if (Phoneme == nullptr || Code == nullptr) return E_INVALIDARG;
    *Code = inventory_.Code(Phoneme);
    return S_OK;
}

HRESULT PhoneticModule::CodesOf(const char* phonemes, int32_t** codes, int32_t* num,
                                int32_t (PhonemeInventory::*lookup)(std::string_view) const) const {
    if (phonemes == nullptr || codes == nullptr || num == nullptr) return E_INVALIDARG;
    return Guarded([&] {
        const std::vector<std::string_view> names = SplitItems(phonemes);
        *num = static_cast<int32_t>(names.size());
        // An empty list has always been answered as a failed allocation.
        if (names.empty()) return E_OUTOFMEMORY;
        std::vector<int32_t> values(names.size());
        for (size_t i = 0; i < names.size(); ++i) values[i] = (inventory_.*lookup)(names[i]);
        return CoTaskMemArray(values.data(), values.size(), codes);
    });
}

HRESULT PhoneticModule::GetPhonemesCodes(const char* Phonemes, int32_t** Codes, int32_t* Num) {
    return CodesOf(Phonemes, Codes, Num, &PhonemeInventory::Code);
}

HRESULT PhoneticModule::GetPhonemeByCode(int32_t Code, char** Phoneme) {
    if (Phoneme == nullptr) return E_INVALIDARG;
    return Guarded(
        [&] { return CoTaskMemString(std::string(inventory_.NameOfCode(Code)), Phoneme); });
}

HRESULT PhoneticModule::GetVisemeCode(const char* Phoneme, int32_t* Code) {
    if (Phoneme == nullptr || Code == nullptr) return E_INVALIDARG;
    *Code = inventory_.Viseme(Phoneme);
    return S_OK;
}

HRESULT PhoneticModule::GetVisemesCodes(const char* Phonemes, int32_t** Codes, int32_t* Num) {
    return CodesOf(Phonemes, Codes, Num, &PhonemeInventory::Viseme);
}

HRESULT PhoneticModule::EnumPhonemes(char** Phonemes) {
    if (Phonemes == nullptr) return E_INVALIDARG;
    return Guarded([&] {
        std::string names;
        for (const PhonemeEntry& e : inventory_.Entries()) {
            if (!names.empty()) names += ',';
            names += e.name;
        }
        return CoTaskMemString(names, Phonemes);
    });
}

HRESULT PhoneticModule::GetBasicAllophone(const char* Allophone, char** Basic) {
    if (Allophone == nullptr || Basic == nullptr) return E_INVALIDARG;
    return Guarded([&] { return CoTaskMemString(DoGetBasicAllophone(Allophone), Basic); });
}

HRESULT PhoneticModule::GetSubstituteAllophone(const char* Allophone, char** Substitute) {
    if (Allophone == nullptr || Substitute == nullptr) return E_INVALIDARG;
    return Guarded(
        [&] { return CoTaskMemString(DoGetSubstituteAllophone(Allophone), Substitute); });
}

HRESULT PhoneticModule::SetDebugVerbosity(int32_t Level) {
    debugVerbosity_ = Level;
    return S_OK;
}

HRESULT PhoneticModule::SetAllophones(const char* Allophones) {
    if (Allophones == nullptr) return E_INVALIDARG;
    return Guarded([&] {
        allophones_ = SplitList(Allophones);
        OnAllophonesChanged();
        return S_OK;
    });
}

HRESULT PhoneticModule::SetGroups(const char* Groups) {
    if (Groups == nullptr) return E_INVALIDARG;
    return Guarded([&] {
        groups_ = ParseGroups(Groups);
        return S_OK;
    });
}

GroupTable ParseGroups(std::string_view text) {
    GroupTable groups;
    for (const std::string& item : SplitList(text, ';')) {
        const size_t colon = item.find(':');
        if (colon == std::string::npos) continue;
        std::set<std::string>& members = groups[item.substr(0, colon)];
        for (std::string& member : SplitList(std::string_view(item).substr(colon + 1)))
            members.insert(std::move(member));
    }
    return groups;
}

}  // namespace vox
