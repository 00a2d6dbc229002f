// voxamen transcribe TEXT [--module 419.N]: Russian text (UTF-8, "+" after
// the stressed vowel, "-" after a vowel with secondary stress) to the phoneme
// string by the letter rules; with --module, by that registered module (its
// letter rules) together with the allophones it gives.
#include <ostream>

#include "phonetic/LetterToPhoneme.h"
#include "platform/CodePage.h"
#include "tools/voxamen/Command.h"
#include "tools/voxamen/Options.h"
#include "tools/voxamen/PhoneticModules.h"

namespace vox::cli {

namespace {

constexpr const char* kUsage =
    "usage: voxamen transcribe TEXT [--module 419.N]\n"
    "  Turns Russian text into phonemes by the letter rules and prints the phoneme\n"
    "  string, e.g. \"мо+ре\" gives \"#,M,O0,R',E2,#\". Mark the stressed vowel with\n"
    "  \"+\" after it and a secondary stress with \"-\"; a word without \"+\" is read\n"
    "  as unstressed.\n"
    "  --module KEY   convert with the module registered under\n"
    "                 HKLM\\SOFTWARE\\Vostrelin\\Phonetic\\KEY and print its\n"
    "                 allophones on a second line\n";

constexpr const char* kNoPhrase =
    "voxamen transcribe: the text gives no phrase (a \"+\" or \"-\" that does not follow a "
    "vowel, two \"+\" in a word, or no letters)\n";

// Module 419.0's letter rules, used when no module is named.
constexpr LetterToPhonemeOptions kDefaultRules{.zhClusterRule = false, .reduceUnstressedJo = true};

int TranscribeWithModule(const std::string& key, const std::string& letters,
                         const Invocation& inv) {
    ComPtr<IPhonetic> module = CreatePhoneticModule(key, "transcribe", inv.err);
    if (!module) return kExitFailure;
    char* allophoneBlock = nullptr;
    char* phonemeBlock = nullptr;
    module->LettersToAllophones(letters.c_str(), &allophoneBlock, &phonemeBlock);
    const std::string allophones = TakeString(allophoneBlock);
    const std::string phonemes = TakeString(phonemeBlock);
    if (phonemes.empty()) {
        inv.err << kNoPhrase;
        return kExitFailure;
    }
    inv.out << Cp1251ToUtf8(phonemes) << "\n" << Cp1251ToUtf8(allophones) << "\n";
    return kExitOk;
}

}  // namespace

int RunTranscribe(const Invocation& inv) {
    Options opts({"module"});
    std::string error;
    if (!opts.Parse(inv.args, error)) {
        inv.err << "voxamen transcribe: " << error << "\n";
        return kExitUsage;
    }
    if (opts.Help() || opts.Positional().size() != 1) {
        (opts.Help() ? inv.out : inv.err) << kUsage;
        return opts.Help() ? kExitOk : kExitUsage;
    }
    if (!CheckUtf8(opts.Positional()[0], "transcribe", inv.err)) return kExitUsage;
    const std::string letters = Utf8ToCp1251(opts.Positional()[0]);
    if (std::optional<std::string> key = opts.Get("module"))
        return TranscribeWithModule(*key, letters, inv);
    const std::string phonemes = LettersToPhonemes(letters, kDefaultRules);
    if (phonemes.empty()) {
        inv.err << kNoPhrase;
        return kExitFailure;
    }
    inv.out << Cp1251ToUtf8(phonemes) << "\n";
    return kExitOk;
}

}  // namespace vox::cli
