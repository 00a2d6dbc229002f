// voxamen lexicon analyse [--no-stress] [--transcription] [--sublang N] TEXT:
// the lexical component's analysis of Russian text (UTF-8, from the
// arguments or standard input), one line per syntagma: its type, a tab,
// its words in lower case with "+" after the stressed vowel, and with
// --transcription a tab and each word's phonemes.
#include <iostream>
#include <iterator>
#include <ostream>

#include "engine/PhoneticModuleLoader.h"
#include "lexicon/Glossor.h"
#include "lexicon/TextAnalysis.h"
#include "lexicon/Transcriber.h"
#include "platform/CodePage.h"
#include "tools/voxamen/Command.h"
#include "tools/voxamen/Options.h"

namespace vox::cli {

namespace {

constexpr const char* kUsage =
    "usage: voxamen lexicon analyse [--no-stress] [--transcription] [--sublang N] [TEXT...]\n"
    "  Splits Russian text into sentences and syntagmas and prints one line per\n"
    "  syntagma: its type, a tab and its words, lower case, \"+\" after the\n"
    "  stressed vowel; clitics are joined to their word and carry no \"+\".\n"
    "  Without TEXT the text is read from standard input.\n"
    "  --no-stress      leave out the \"+\" marks\n"
    "  --transcription  add a tab and each word's phonemes, as the phonetic\n"
    "                   module registered under 419.N gives them\n"
    "  --sublang N      the module variant (default 1); the built-in letter\n"
    "                   rules are used when it is not registered\n";

}  // namespace

int RunLexiconAnalyse(const Invocation& inv, const std::vector<std::string>& args) {
    Options opts({"sublang"}, {"no-stress", "transcription"});
    std::string error;
    if (!opts.Parse(args, error)) {
        inv.err << "voxamen lexicon analyse: " << error << "\n" << kUsage;
        return kExitUsage;
    }
    if (opts.Help()) {
        inv.out << kUsage;
        return kExitOk;
    }
    std::string text;
    if (opts.Positional().empty()) {
        text.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
    } else {
        for (const std::string& p : opts.Positional()) {
            if (!text.empty()) text += ' ';
            text += p;
        }
    }
    const std::string sublang = opts.Get("sublang").value_or("1");
    if (sublang.empty() || sublang.find_first_not_of("0123456789") != std::string::npos) {
        inv.err << "voxamen lexicon analyse: the sublanguage must be decimal digits, e.g. 1\n";
        return kExitUsage;
    }

    lexicon::StressLexicon stress;
    stress.OpenDictionary(lexicon::DefaultDictionaryPath(), &error);  // reports a failure itself
    if (const std::string vocabulary = lexicon::UserVocabularyPathFromRegistry();
        !vocabulary.empty() && !stress.LoadUserVocabulary(vocabulary, &error))
        inv.err << "voxamen lexicon analyse: the user vocabulary: " << error << "\n";

    std::unique_ptr<lexicon::Transcriber> transcriber;
    const bool transcription = opts.Has("transcription");
    if (transcription)
        transcriber = std::make_unique<lexicon::Transcriber>(
            CreatePhoneticModule(PhoneticModuleName("419", sublang)));

    lexicon::TextAnalysis analysis;
    analysis.SetText(Utf8ToCp1251(text), nullptr, 0);
    for (int32_t s = 0; s < analysis.SentenceCount(); ++s) {
        for (const lexicon::AnalysedSyntagma& syntagma :
             analysis.Words(s, stress, transcriber.get(), !opts.Has("no-stress"))) {
            std::string words, phonemes;
            for (const lexicon::AnalysedWord& w : syntagma.words) {
                if (!words.empty()) words += ' ';
                words += w.shown;
                if (!phonemes.empty()) phonemes += ' ';
                phonemes += w.transcription;
            }
            inv.out << syntagma.type << '\t' << Cp1251ToUtf8(words);
            if (transcription) inv.out << '\t' << Cp1251ToUtf8(phonemes);
            inv.out << '\n';
        }
    }
    return kExitOk;
}

}  // namespace vox::cli
