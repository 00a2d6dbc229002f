// voxamen analyse PHRASE [--module 419.0]: asks a registered phonetic module,
// created through the registry as the engine creates it, for the allophones,
// codes, visemes and sound descriptions of a phrase, one line per phoneme.
// Russian text (with "+" and "-" stress marks) is turned into the phrase by
// the module's letter rules first.
#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <ostream>

#include "interfaces/IPhonetic.h"
#include "platform/CodePage.h"
#include "platform/ComKit.h"
#include "platform/Hresult.h"
#include "platform/Text.h"
#include "tools/voxamen/Command.h"
#include "tools/voxamen/Options.h"
#include "tools/voxamen/PhoneticModules.h"
#include "tools/voxamen/Table.h"

namespace vox::cli {

namespace {

constexpr const char* kUsage =
    "usage: voxamen analyse PHRASE|TEXT [--module 419.0]\n"
    "  Analyses a phoneme phrase (e.g. \"#,K,A1,R,O0,V,A2,_,M,O0,L',I2,T,#\") with the\n"
    "  registered phonetic module and prints, per phoneme, its allophone, code,\n"
    "  viseme, sound description (SD) and the SD's text. Russian text (e.g.\n"
    "  \"мо+ре\", \"+\" after the stressed vowel) is first turned into a phrase.\n"
    "  --module KEY   the module's key under HKLM\\SOFTWARE\\Vostrelin\\Phonetic (default 419.0)\n";

// The SD's text on one line: its "\r\n"-ended lines joined by " | ".
std::string OneLine(std::string text) {
    std::string out;
    for (const std::string& line : SplitList(text, '\n')) {
        std::string_view part = Trim(line);
        if (part.empty()) continue;
        if (!out.empty()) out += " | ";
        out += part;
    }
    return out;
}

// The allophones in phrase order; an empty name keeps its place.
std::vector<std::string> AllophoneItems(const std::string& list) {
    std::vector<std::string> items;
    if (list.empty()) return items;
    size_t pos = 0;
    for (size_t comma; (comma = list.find(',', pos)) != std::string::npos; pos = comma + 1)
        items.push_back(list.substr(pos, comma - pos));
    items.push_back(list.substr(pos));
    return items;
}

std::string Hex(uint64_t value) {
    char buffer[24];
    std::snprintf(buffer, sizeof buffer, "0x%016" PRIX64, value);
    return buffer;
}

template <class T>
std::vector<T> TakeArray(T* block, int32_t count) {
    CoTaskMemPtr<T> owned(block);
    return owned ? std::vector<T>(block, block + std::max(count, 0)) : std::vector<T>();
}

int PrintAnalysis(IPhonetic& module, const std::string& key, const std::string& phrase,
                  const Invocation& inv) {
    const std::vector<std::string> names = SplitList(phrase);
    uint64_t* sdBlock = nullptr;
    int32_t count = 0;
    if (HRESULT hr = module.GetSoundDescriptions(phrase.c_str(), &sdBlock, &count); FAILED(hr)) {
        inv.err << "voxamen analyse: module " << key << " rejects the phrase: "
                << (hr == E_INVALIDARG ? PhraseRejection(module, phrase) : HresultText(hr)) << "\n";
        return kExitFailure;
    }
    const std::vector<uint64_t> sds = TakeArray(sdBlock, count);
    char* allophoneBlock = nullptr;
    module.PhonemesToAllophones(phrase.c_str(), &allophoneBlock);
    const std::vector<std::string> allophones = AllophoneItems(TakeString(allophoneBlock));
    if (allophones.size() != names.size())
        inv.err << "voxamen analyse: module " << key << " gave " << allophones.size()
                << " allophones for " << names.size()
                << " phonemes (is its rule file beside the library?)\n";
    else if (std::find(allophones.begin(), allophones.end(), "") != allophones.end())
        inv.err << "voxamen analyse: module " << key << " has no allophone for some phonemes\n";
    int32_t* codeBlock = nullptr;
    int32_t* visemeBlock = nullptr;
    int32_t codeCount = 0, visemeCount = 0;
    module.GetPhonemesCodes(phrase.c_str(), &codeBlock, &codeCount);
    module.GetVisemesCodes(phrase.c_str(), &visemeBlock, &visemeCount);
    const std::vector<int32_t> codes = TakeArray(codeBlock, codeCount);
    const std::vector<int32_t> visemes = TakeArray(visemeBlock, visemeCount);

    Table table({"#", "PHONEME", "ALLOPHONE", "CODE", "VISEME", "SD", "DESCRIPTION"});
    for (size_t i = 0; i < names.size() && i < sds.size(); ++i) {
        char* text = nullptr;
        module.SDtoString(sds[i], &text);
        const std::string allophone = i < allophones.size() ? allophones[i] : "-";
        table.Add({std::to_string(i + 1), names[i], allophone.empty() ? "(none)" : allophone,
                   i < codes.size() ? std::to_string(codes[i]) : "-",
                   i < visemes.size() ? std::to_string(visemes[i]) : "-", Hex(sds[i]),
                   OneLine(TakeString(text))});
    }
    table.Print(inv.out);
    return kExitOk;
}

}  // namespace

int RunAnalyse(const Invocation& inv) {
    Options opts({"module"});
    std::string error;
    if (!opts.Parse(inv.args, error)) {
        inv.err << "voxamen analyse: " << error << "\n";
        return kExitUsage;
    }
    if (opts.Help() || opts.Positional().size() != 1) {
        (opts.Help() ? inv.out : inv.err) << kUsage;
        return opts.Help() ? kExitOk : kExitUsage;
    }
    const std::string key = opts.Get("module").value_or("419.0");
    ComPtr<IPhonetic> module = CreatePhoneticModule(key, "analyse", inv.err);
    if (!module) return kExitFailure;
    std::string phrase = opts.Positional()[0];
    if (LooksLikeLetters(phrase)) {
        if (!CheckUtf8(phrase, "analyse", inv.err)) return kExitUsage;
        char* phonemes = nullptr;
        module->LettersToPhonemes(Utf8ToCp1251(phrase).c_str(), &phonemes);
        phrase = TakeString(phonemes);
        if (phrase.empty()) {
            inv.err << "voxamen analyse: the text gives no phrase (a \"+\" or \"-\" that does "
                       "not follow a vowel, two \"+\" in a word, or no letters)\n";
            return kExitFailure;
        }
        inv.out << "phonemes: " << phrase << "\n";
    }
    return PrintAnalysis(*module.Get(), key, phrase, inv);
}

}  // namespace vox::cli
