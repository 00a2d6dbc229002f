// voxamen lexicon lookup [--dictionary FILE] [--vocabulary FILE] WORD…
#include <ostream>

#include "lexicon/stress/StressLexicon.h"
#include "platform/CodePage.h"
#include "tools/voxamen/Command.h"
#include "tools/voxamen/Options.h"

namespace vox::cli {

namespace {

constexpr const char* kUsage =
    "usage: voxamen lexicon lookup [--dictionary FILE] [--vocabulary FILE] WORD...\n"
    "  Prints each word with \"+\" after its stressed vowel and where the stress\n"
    "  comes from: user (the user's stress vocabulary), dictionary or model.\n"
    "  --dictionary FILE  compiled dictionary (default: 'voxamen lexicon build' output)\n"
    "  --vocabulary FILE  user vocabulary (default: the registry's \"AccentorBase\")\n";

const char* SourceName(lexicon::StressLexicon::Source s) {
    switch (s) {
        case lexicon::StressLexicon::Source::User:
            return "user";
        case lexicon::StressLexicon::Source::Dictionary:
            return "dictionary";
        case lexicon::StressLexicon::Source::Model:
            return "model";
        case lexicon::StressLexicon::Source::None:
            break;
    }
    return "none";
}

}  // namespace

int RunLexiconLookup(const Invocation& inv, const std::vector<std::string>& args) {
    Options opts({"dictionary", "vocabulary"});
    std::string error;
    if (!opts.Parse(args, error)) {
        inv.err << "voxamen lexicon lookup: " << error << "\n" << kUsage;
        return kExitUsage;
    }
    if (opts.Help()) {
        inv.out << kUsage;
        return kExitOk;
    }
    if (opts.Positional().empty()) {
        inv.err << "voxamen lexicon lookup: no words given\n" << kUsage;
        return kExitUsage;
    }
    lexicon::StressLexicon stress;
    stress.OpenDictionary(opts.Get("dictionary").value_or(lexicon::DefaultDictionaryPath()),
                          nullptr);  // a failure is reported once by the lexicon
    const std::string vocabulary =
        opts.Get("vocabulary").value_or(lexicon::UserVocabularyPathFromRegistry());
    if (!vocabulary.empty() && !stress.LoadUserVocabulary(vocabulary, &error))
        inv.err << "voxamen lexicon lookup: " << error << "\n";
    else if (!error.empty())
        inv.err << "voxamen lexicon lookup: " << error << "\n";
    for (const std::string& word : opts.Positional()) {
        lexicon::StressLexicon::Source from = lexicon::StressLexicon::Source::None;
        const std::string stressed = stress.Stress(ToLower1251(Utf8ToCp1251(word)), &from);
        inv.out << Cp1251ToUtf8(stressed) << "\t" << SourceName(from) << "\n";
    }
    return kExitOk;
}

}  // namespace vox::cli
