// voxamen lexicon build [--source FILE] [-o FILE]
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <ostream>

#include "lexicon/stress/DictionaryCompiler.h"
#include "lexicon/stress/FestvoxSource.h"
#include "lexicon/stress/ModelEvaluation.h"
#include "lexicon/stress/StressDictionary.h"
#include "lexicon/stress/StressLexicon.h"
#include "tools/voxamen/Command.h"
#include "tools/voxamen/Options.h"

namespace vox::cli {

namespace {

constexpr const char* kUsage =
    "usage: voxamen lexicon build [--source FILE] [-o FILE] [--no-evaluation]\n"
    "  Compiles the stressed word list of festvox-ru into the stress dictionary\n"
    "  that the lexical component maps, with the stress model for unknown words\n"
    "  learned from it, and reports the model's accuracy.\n"
    "  --source FILE     festvox lexicon (default "
    "/usr/share/festival/voices/russian/\n"
    "                    msu_ru_nsh_clunits/dict/msu_ru_nsh_dict.scm)\n"
    "  -o FILE           output (default $VOXAMEN_STRESS_DICTIONARY, else\n"
    "                    ${XDG_DATA_HOME:-~/.local/share}/voxamen/lexicon/ru-stress.vxs)\n"
    "  --no-evaluation   skip the accuracy figures (a few seconds)\n";

// Writes the file whole or not at all: a temporary file renamed over it.
bool WriteFile(const std::string& path, const void* data, size_t size, const std::string& other,
               std::string& error) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path target(path);
    if (target.has_parent_path()) fs::create_directories(target.parent_path(), ec);
    const std::string temporary = path + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
        out.close();
        if (!out) {
            std::remove(temporary.c_str());
            error = temporary + ": cannot be written";
            return false;
        }
    }
    fs::rename(temporary, target, ec);
    if (ec) {
        std::remove(temporary.c_str());
        error = path + ": cannot be written: " + ec.message();
        return false;
    }
    if (!other.empty()) {
        std::ofstream notice(path + ".copyright", std::ios::trunc);
        notice << other;
    }
    return true;
}

void PrintAccuracy(std::ostream& out, const char* what, const lexicon::Accuracy& a) {
    out << "  " << what << std::fixed << std::setprecision(2) << a.Percent() << " % (" << a.right
        << " of " << a.total << ")\n";
}

}  // namespace

int RunLexiconBuild(const Invocation& inv, const std::vector<std::string>& args) {
    Options opts({"source", "o"}, {"no-evaluation"});
    std::string error;
    if (!opts.Parse(args, error)) {
        inv.err << "voxamen lexicon build: " << error << "\n" << kUsage;
        return kExitUsage;
    }
    if (opts.Help()) {
        inv.out << kUsage;
        return kExitOk;
    }
    if (!opts.Positional().empty()) {
        inv.err << "voxamen lexicon build: unexpected argument \"" << opts.Positional()[0] << "\"\n"
                << kUsage;
        return kExitUsage;
    }
    const std::string source = opts.Get("source").value_or(lexicon::kFestvoxLexiconPath);
    const std::string output = opts.Get("o").value_or(lexicon::DefaultDictionaryPath());

    lexicon::SourceLexicon lexicon;
    if (!lexicon::LoadFestvoxLexicon(source, lexicon, error)) {
        inv.err << "voxamen lexicon build: " << error
                << (opts.Get("source") ? "" : " (is the festvox-ru package installed?)") << "\n";
        return kExitFailure;
    }
    for (size_t i = 0; i < lexicon.problems.size() && i < 5; ++i)
        inv.err << "voxamen lexicon build: skipped: " << lexicon.problems[i] << "\n";
    if (lexicon.problems.size() > 5)
        inv.err << "voxamen lexicon build: skipped " << lexicon.problems.size() - 5
                << " more bad entries\n";
    const std::vector<lexicon::LexiconWord> words = lexicon::PrepareWords(lexicon.words);
    if (words.empty()) {
        inv.err << "voxamen lexicon build: " << source << ": no stressed words found\n";
        return kExitFailure;
    }
    size_t homographs = 0;
    for (const auto& w : words) homographs += w.homograph ? 1 : 0;

    const std::string notice = source == lexicon::kFestvoxLexiconPath
                                   ? lexicon::FestvoxNotice()
                                   : "Stress dictionary compiled from " + source + "\n";
    const std::vector<uint8_t> compiled = lexicon::CompileDictionary(words, notice);
    if (!WriteFile(output, compiled.data(), compiled.size(), notice, error)) {
        inv.err << "voxamen lexicon build: " << error << "\n";
        return kExitFailure;
    }
    lexicon::StressDictionary check;
    if (!check.Open(output, &error)) {
        inv.err << "voxamen lexicon build: the written file does not read back: " << error << "\n";
        return kExitFailure;
    }
    inv.out << "read " << lexicon.words.size() << " stressed entries from " << source << " ("
            << lexicon.problems.size() << " bad, " << lexicon.unstressed << " unstressed skipped)\n"
            << "wrote " << output << ": " << words.size() << " words (" << homographs
            << " homographs keep one stress), model of " << check.ModelNodeCount()
            << " ending nodes, " << compiled.size() << " bytes; licence notice in " << output
            << ".copyright\n";
    if (opts.Has("no-evaluation")) return kExitOk;
    const lexicon::ModelReport r = lexicon::EvaluateModel(words, lexicon::ModelSettings{});
    inv.out << "accuracy:\n";
    PrintAccuracy(inv.out, "dictionary, 2,000 random words:             ", r.dictionarySample);
    PrintAccuracy(inv.out, "model, held-out tenth of the words:         ", r.heldOutTenth);
    PrintAccuracy(inv.out, "  of which unseen inflections of known words: ", r.unseenInflections);
    PrintAccuracy(inv.out, "model, held-out tenth of the word families: ", r.heldOutFamilies);
    return kExitOk;
}

}  // namespace vox::cli
