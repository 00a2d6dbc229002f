// Module 419.3: configuration files, allophone lists (unit inventories) and
// the cover of phrases with them. Nothing crashes, and every valid phrase
// gets exactly one allophone per phoneme, each naming its phoneme back.
// A first byte 0x01 turns the rest into a unit list built from phoneme
// names, groups, "-" and positions; otherwise the input is used as the
// configuration file's text and as the allophone list itself.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "phonetic/module-419-1/Tables4191.h"
#include "phonetic/module-419-3/Allomod4193.h"
#include "phonetic/module-419-3/GroupsFile.h"
#include "platform/Messages.h"
#include "platform/Text.h"

namespace {

void Quiet(const std::string&, const std::string&, vox::MessageIcon) {}

const char* const kPhrases[] = {
    "#,T,A0,#",
    "#,K,A5,T,_,B,A0,#",
    "#,I1,_,A0,M,O1,#",
    "#,S,T,R,A0,N',I0,C,A2,_,_,#",
    "#,M,A0,S,A2,_,L,U0,#",
};

vox::Allomod_419_3& Module() {
    static vox::Allomod_419_3* module = [] {
        vox::SetMessageSink(&Quiet);
        auto* m =
            new vox::Allomod_419_3(VOXAMEN_SOURCE_DIR "/phonetic/module-419-3/allomod-419-3.cfg");
        return m;  // lives until the process ends
    }();
    return *module;
}

std::string UnitList(const uint8_t* data, size_t size) {
    const auto& inventory = vox::m4191::kInventory;
    const char* tokens[] = {"(Lab)", "(Vowel)", "(Pause)", "(", ")", "-",
                            ".1",    ".2",      ".3",      ",", "."};
    std::string list;
    for (size_t i = 0; i < size; ++i) {
        const uint8_t b = data[i];
        if (b < 2 * inventory.size())
            list += inventory[b % inventory.size()].name;
        else
            list += tokens[b % std::size(tokens)];
    }
    return list;
}

void Cover(vox::Allomod_419_3& m, const char* phrase) {
    char* out = nullptr;
    if (FAILED(m.PhonemesToAllophones(phrase, &out))) return;
    const std::vector<std::string> phonemes = vox::SplitList(phrase);
    const std::vector<std::string> allophones = vox::SplitList(out);
    CoTaskMemFree(out);
    if (allophones.size() != phonemes.size()) std::abort();
    for (size_t i = 0; i < phonemes.size(); ++i) {
        char* phoneme = nullptr;
        m.AllophoneToPhoneme(allophones[i].c_str(), &phoneme);
        const bool same = phonemes[i] == phoneme;
        CoTaskMemFree(phoneme);
        if (!same) std::abort();
        for (auto op : {&IPhonetic::GetBasicAllophone, &IPhonetic::GetSubstituteAllophone}) {
            char* name = nullptr;
            if (SUCCEEDED((m.*op)(allophones[i].c_str(), &name))) CoTaskMemFree(name);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const bool structured = size > 0 && data[0] == 0x01;
    const std::string text = structured ? UnitList(data + 1, size - 1)
                                        : std::string(reinterpret_cast<const char*>(data), size);
    vox::Allomod_419_3& m = Module();
    if (!structured) {
        vox::GroupTable groups;
        vox::ParseGroupsFile(text, groups);
        m.SetGroups(text.c_str());
    }
    m.SetAllophones(text.c_str());
    for (const char* phrase : kPhrases) Cover(m, phrase);
    Cover(m, text.c_str());
    m.SetGroups("Lab:P,B,M,P',B',M';Vowel:A0,A1,A2,O0,O1,O2,I1,E2;Pause:#,_");
    return 0;
}
