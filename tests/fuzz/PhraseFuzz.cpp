// Phoneme lists, allophone lists, groups and letters on every interface
// operation of the four modules: nothing crashes, and a phrase that is
// accepted gets one description and one allophone per phoneme, and letters
// give a phrase the module accepts or "".
// A first byte 0x01 turns the rest into phonemes picked from the inventory
// (with "#", "_", empty and unknown items mixed in); otherwise the input is
// the text itself.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "phonetic/module-419-0/Allomod4190.h"
#include "phonetic/module-419-0/Tables4190.h"
#include "phonetic/module-419-1/Allomod4191.h"
#include "phonetic/module-419-2/Allomod4192.h"
#include "phonetic/module-419-3/Allomod4193.h"
#include "platform/Messages.h"
#include "platform/Text.h"

namespace {

const std::string kRuleFile = VOXAMEN_SOURCE_DIR "/phonetic/module-419-0/allomod-419-0.cfg";
const std::string kConfigFile = VOXAMEN_SOURCE_DIR "/phonetic/module-419-3/allomod-419-3.cfg";

void Quiet(const std::string&, const std::string&, vox::MessageIcon) {}

// Created once; released at exit.
std::vector<vox::ComPtr<IPhonetic>>& Modules() {
    static std::vector<vox::ComPtr<IPhonetic>> modules = [] {
        vox::SetMessageSink(&Quiet);
        std::vector<vox::ComPtr<IPhonetic>> m;
        for (IPhonetic* module : {static_cast<IPhonetic*>(new vox::Allomod_419_0(kRuleFile)),
                                  static_cast<IPhonetic*>(new vox::Allomod_419_1()),
                                  static_cast<IPhonetic*>(new vox::Allomod_419_2()),
                                  static_cast<IPhonetic*>(new vox::Allomod_419_3(kConfigFile))})
            m.push_back(vox::ComPtr<IPhonetic>::Attach(module));
        m[1]->SetDebugVerbosity(2);  // the diagnostics paths too
        return m;
    }();
    return modules;
}

std::string Pick(const uint8_t* data, size_t size) {
    const auto& inventory = vox::m4190::kInventory;
    const char* extra[] = {"", "Q", "A9", "#", "_", "O1", "AE0"};
    std::string list;
    for (size_t i = 0; i < size; ++i) {
        if (i > 0) list += ',';
        const uint8_t b = data[i];
        list += b < 2 * inventory.size() ? std::string(inventory[b % inventory.size()].name)
                                         : std::string(extra[b % std::size(extra)]);
    }
    return list;
}

// Runs an operation with one out-string and takes the result.
template <class Op>
std::string Call(Op op) {
    char* out = nullptr;
    if (FAILED(op(&out))) return {};
    std::string text = out;
    CoTaskMemFree(out);
    return text;
}

void Exercise(IPhonetic& m, const std::string& text) {
    char* out = nullptr;
    uint64_t* sds = nullptr;
    int32_t* codes = nullptr;
    int32_t num = 0;
    const size_t count = vox::SplitList(text).size();
    if (SUCCEEDED(m.GetSoundDescriptions(text.c_str(), &sds, &num))) {
        if (static_cast<size_t>(num) != count) std::abort();
        CoTaskMemFree(sds);
    }
    if (SUCCEEDED(m.PhonemesToAllophones(text.c_str(), &out))) {
        if (vox::SplitList(out).size() != count) std::abort();
        CoTaskMemFree(out);
    }
    for (auto op : {&IPhonetic::GetPhonemesCodes, &IPhonetic::GetVisemesCodes})
        if (SUCCEEDED((m.*op)(text.c_str(), &codes, &num))) CoTaskMemFree(codes);
    for (auto op : {&IPhonetic::AllophonesToPhonemes, &IPhonetic::AllophoneToPhoneme,
                    &IPhonetic::GetBasicAllophone, &IPhonetic::GetSubstituteAllophone,
                    &IPhonetic::LettersToPhonemes})
        Call([&](char** result) { return (m.*op)(text.c_str(), result); });
    const std::string phrase =
        Call([&](char** result) { return m.LettersToPhonemes(text.c_str(), result); });
    if (!phrase.empty()) {
        if (FAILED(m.PhonemesToAllophones(phrase.c_str(), &out))) std::abort();
        CoTaskMemFree(out);
    }
    char* phonemes = nullptr;
    if (SUCCEEDED(m.LettersToAllophones(text.c_str(), &out, &phonemes))) {
        CoTaskMemFree(out);
        CoTaskMemFree(phonemes);
    }
    m.SetGroups(text.c_str());
    m.SetAllophones(text.c_str());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const bool structured = size > 0 && data[0] == 0x01;
    // The interface takes zero-terminated text: it ends at the first zero byte.
    const std::string text = structured
                                 ? Pick(data + 1, size - 1)
                                 : std::string(reinterpret_cast<const char*>(data),
                                               strnlen(reinterpret_cast<const char*>(data), size));
    for (const vox::ComPtr<IPhonetic>& module : Modules()) Exercise(*module.Get(), text);
    uint64_t sd = 0;
    for (size_t i = 0; i < size && i < 8; ++i) sd |= uint64_t{data[i]} << (8 * i);
    Call([&](char** result) { return Modules()[0]->SDtoString(sd, result); });
    return 0;
}
